#include "search/QuickSearchForm.h"

#include <mutex>

namespace orvo {

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::mutex& TextLock() {
    static std::mutex lock;
    return lock;
}

std::string& Remembered() {
    static std::string text;
    return text;
}

} // namespace

std::optional<QuickSearchForm> ParseQuickSearchForm(std::string_view typed) {
    if (typed.empty() || typed.front() != '?')
        return std::nullopt;
    std::string rest(typed.substr(1));
    QuickSearchForm form;
    size_t open = rest.find('"');
    if (open != std::string::npos) {
        // A quote left open takes the rest of the line as the text.
        size_t close = rest.find('"', open + 1);
        size_t stop = close == std::string::npos ? rest.size() : close + 1;
        form.text =
            rest.substr(open + 1, (close == std::string::npos ? rest.size() : close) - open - 1);
        form.hasText = !form.text.empty();
        rest.erase(open, stop - open);
    }
    form.names = std::string(Trimmed(rest));
    return form;
}

std::string RememberedSearchText() {
    std::lock_guard<std::mutex> hold(TextLock());
    return Remembered();
}

void RememberSearchText(std::string text) {
    std::lock_guard<std::mutex> hold(TextLock());
    Remembered() = std::move(text);
}

} // namespace orvo
