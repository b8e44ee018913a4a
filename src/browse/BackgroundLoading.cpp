#include "browse/BackgroundLoading.h"

#include "store/Collation.h"

#include <algorithm>

namespace orvo {

namespace {
// Extensions whose files carry or point at their own icon.
constexpr std::string_view kIconPerPath[] = {"pif", "url", "lnk", "cdr",
                                             "cur", "exe", "ico", "desktop"};
} // namespace

IconKey IconKeyOf(std::string_view path, std::string_view extension, bool isDirectory,
                  bool isExecutable) {
    if (isDirectory)
        return {IconShare::Directory, {}};
    std::string lower = LowerCaseText(extension);
    bool perPath = lower.empty() || isExecutable;
    for (std::string_view e : kIconPerPath)
        perPath = perPath || lower == e;
    if (perPath)
        return {IconShare::Path, std::string(path)};
    return {IconShare::Extension, std::move(lower)};
}

int LoadingPercent(int64_t done, int64_t rows) {
    if (rows <= 0 || done <= 0)
        return 0;
    return static_cast<int>(std::min(done, rows) * 100 / rows);
}

std::string LoadingCaption(std::string_view title, int percent, std::string_view fileName) {
    std::string caption(title);
    caption += " : ";
    caption += std::to_string(percent);
    caption += " % done (";
    caption += fileName;
    caption += ")";
    return caption;
}

} // namespace orvo
