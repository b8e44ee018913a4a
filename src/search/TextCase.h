#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// Characters as the matchers see them. A text is read in the locale's
// multibyte encoding (UTF-8 on any current system); a byte that does not
// start a valid character is a character of its own, coded 0x10FF00 + the
// byte, so every text reads through to its end.
inline constexpr uint32_t kStrayByteBase = 0x10FF00;

struct DecodedChar {
    uint32_t code = 0;
    uint32_t length = 1; // bytes, at least 1
};

// Whether the locale's encoding is UTF-8 (decoded here without the C
// library's per-character calls). Read once per pattern or buffer.
bool LocaleIsUtf8();

DecodedChar DecodeMultibyteChar(const char* p, size_t left, bool utf8);
// ASCII, the bulk of names and texts, is decoded without a call.
inline DecodedChar DecodeChar(const char* p, size_t left, bool utf8) {
    const auto c = static_cast<unsigned char>(*p);
    return c < 0x80 ? DecodedChar{c, 1} : DecodeMultibyteChar(p, left, utf8);
}

// The lower case of a character when that takes the same number of bytes
// (nearly always); otherwise the character itself. Keeping the length is
// what lets a lower-cased buffer keep the offsets of the file it came from.
uint32_t FoldWideChar(uint32_t code, bool utf8);
inline uint32_t FoldChar(uint32_t code, bool utf8) {
    if (code < 0x80)
        return code - 'A' < 26u ? code + 32 : code;
    return FoldWideChar(code, utf8);
}

// The bytes of a character (a stray byte comes back as itself); returns
// the number written, at most 6.
size_t EncodeChar(uint32_t code, bool utf8, char out[6]);

// Folds a buffer in place, character by character, with FoldChar.
void FoldTextInPlace(char* p, size_t n);
std::string FoldText(std::string_view text);

// Start of the character that holds byte offset i of a UTF-8 text.
size_t CharStartBefore(std::string_view text, size_t i);

} // namespace orvo
