#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace orvo {

// Bump allocator for the rows, cells and texts of one table. A loaded
// listing has hundreds of thousands of small pieces; carving them out of a
// few large blocks makes loading several times faster and drops the heap's
// per-block overhead. Nothing is freed before the arena itself goes.
class TableArena {
public:
    TableArena() = default;
    TableArena(const TableArena&) = delete;
    TableArena& operator=(const TableArena&) = delete;

    // size bytes at the given alignment.
    void* Allocate(size_t size, size_t align = 8) {
        size_t padding = (align - reinterpret_cast<uintptr_t>(next_) % align) % align;
        if (next_ && padding + size <= left_) {
            char* p = next_ + padding;
            next_ = p + size;
            left_ -= padding + size;
            return p;
        }
        return AllocateSlow(size, align);
    }
    template <typename T>
    T* Make() {
        return new (Allocate(sizeof(T), alignof(T))) T();
    }
    // A NUL-terminated copy of the text.
    const char* CopyString(std::string_view text);
    size_t BytesReserved() const { return reserved_; }

private:
    void* AllocateSlow(size_t size, size_t align);

    static constexpr size_t kBlockSize = 256 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    size_t left_ = 0;
    size_t reserved_ = 0;
};

} // namespace orvo
