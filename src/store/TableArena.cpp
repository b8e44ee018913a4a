#include "store/TableArena.h"

#include <cstdint>
#include <cstring>

namespace orvo {

void* TableArena::AllocateSlow(size_t size, size_t align) {
    // Oversized requests get a block of their own so the current block
    // keeps serving small ones. Blocks are not zeroed: every byte handed
    // out is written before it is read.
    size_t blockSize = size + align > kBlockSize / 4 ? size + align : kBlockSize;
    blocks_.push_back(std::unique_ptr<char[]>(new char[blockSize]));
    char* block = blocks_.back().get();
    reserved_ += blockSize;
    size_t padding = (align - reinterpret_cast<uintptr_t>(block) % align) % align;
    if (blockSize != kBlockSize)
        return block + padding;
    next_ = block + padding + size;
    left_ = blockSize - padding - size;
    return block + padding;
}

const char* TableArena::CopyString(std::string_view text) {
    char* p = static_cast<char*>(Allocate(text.size() + 1, 1));
    std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\0';
    return p;
}

} // namespace orvo
