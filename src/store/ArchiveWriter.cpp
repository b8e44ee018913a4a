#include "store/ArchiveWriter.h"

#include <cstring>

namespace orvo {

void ArchiveWriter::U16(uint16_t v) {
    out_.push_back(static_cast<char>(v & 0xFF));
    out_.push_back(static_cast<char>(v >> 8));
}

void ArchiveWriter::U32(uint32_t v) {
    char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                 static_cast<char>(v >> 24)};
    out_.append(b, 4);
}

void ArchiveWriter::F64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    char b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>(bits >> (8 * i));
    out_.append(b, 8);
}

void ArchiveWriter::Text(std::string_view text) {
    size_t n = text.size();
    if (n < 255) {
        U8(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        U8(0xFF);
        U16(static_cast<uint16_t>(n));
    } else {
        U8(0xFF);
        U16(0xFFFF);
        U32(static_cast<uint32_t>(n));
    }
    out_.append(text);
}

} // namespace orvo
