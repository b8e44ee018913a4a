#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvo {

// The variable-width LZW of GIF image data (codes up to 12 bits, packed
// least significant bit first).
class GifLzw {
public:
    // Decodes codes into at most capacity pixel indexes and returns how many
    // were produced; stops at the end code or the end of the data. Throws
    // ImageFormatError for a code that is not in the table yet.
    static size_t Decode(const uint8_t* data, size_t size, int minCodeSize, uint8_t* out,
                         size_t capacity);
    // Encodes pixel indexes (each below 2^minCodeSize) with a clear code at
    // the start and whenever the table fills; the bytes are not yet split
    // into sub-blocks.
    static std::string Encode(const uint8_t* pixels, size_t count, int minCodeSize);
};

} // namespace orvo
