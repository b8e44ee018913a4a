#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// Appends the primitive items of an archive to a byte buffer.
class ArchiveWriter {
public:
    void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void F64(double v);
    // Length prefix (one byte; 0xFF + u16; 0xFF FFFF + u32), then the bytes.
    void Text(std::string_view text);
    void Bytes(std::string_view bytes) { out_.append(bytes); }

    const std::string& Data() const { return out_; }
    std::string Take() { return std::move(out_); }
    void Reserve(size_t n) { out_.reserve(n); }

private:
    std::string out_;
};

} // namespace orvo
