#include "search/TextFinding.h"

#include "search/TextCase.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace orvo {

namespace {

// Where finds may begin inside a window, as indexes into its data.
struct Span {
    size_t from;
    size_t below;
};

Span FindSpan(const TextWindow& w, uint64_t from) {
    uint64_t below = std::min<uint64_t>(w.findsBelow, w.start + w.size);
    if (w.last)
        below = w.start + w.size;
    size_t f = from > w.start ? static_cast<size_t>(from - w.start) : 0;
    return {f, below > w.start ? static_cast<size_t>(below - w.start) : 0};
}

// Walks the windows from `from` on, asking `inWindow` for a find in each.
template <typename Finder>
int64_t AcrossWindows(WindowedText& text, uint64_t from, size_t overlap, Finder inWindow) {
    for (;;) {
        TextWindow w = text.WindowAt(from, overlap);
        Span span = FindSpan(w, from);
        if (span.from <= span.below) {
            int64_t found = inWindow(w, span);
            if (found >= 0)
                return found;
        }
        if (w.last || w.findsBelow <= from)
            return -1;
        from = w.findsBelow;
    }
}

int64_t FindRun(WindowedText& text, const WildcardPattern& pattern, const WildcardPattern::Run& run,
                uint64_t from, bool byteSteps, bool useLiteral, uint64_t* end) {
    return AcrossWindows(
        text, from, pattern.MaxRunBytes(), [&](const TextWindow& w, Span span) -> int64_t {
            const char* data = w.data;
            const char* dataEnd = data + w.size;
            const bool jump = useLiteral && !run.literal.empty();
            size_t p = span.from;
            while (p < span.below) {
                if (jump) {
                    // Jump to the next place the run's leading characters occur.
                    const void* q =
                        ::memmem(data + p, w.size - p, run.literal.data(), run.literal.size());
                    if (!q)
                        return -1;
                    p = static_cast<size_t>(static_cast<const char*>(q) - data);
                    if (p >= span.below)
                        break;
                }
                if (const char* after = pattern.MatchRunAt(run, data + p, dataEnd)) {
                    *end = w.start + static_cast<uint64_t>(after - data);
                    return static_cast<int64_t>(w.start + p);
                }
                p +=
                    byteSteps || jump ? 1 : DecodeChar(data + p, w.size - p, pattern.Utf8()).length;
            }
            return -1;
        });
}

// A run that must end where the text ends: tried only in the last window,
// at the starts from which it can still reach the end.
int64_t FindRunAtEnd(WindowedText& text, const WildcardPattern& pattern,
                     const WildcardPattern::Run& run, uint64_t from, bool byteSteps,
                     uint64_t* end) {
    const size_t reach = pattern.MaxRunBytes();
    return AcrossWindows(text, from, reach, [&](const TextWindow& w, Span span) -> int64_t {
        if (!w.last)
            return -1;
        const char* dataEnd = w.data + w.size;
        size_t p = std::max(span.from, w.size > reach ? w.size - reach : size_t{0});
        for (; p < w.size;
             p += byteSteps ? 1 : DecodeChar(w.data + p, w.size - p, pattern.Utf8()).length)
            if (pattern.MatchRunAt(run, w.data + p, dataEnd) == dataEnd) {
                *end = w.start + w.size;
                return static_cast<int64_t>(w.start + p);
            }
        return -1;
    });
}

} // namespace

TextWindow WholeText::WindowAt(uint64_t, size_t) {
    return {text_.data(), 0, text_.size(), text_.size(), true};
}

int64_t FindBytes(WindowedText& text, std::string_view needle, uint64_t from, uint64_t* end) {
    return AcrossWindows(text, from, needle.size(), [&](const TextWindow& w, Span span) -> int64_t {
        const void* q =
            ::memmem(w.data + span.from, w.size - span.from, needle.data(), needle.size());
        if (!q)
            return -1;
        size_t p = static_cast<size_t>(static_cast<const char*>(q) - w.data);
        if (p >= span.below && !(needle.empty() && p == span.below))
            return -1;
        *end = w.start + p + needle.size();
        return static_cast<int64_t>(w.start + p);
    });
}

int64_t FindPatternFrom(WindowedText& text, const WildcardPattern& pattern, uint64_t from,
                        uint64_t* end, bool textFolded) {
    const bool useLiteral = pattern.CaseSensitive() || textFolded;
    const auto& runs = pattern.Runs();
    // Only a "[" left open can swallow the final star; then the last run
    // is tied to the end of the text.
    const size_t floating = pattern.EndsWithStar() || runs.empty() ? runs.size() : runs.size() - 1;
    uint64_t pos = from;
    int64_t start = static_cast<int64_t>(from);
    size_t i = 0;
    const bool firstTied = !runs.empty() && !pattern.StartsWithStar();
    if (firstTied && floating > 0) {
        // The first run is tied to the offset being tried: any byte offset.
        start = FindRun(text, pattern, runs[0], pos, true, useLiteral, &pos);
        if (start < 0)
            return -1;
        i = 1;
    }
    for (; i < floating; ++i)
        if (FindRun(text, pattern, runs[i], pos, false, useLiteral, &pos) < 0)
            return -1;
    if (floating < runs.size()) {
        int64_t last =
            FindRunAtEnd(text, pattern, runs.back(), pos, firstTied && floating == 0, &pos);
        if (last < 0)
            return -1;
        if (firstTied && floating == 0)
            start = last;
    }
    *end = pos;
    return start;
}

int64_t FindWildcardInText(std::string_view text, std::string_view pattern, bool caseSensitive,
                           size_t* endOut) {
    std::string full(pattern);
    if (full.empty() || full.back() != '*')
        full.push_back('*');
    WildcardPattern compiled(full, caseSensitive);
    WholeText whole(text);
    uint64_t end = 0;
    int64_t start = FindPatternFrom(whole, compiled, 0, &end, false);
    if (start >= 0 && endOut)
        *endOut = static_cast<size_t>(end);
    return start;
}

} // namespace orvo
