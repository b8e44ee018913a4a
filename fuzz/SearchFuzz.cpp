// Patterns and texts from outside: the wildcard matcher and the text find
// must neither crash nor hang, and a text read in small overlapping windows
// must give the find that one buffer gives.
#include "search/NamePatterns.h"
#include "search/TextCase.h"
#include "search/TextFinding.h"
#include "search/WildcardPattern.h"

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The text in windows of `chunk` bytes plus the overlap asked for.
class SmallWindows : public orvo::WindowedText {
public:
    SmallWindows(std::string_view text, size_t chunk) : text_(text), chunk_(chunk) {}
    orvo::TextWindow WindowAt(uint64_t from, size_t overlap) override {
        uint64_t start = from / chunk_ * chunk_;
        size_t size = std::min<size_t>(chunk_ + std::max<size_t>(overlap, 1),
                                       text_.size() - std::min<size_t>(start, text_.size()));
        bool last = start + size >= text_.size();
        return {text_.data() + std::min<size_t>(start, text_.size()), start, size, start + chunk_,
                last};
    }

private:
    std::string_view text_;
    size_t chunk_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool locale = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
    (void)locale;
    if (size < 2)
        return 0;
    const bool caseSensitive = data[0] & 1;
    const size_t chunk = 1 + data[0] / 2;
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    size_t cut = input.find('\n');
    std::string_view pattern = input.substr(0, std::min<size_t>(cut, 64));
    std::string_view text =
        cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);

    orvo::MatchWildcard(text, pattern, caseSensitive);
    orvo::MatchNamePattern(text.substr(0, 255), pattern);
    size_t end = 0;
    orvo::FindWildcardInText(text, pattern, caseSensitive, &end);

    std::string full(pattern);
    if (full.empty() || full.back() != '*')
        full.push_back('*');
    orvo::WildcardPattern compiled(full, caseSensitive);
    std::string folded(text);
    if (!caseSensitive)
        orvo::FoldTextInPlace(folded.data(), folded.size());
    orvo::WholeText whole(folded);
    SmallWindows windows(folded, chunk);
    uint64_t wholeEnd = 0, windowEnd = 0;
    int64_t a = orvo::FindPatternFrom(whole, compiled, 0, &wholeEnd, true);
    int64_t b = orvo::FindPatternFrom(windows, compiled, 0, &windowEnd, true);
    if (a != b || (a >= 0 && wholeEnd != windowEnd))
        std::abort();
    return 0;
}
