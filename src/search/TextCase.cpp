#include "search/TextCase.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <langinfo.h>

namespace orvo {

namespace {

inline bool Continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

DecodedChar DecodeUtf8(const unsigned char* p, size_t left) {
    const unsigned char b = p[0];
    const DecodedChar stray{kStrayByteBase + b, 1};
    if (b < 0x80)
        return {b, 1};
    size_t need;
    uint32_t code;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        need = 2;
        code = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        need = 3;
        code = b & 0x0F;
        if (b == 0xE0)
            lo = 0xA0; // no overlong forms
        else if (b == 0xED)
            hi = 0x9F; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        need = 4;
        code = b & 0x07;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F; // nothing above U+10FFFF
    } else {
        return stray;
    }
    if (left < need || p[1] < lo || p[1] > hi)
        return stray;
    for (size_t i = 1; i < need; ++i) {
        if (!Continuation(p[i]))
            return stray;
        code = (code << 6) | (p[i] & 0x3F);
    }
    return {code, static_cast<uint32_t>(need)};
}

size_t Utf8Length(uint32_t code) {
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

size_t EncodedLength(uint32_t code, bool utf8) {
    if (utf8)
        return Utf8Length(code);
    char buffer[8];
    return EncodeChar(code, false, buffer);
}

} // namespace

bool LocaleIsUtf8() {
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

DecodedChar DecodeMultibyteChar(const char* p, size_t left, bool utf8) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    if (u[0] < 0x80)
        return {u[0], 1};
    if (utf8)
        return DecodeUtf8(u, left);
    std::mbstate_t state{};
    wchar_t wc;
    size_t n = std::mbrtowc(&wc, p, left, &state);
    if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2) || n == 0)
        return {kStrayByteBase + u[0], 1};
    return {static_cast<uint32_t>(wc), static_cast<uint32_t>(n)};
}

uint32_t FoldWideChar(uint32_t code, bool utf8) {
    if (code < 0x80)
        return code - 'A' < 26u ? code + 32 : code;
    if (code >= kStrayByteBase)
        return code;
    auto lower = static_cast<uint32_t>(std::towlower(static_cast<wint_t>(code)));
    if (lower == code || EncodedLength(lower, utf8) != EncodedLength(code, utf8))
        return code;
    return lower;
}

size_t EncodeChar(uint32_t code, bool utf8, char out[6]) {
    if (code >= kStrayByteBase) {
        out[0] = static_cast<char>(code - kStrayByteBase);
        return 1;
    }
    if (!utf8 && code >= 0x80) {
        std::mbstate_t state{};
        char buffer[MB_LEN_MAX];
        size_t n = std::wcrtomb(buffer, static_cast<wchar_t>(code), &state);
        if (n == static_cast<size_t>(-1) || n > 6) {
            out[0] = '?';
            return 1;
        }
        std::memcpy(out, buffer, n);
        return n;
    }
    if (code < 0x80) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    size_t n = Utf8Length(code);
    for (size_t i = n - 1; i > 0; --i) {
        out[i] = static_cast<char>(0x80 | (code & 0x3F));
        code >>= 6;
    }
    static constexpr unsigned char kLead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    out[0] = static_cast<char>(kLead[n] | code);
    return n;
}

void FoldTextInPlace(char* p, size_t n) {
    const bool utf8 = LocaleIsUtf8();
    size_t i = 0;
    while (i < n) {
        // Blocks of ASCII are the bulk of most files: folded without a
        // branch per byte, which the compiler turns into vector code.
        constexpr size_t kBlock = 32;
        while (i + kBlock <= n) {
            auto* q = reinterpret_cast<unsigned char*>(p + i);
            unsigned char high = 0;
            for (size_t k = 0; k < kBlock; ++k)
                high |= q[k];
            if (high & 0x80)
                break;
            for (size_t k = 0; k < kBlock; ++k)
                q[k] = static_cast<unsigned char>(
                    q[k] + (static_cast<unsigned char>(q[k] - 'A') < 26 ? 32 : 0));
            i += kBlock;
        }
        // Runs of ASCII are the bulk of most files: fold them with no calls.
        while (i < n && static_cast<unsigned char>(p[i]) < 0x80) {
            unsigned char c = static_cast<unsigned char>(p[i]);
            p[i] = static_cast<char>(c + (static_cast<unsigned>(c - 'A') < 26u ? 32 : 0));
            ++i;
        }
        if (i >= n)
            break;
        DecodedChar d = DecodeChar(p + i, n - i, utf8);
        uint32_t folded = FoldChar(d.code, utf8);
        if (folded != d.code) {
            char bytes[6];
            EncodeChar(folded, utf8, bytes);
            std::memcpy(p + i, bytes, d.length);
        }
        i += d.length;
    }
}

std::string FoldText(std::string_view text) {
    std::string out(text);
    FoldTextInPlace(out.data(), out.size());
    return out;
}

size_t CharStartBefore(std::string_view text, size_t i) {
    while (i > 0 && i < text.size() && Continuation(static_cast<unsigned char>(text[i])))
        --i;
    return i;
}

} // namespace orvo
