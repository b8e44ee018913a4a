#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace orvo {

// The core's texts are UTF-8 bytes; this is how every window shows one.
inline QString ToQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Paths and names are bytes that need not be UTF-8, and QFile::decodeName
// turns every invalid byte into U+FFFD for good. A path that a window
// hands back to the core goes through this pair instead: each byte that
// does not belong to a valid UTF-8 character becomes a lone low surrogate
// (U+DC80 + byte), which no valid text decodes to, and comes back as that
// byte. The text shows a replacement mark where the byte was, and a name
// the user edits keeps the bytes of the parts left alone.
inline QString PathToQ(std::string_view s) {
    QString out;
    out.reserve(static_cast<qsizetype>(s.size()));
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const size_t n = s.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = p[i];
        size_t len = c < 0x80                 ? 1
                     : c >= 0xC2 && c <= 0xDF ? 2
                     : c >= 0xE0 && c <= 0xEF ? 3
                     : c >= 0xF0 && c <= 0xF4 ? 4
                                              : 0;
        char32_t code = len == 1 ? c : len == 2 ? c & 0x1F : len == 3 ? c & 0x0F : c & 0x07;
        bool valid = len > 0 && i + len <= n;
        for (size_t k = 1; valid && k < len; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and codes beyond U+10FFFF are bytes.
        if (valid && ((len == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
                      (len == 4 && (code < 0x10000 || code > 0x10FFFF))))
            valid = false;
        if (!valid) {
            out.append(QChar(static_cast<char16_t>(0xDC00 + c)));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            out.append(QChar(QChar::highSurrogate(code)));
            out.append(QChar(QChar::lowSurrogate(code)));
        } else {
            out.append(QChar(static_cast<char16_t>(code)));
        }
        i += len;
    }
    return out;
}

inline std::string QToPath(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    qsizetype run = 0; // where the stretch of ordinary text began
    auto flush = [&](qsizetype upTo) {
        const QByteArray utf8 = QStringView(text).mid(run, upTo - run).toUtf8();
        out.append(utf8.constData(), static_cast<size_t>(utf8.size()));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t code = text.at(i).unicode();
        const bool paired = i > 0 && QChar::isHighSurrogate(text.at(i - 1).unicode());
        if (code >= 0xDC80 && code <= 0xDCFF && !paired) {
            flush(i);
            out.push_back(static_cast<char>(code - 0xDC00)); // an escaped byte
            run = i + 1;
        }
    }
    flush(text.size());
    return out;
}

} // namespace orvo
