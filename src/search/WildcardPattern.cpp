#include "search/WildcardPattern.h"

#include "search/TextCase.h"

#include <algorithm>
#include <cwchar>

namespace orvo {

namespace {

// The order of single characters in the locale, case already folded.
int CollateChars(uint32_t a, uint32_t b) {
    if (a >= kStrayByteBase || b >= kStrayByteBase)
        return a < b ? -1 : (a > b ? 1 : 0);
    const wchar_t x[2] = {static_cast<wchar_t>(a), 0};
    const wchar_t y[2] = {static_cast<wchar_t>(b), 0};
    return std::wcscoll(x, y);
}

} // namespace

bool WildcardPattern::CharSet::Test(uint32_t code, bool caseSensitive, bool utf8) const {
    if (broken)
        return false;
    if (caseSensitive) {
        for (uint32_t m : members)
            if (m == code)
                return true;
        for (const auto& [lo, hi] : ranges)
            if (lo <= code && code <= hi)
                return true;
        return false;
    }
    // Without case, members and range ends compare by the locale's order
    // of single characters first and by character code second.
    const uint32_t folded = FoldChar(code, utf8);
    for (uint32_t m : members)
        if (m == code || FoldChar(m, utf8) == folded)
            return true;
    for (const auto& [lo, hi] : ranges) {
        if (lo <= code && code <= hi)
            return true;
        if (CollateChars(FoldChar(lo, utf8), folded) <= 0 &&
            CollateChars(folded, FoldChar(hi, utf8)) <= 0)
            return true;
    }
    return false;
}

bool WildcardPattern::CharSet::Contains(uint32_t code, bool caseSensitive, bool utf8) const {
    return code < 256 ? low[code] : Test(code, caseSensitive, utf8);
}

WildcardPattern::WildcardPattern(std::string_view pattern, bool caseSensitive)
    : caseSensitive_(caseSensitive), utf8_(LocaleIsUtf8()) {
    const char* p = pattern.data();
    const char* end = p + pattern.size();
    auto next = [&]() {
        DecodedChar d = DecodeChar(p, static_cast<size_t>(end - p), utf8_);
        p += d.length;
        return d.code;
    };
    while (p < end) {
        uint32_t c = next();
        if (c == '*') {
            elements_.push_back({Kind::Star, 0});
        } else if (c == '?') {
            elements_.push_back({Kind::Any, 0});
        } else if (c == '[') {
            CharSet set;
            while (p < end) {
                uint32_t m = next();
                if (m == ']')
                    break;
                if (p < end && *p == '-') {
                    ++p;
                    if (p >= end || *p == ']') {
                        set.broken = true;
                        continue;
                    }
                    set.ranges.emplace_back(m, next());
                } else {
                    set.members.push_back(m);
                }
            }
            for (uint32_t code = 0; code < 256; ++code)
                set.low[code] = set.Test(code, caseSensitive_, utf8_);
            elements_.push_back({Kind::Set, static_cast<uint32_t>(sets_.size())});
            sets_.push_back(std::move(set));
        } else {
            elements_.push_back({Kind::Char, caseSensitive_ ? c : FoldChar(c, utf8_)});
        }
    }
    BuildRuns();
}

void WildcardPattern::BuildRuns() {
    startsWithStar_ = !elements_.empty() && elements_.front().kind == Kind::Star;
    endsWithStar_ = !elements_.empty() && elements_.back().kind == Kind::Star;
    size_t i = 0;
    while (i < elements_.size()) {
        if (elements_[i].kind == Kind::Star) {
            ++i;
            continue;
        }
        Run run;
        run.first = i;
        while (i < elements_.size() && elements_[i].kind != Kind::Star)
            ++i;
        run.last = i;
        char bytes[6];
        for (size_t k = run.first; k < run.last && elements_[k].kind == Kind::Char; ++k)
            run.literal.append(bytes, EncodeChar(elements_[k].code, utf8_, bytes));
        runs_.push_back(std::move(run));
    }
}

bool WildcardPattern::ElementMatches(const Element& e, uint32_t code) const {
    switch (e.kind) {
    case Kind::Char:
        return (caseSensitive_ ? code : FoldChar(code, utf8_)) == e.code;
    case Kind::Any:
        return true;
    case Kind::Set:
        return sets_[e.code].Contains(code, caseSensitive_, utf8_);
    case Kind::Star:
        break;
    }
    return false;
}

bool WildcardPattern::Match(std::string_view text, size_t* endOut) const {
    const size_t n = elements_.size();
    const char* base = text.data();
    const size_t size = text.size();
    size_t t = 0, p = 0;
    size_t starP = SIZE_MAX, starT = 0;
    for (;;) {
        if (p < n && elements_[p].kind == Kind::Star) {
            while (p < n && elements_[p].kind == Kind::Star)
                ++p;
            if (p == n) {
                // A final star takes whatever is left: the match is certain
                // from here, and this is where the star begins.
                if (endOut)
                    *endOut = t;
                return true;
            }
            starP = p;
            starT = t;
            continue;
        }
        if (t < size) {
            DecodedChar d = DecodeChar(base + t, size - t, utf8_);
            if (p < n && ElementMatches(elements_[p], d.code)) {
                t += d.length;
                ++p;
                continue;
            }
        } else if (p == n) {
            return true;
        }
        // A mismatch, or pattern and text ending apart: let the latest star
        // take one more character and try the rest again.
        if (starP == SIZE_MAX || starT >= size)
            return false;
        starT += DecodeChar(base + starT, size - starT, utf8_).length;
        t = starT;
        p = starP;
    }
}

const char* WildcardPattern::MatchRunAt(const Run& run, const char* p, const char* end) const {
    for (size_t k = run.first; k < run.last; ++k) {
        if (p >= end)
            return nullptr;
        DecodedChar d = DecodeChar(p, static_cast<size_t>(end - p), utf8_);
        if (!ElementMatches(elements_[k], d.code))
            return nullptr;
        p += d.length;
    }
    return p;
}

size_t WildcardPattern::MaxRunBytes() const {
    size_t most = 0;
    for (const Run& run : runs_)
        most = std::max(most, (run.last - run.first) * 6);
    return most;
}

bool MatchWildcard(std::string_view text, std::string_view pattern, bool caseSensitive,
                   size_t* endOut) {
    return WildcardPattern(pattern, caseSensitive).Match(text, endOut);
}

} // namespace orvo
