#include "viewers/ViewerText.h"

#include "platform/DisplayText.h"
#include "search/TextCase.h"
#include "search/TextFinding.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

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

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xe0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

// Windows-1252's characters for the bytes 0x80..0x9F; the five bytes it
// leaves unused keep the code of the same number, so every byte reads and
// writes back as itself.
constexpr uint16_t kCp1252High[32] = {
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178};

uint32_t Cp1252ToCode(unsigned char c) {
    return c >= 0x80 && c < 0xa0 ? kCp1252High[c - 0x80] : c;
}

// The Windows-1252 byte of a character, or -1 when it has none.
int CodeToCp1252(uint32_t code) {
    if (code < 0x80 || (code >= 0xa0 && code <= 0xff))
        return static_cast<int>(code);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == code)
            return 0x80 + i;
    return -1;
}

uint64_t LinePrint(std::string_view line) {
    uint64_t h = 14695981039346656037ull;
    for (char c : line) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

const char* BreakBytes(LineBreak b) {
    return b == LineBreak::CrLf ? "\r\n" : b == LineBreak::Cr ? "\r" : "\n";
}

// For each new line, the line of the file it is taken to be (-1: none).
// Lines equal at the start and at the end pair up; between them lines pair
// by position when as many remain on both sides (lines edited in place),
// otherwise each new line with the next equal line of the file, and the
// lines left between two pairs by position as far as both sides have some
// (a line edited and then one added after it).
std::vector<long> MatchLines(const std::vector<uint64_t>& now, const std::vector<uint64_t>& was) {
    std::vector<long> match(now.size(), -1);
    const size_t m = now.size(), n = was.size();
    size_t p = 0;
    while (p < m && p < n && now[p] == was[p]) {
        match[p] = static_cast<long>(p);
        ++p;
    }
    size_t s = 0;
    while (s < m - p && s < n - p && now[m - 1 - s] == was[n - 1 - s]) {
        match[m - 1 - s] = static_cast<long>(n - 1 - s);
        ++s;
    }
    const size_t newEnd = m - s, oldEnd = n - s;
    if (newEnd - p == oldEnd - p) {
        for (size_t j = p; j < newEnd; ++j)
            match[j] = static_cast<long>(j);
        return match;
    }
    std::unordered_map<uint64_t, std::vector<size_t>> places;
    for (size_t i = p; i < oldEnd; ++i)
        places[was[i]].push_back(i);
    size_t cursor = p;
    for (size_t j = p; j < newEnd; ++j) {
        auto found = places.find(now[j]);
        if (found == places.end())
            continue;
        auto at = std::lower_bound(found->second.begin(), found->second.end(), cursor);
        if (at == found->second.end())
            continue;
        match[j] = static_cast<long>(*at);
        cursor = *at + 1;
    }
    std::vector<size_t> bound(m, oldEnd);
    for (size_t j = newEnd; j-- > p;)
        bound[j] = j + 1 < newEnd ? (match[j + 1] >= 0 ? static_cast<size_t>(match[j + 1])
                                                       : bound[j + 1])
                                  : oldEnd;
    size_t nextOld = p;
    for (size_t j = p; j < newEnd; ++j) {
        if (match[j] >= 0)
            nextOld = static_cast<size_t>(match[j]) + 1;
        else if (nextOld < bound[j])
            match[j] = static_cast<long>(nextOld++);
    }
    return match;
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
    const auto* p = reinterpret_cast<const unsigned char*>(clean.data());
    const size_t n = clean.size();
    // 8-bit text often holds pairs that happen to be UTF-8 ("\xdf\x94" is
    // a sharp s and a closing quote); UTF-8 text seldom holds more stray
    // bytes than characters. The majority decides.
    size_t multibyte = 0, stray = 0;
    for (size_t i = 0; i < n;) {
        const size_t length = Utf8SequenceAt(p + i, n - i);
        if (length == 0)
            ++stray;
        else if (length > 1)
            ++multibyte;
        i += std::max<size_t>(length, 1);
    }
    result.latin1Bytes = stray > 0;
    if (result.latin1Bytes)
        result.encoding = stray >= multibyte ? TextEncoding::Windows1252
                                             : TextEncoding::Utf8WithStrayBytes;

    result.text.reserve(clean.size() + clean.size() / 8);
    size_t crlf = 0, lf = 0, cr = 0;
    size_t lineStart = 0;
    auto endLine = [&](LineBreak b) {
        result.breaks.push_back(b);
        result.linePrints.push_back(
            LinePrint(std::string_view(result.text).substr(lineStart)));
        result.text += '\n';
        lineStart = result.text.size();
    };
    size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c == '\r') {
            const bool pair = i + 1 < n && p[i + 1] == '\n';
            ++(pair ? crlf : cr);
            i += pair ? 2 : 1;
            endLine(pair ? LineBreak::CrLf : LineBreak::Cr);
            continue;
        }
        if (c == '\n') {
            ++lf;
            ++i;
            endLine(LineBreak::Lf);
            continue;
        }
        if (result.encoding == TextEncoding::Windows1252) {
            AppendUtf8(result.text, Cp1252ToCode(c));
            ++i;
            continue;
        }
        const size_t length = Utf8SequenceAt(p + i, n - i);
        if (length == 0) {
            AppendLatin1(result.text, c);
            ++i;
            continue;
        }
        result.text.append(clean, i, length);
        i += length;
    }
    result.linePrints.push_back(LinePrint(std::string_view(result.text).substr(lineStart)));
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

