#pragma once

#include "search/WildcardPattern.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvo {

// A text read one window at a time. Offsets are offsets in the whole text.
struct TextWindow {
    const char* data = nullptr;
    uint64_t start = 0; // offset of data[0]
    size_t size = 0;
    // Finds may begin below this offset only; what lies beyond it (up to the
    // window's end) is the overlap that lets a find begun just before it end
    // inside the window. The next window starts here.
    uint64_t findsBelow = 0;
    bool last = false; // the window reaches the end of the text
};

class WindowedText {
public:
    virtual ~WindowedText() = default;
    // The window that holds offset `from` with at least `overlap` bytes
    // after its find limit (where the text has them).
    virtual TextWindow WindowAt(uint64_t from, size_t overlap) = 0;
};

// A text that is all in memory: one window.
class WholeText : public WindowedText {
public:
    explicit WholeText(std::string_view text) : text_(text) {}
    TextWindow WindowAt(uint64_t from, size_t overlap) override;

private:
    std::string_view text_;
};

// The first occurrence of bytes at or after `from`; -1 when there is none.
int64_t FindBytes(WindowedText& text, std::string_view needle, uint64_t from, uint64_t* end);

// The first offset at or after `from` where a pattern that ends on "*"
// matches, and in end where that final star begins: the result of trying
// the matcher at every offset in turn, found by placing the pattern's runs
// one after the other, each as early as it goes. If a run cannot be placed
// after the earliest place of the one before, it cannot be placed after
// any later one either, so one pass decides. textFolded tells that the text
// was folded (FoldTextInPlace), which lets a pattern that ignores case
// jump between the places its runs' leading characters occur.
int64_t FindPatternFrom(WindowedText& text, const WildcardPattern& pattern, uint64_t from,
                        uint64_t* end, bool textFolded);

// Appends "*" to the pattern unless it ends with one, and returns the
// first offset of text where it matches (-1 for none); endOut receives the
// end of the hit.
int64_t FindWildcardInText(std::string_view text, std::string_view pattern, bool caseSensitive,
                           size_t* endOut = nullptr);

} // namespace orvo
