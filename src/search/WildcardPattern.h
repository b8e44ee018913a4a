#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo {

// A wildcard pattern read once and matched many times: "*" any run of
// characters, "?" one character, "[...]" one character of a set of
// characters and ranges ("[a-c0-9]"). There is no escape and no negated
// set; a set whose range ends at "]" or at the end of the pattern never
// matches, and a "[" without its "]" takes the rest of the pattern as its
// set.
//
// Matching answers exactly what the backtracking rule (each "*" tries the
// shortest run first, then longer ones) would answer, but in time
// proportional to text length times pattern length however many stars the
// pattern holds: since every other element takes exactly one character,
// only the latest star ever needs to grow.
class WildcardPattern {
public:
    WildcardPattern() = default;
    WildcardPattern(std::string_view pattern, bool caseSensitive);

    // Whether the whole text matches. When the pattern ends on "*", endOut
    // receives the byte offset in text where that last "*" began to match.
    bool Match(std::string_view text, size_t* endOut = nullptr) const;

    bool CaseSensitive() const { return caseSensitive_; }
    bool Utf8() const { return utf8_; }

    // The pattern as runs of one-character elements between stars, for the
    // text search, which places the runs one after the other.
    struct Run {
        size_t first = 0; // element indexes [first, last)
        size_t last = 0;
        std::string literal; // the bytes of the leading literal elements
    };
    const std::vector<Run>& Runs() const { return runs_; }
    bool StartsWithStar() const { return startsWithStar_; }
    bool EndsWithStar() const { return endsWithStar_; }
    // Matches the elements of a run at p (not beyond end); returns where
    // the run ends, or nullptr.
    const char* MatchRunAt(const Run& run, const char* p, const char* end) const;
    // The most bytes a run can take (for the overlap of chunked reading).
    size_t MaxRunBytes() const;

private:
    enum class Kind : uint8_t { Char, Any, Set, Star };
    struct Element {
        Kind kind;
        uint32_t code; // Char: the character (folded without case); Set: its index
    };
    struct CharSet {
        std::vector<uint32_t> members;
        std::vector<std::pair<uint32_t, uint32_t>> ranges;
        bool broken = false;  // a range ending at "]" or at the end
        std::bitset<256> low; // the answers for codes below 256
        bool Contains(uint32_t code, bool caseSensitive, bool utf8) const;
        bool Test(uint32_t code, bool caseSensitive, bool utf8) const;
    };

    bool ElementMatches(const Element& e, uint32_t code) const;
    void BuildRuns();

    std::vector<Element> elements_;
    std::vector<CharSet> sets_;
    std::vector<Run> runs_;
    bool caseSensitive_ = false;
    bool utf8_ = true;
    bool startsWithStar_ = false;
    bool endsWithStar_ = false;
};

// The matcher on a pattern text, for one-off calls.
bool MatchWildcard(std::string_view text, std::string_view pattern, bool caseSensitive,
                   size_t* endOut = nullptr);

} // namespace orvo
