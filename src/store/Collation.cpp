#include "store/Collation.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace orvo {

namespace {

// Decodes a multibyte string into wide characters. A byte that is not valid
// in the locale's encoding becomes a character of the last private-use
// plane, so every string converts and the order stays a total order
// (std::sort must never see an inconsistent comparison).
void Widen(std::string_view text, std::wstring& out, bool fold) {
    out.clear();
    out.reserve(text.size());
    std::mbstate_t state{};
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        wchar_t wc;
        size_t n = std::mbrtowc(&wc, p, left, &state);
        if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2)) {
            state = std::mbstate_t{};
            out.push_back(static_cast<wchar_t>(0x10FF00 + static_cast<unsigned char>(*p)));
            ++p;
            --left;
            continue;
        }
        if (n == 0) // an embedded NUL ends the string, as in C
            break;
        out.push_back(fold ? static_cast<wchar_t>(std::towlower(static_cast<wint_t>(wc))) : wc);
        p += n;
        left -= n;
    }
}

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

} // namespace

int CollateStrings(std::string_view a, std::string_view b, bool caseSensitive) {
    thread_local std::wstring wa, wb;
    Widen(a, wa, !caseSensitive);
    Widen(b, wb, !caseSensitive);
    return Sign(std::wcscoll(wa.c_str(), wb.c_str()));
}

std::wstring CollationKey(std::string_view text, bool caseSensitive) {
    std::wstring wide;
    Widen(text, wide, !caseSensitive);
    std::wstring key(wide.size() * 4 + 16, L'\0');
    size_t n = std::wcsxfrm(key.data(), wide.c_str(), key.size());
    if (n >= key.size()) {
        key.resize(n + 1);
        n = std::wcsxfrm(key.data(), wide.c_str(), key.size());
    }
    key.resize(n);
    return key;
}

std::string LowerCaseText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::mbstate_t state{};
    const char* p = text.data();
    size_t left = text.size();
    char buffer[MB_LEN_MAX];
    while (left > 0) {
        wchar_t wc;
        size_t n = std::mbrtowc(&wc, p, left, &state);
        if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2)) {
            state = std::mbstate_t{};
            out.push_back(*p);
            ++p;
            --left;
            continue;
        }
        if (n == 0) {
            out.push_back('\0');
            n = 1;
        } else {
            std::mbstate_t outState{};
            size_t m = std::wcrtomb(buffer, static_cast<wchar_t>(std::towlower(static_cast<wint_t>(wc))), &outState);
            if (m == static_cast<size_t>(-1))
                out.append(p, n);
            else
                out.append(buffer, m);
        }
        p += n;
        left -= n;
    }
    return out;
}

} // namespace orvo