EncodedText EncodeViewerText(std::string_view shown, const ViewerText& file) {
    const std::vector<std::string_view> lines = SplitLines(shown);
    std::vector<uint64_t> prints;
    prints.reserve(lines.size());
    for (std::string_view line : lines)
        prints.push_back(LinePrint(line));
    const std::vector<long> match = file.linePrints.size() == file.breaks.size() + 1
                                        ? MatchLines(prints, file.linePrints)
                                        : std::vector<long>(lines.size(), -1);
    std::string text;
    text.reserve(shown.size() + shown.size() / 16);
    LineBreak previous = file.lineBreak;
    for (size_t j = 0; j < lines.size(); ++j) {
        text += lines[j];
        if (j + 1 == lines.size())
            break;
        // A line the file did not have (or its last, which had no break)
        // follows the line above it.
        const long was = match[j];
        const LineBreak b = was >= 0 && static_cast<size_t>(was) < file.breaks.size()
                                ? file.breaks[static_cast<size_t>(was)]
                                : previous;
        text += BreakBytes(b);
        previous = b;
    }

    EncodedText result;
    if (file.encoding == TextEncoding::Utf8WithStrayBytes) {
        result.encodingKept = false;
    } else if (file.encoding == TextEncoding::Windows1252) {
        std::string narrow;
        narrow.reserve(text.size());
        for (size_t i = 0; i < text.size();) {
            const DecodedChar d = DecodeChar(text.data() + i, text.size() - i, true);
            const int byte = CodeToCp1252(d.code);
            if (byte < 0) {
                result.encodingKept = false;
                break;
            }
            narrow += static_cast<char>(byte);
            i += std::max<size_t>(d.length, 1);
        }
        if (result.encodingKept) {
            result.bytes = std::move(narrow);
            return result;
        }
    }
    result.bytes = std::move(text);
    return result;
}

std::string TextStatusLine(int lines, uint64_t chars, int line, int column) {
    return std::to_string(lines) + " lines." + NumberText(chars) + " chars. <Ln " +
           std::to_string(line) + ", Col " + std::to_string(column) + ">";
}

std::string SaveQuestion(std::string_view fileName) {
    return "Are you sure you want to save " + std::string(fileName) + " ?";
}

std::string EncodingQuestion(std::string_view fileName, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252)
        return "Some characters of " + std::string(fileName) +
               " cannot be written in its Windows-1252 encoding. Save it as UTF-8 ?";
    return std::string(fileName) +
           " holds bytes that are not UTF-8; they would be saved as the characters shown. Save "
           "it as UTF-8 ?";
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
