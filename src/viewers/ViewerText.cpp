#include "viewers/ViewerText.h"

#include "platform/DisplayText.h"
#include "search/TextCase.h"
#include "search/TextFinding.h"

#include <cstdlib>

namespace orvo {

namespace {

// The length of the well-formed UTF-8 sequence at p (no overlong forms,
// no surrogates, nothing above U+10FFFF), 0 when there is none.
size_t Utf8SequenceAt(const unsigned char* p, size_t left) {
    const unsigned char c = p[0];
    auto cont = [&](size_t i) { return i < left && (p[i] & 0xc0) == 0x80; };
    if (c < 0x80)
        return 1;
    if (c >= 0xc2 && c <= 0xdf)
        return cont(1) ? 2 : 0;
    if (c >= 0xe0 && c <= 0xef) {
        if (!cont(1) || !cont(2))
            return 0;
        if ((c == 0xe0 && p[1] < 0xa0) || (c == 0xed && p[1] >= 0xa0))
            return 0;
        return 3;
    }
    if (c >= 0xf0 && c <= 0xf4) {
        if (!cont(1) || !cont(2) || !cont(3))
            return 0;
        if ((c == 0xf0 && p[1] < 0x90) || (c == 0xf4 && p[1] >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

void AppendLatin1(std::string& out, unsigned char c) {
    out += static_cast<char>(0xc0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3f));
}

// Lower case character by character; every character keeps its length, so
// offsets in the folded text are offsets in the original.
std::string FoldUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const DecodedChar d = DecodeChar(text.data() + i, text.size() - i, true);
        char buffer[6];
        const size_t n = EncodeChar(FoldChar(d.code, true), true, buffer);
        if (n == d.length)
            out.append(buffer, n);
        else
            out.append(text.substr(i, d.length));
        i += d.length;
    }
    return out;
}

// Letters of other scripts are words too: any byte of a multibyte
// character counts.
bool IsWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || u == '_' || (u >= '0' && u <= '9') ||
           ((u | 0x20) >= 'a' && (u | 0x20) <= 'z');
}

} // namespace

ViewerText DecodeViewerText(std::string_view bytes) {
    ViewerText result;
    std::string clean;
    clean.reserve(bytes.size());
    for (char c : bytes)
        if (c != 0)
            clean += c;
    result.binary = clean.size() != bytes.size();
    result.text.reserve(clean.size());
    size_t crlf = 0, lf = 0, cr = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(clean.data());
    const size_t n = clean.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c == '\r') {
            const bool pair = i + 1 < n && p[i + 1] == '\n';
            ++(pair ? crlf : cr);
            i += pair ? 2 : 1;
            result.text += '\n';
            continue;
        }
        if (c == '\n')
            ++lf;
        const size_t length = Utf8SequenceAt(p + i, n - i);
        if (length == 0) {
            result.latin1Bytes = true;
            AppendLatin1(result.text, c);
            ++i;
            continue;
        }
        result.text.append(clean, i, length);
        i += length;
    }
    if (crlf > lf && crlf >= cr)
        result.lineBreak = LineBreak::CrLf;
    else if (cr > lf && cr > crlf)
        result.lineBreak = LineBreak::Cr;
    return result;
}

std::string EncodeViewerText(std::string_view shown, LineBreak lineBreak) {
    if (lineBreak == LineBreak::Lf)
        return std::string(shown);
    std::string out;
    out.reserve(shown.size() + shown.size() / 16);
    for (char c : shown) {
        if (c != '\n')
            out += c;
        else if (lineBreak == LineBreak::CrLf)
            out += "\r\n";
        else
            out += '\r';
    }
    return out;
}

std::string TextStatusLine(int lines, uint64_t chars, int line, int column) {
    return std::to_string(lines) + " lines." + NumberText(chars) + " chars. <Ln " +
           std::to_string(line) + ", Col " + std::to_string(column) + ">";
}

std::string SaveQuestion(std::string_view fileName) {
    return "Are you sure you want to save " + std::string(fileName) + " ?";
}

TextMatch FindInViewerText(std::string_view text, size_t from, std::string_view what,
                           bool matchCase, bool wildcard, bool wholeWords) {
    TextMatch match;
    if (what.empty() || from > text.size())
        return match;
    const std::string_view rest = text.substr(from);
    if (wildcard) {
        size_t end = 0;
        const int64_t start = FindWildcardInText(rest, what, matchCase, &end);
        if (start < 0)
            return match;
        match.start = from + static_cast<size_t>(start);
        match.end = from + end;
        match.found = true;
        return match;
    }
    const std::string folded = matchCase ? std::string() : FoldUtf8(rest);
    const std::string needle = matchCase ? std::string(what) : FoldUtf8(what);
    const std::string_view haystack = matchCase ? rest : std::string_view(folded);
    size_t at = haystack.find(needle);
    while (wholeWords && at != std::string_view::npos &&
           ((from + at > 0 && IsWordByte(text[from + at - 1])) ||
            (from + at + what.size() < text.size() && IsWordByte(text[from + at + what.size()]))))
        at = haystack.find(needle, at + 1);
    if (at == std::string_view::npos)
        return match;
    match.start = from + at;
    match.end = match.start + what.size();
    match.found = true;
    return match;
}

int ReadLineNumber(std::string_view typed) {
    const std::string copy(typed);
    const long value = std::strtol(copy.c_str(), nullptr, 10);
    if (value > 1000000000L)
        return 1000000000;
    if (value < -1000000000L)
        return -1000000000;
    return static_cast<int>(value);
}

std::string& LastSearchedText() {
    static std::string text;
    return text;
}

} // namespace orvo
