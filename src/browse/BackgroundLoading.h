#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// How a row's icon is shared. Icons are asked of the desktop once per
// extension, except for entries whose icon depends on the entry itself
// (shortcuts, icon files, programs, files without extension), which are
// asked by path; all directories share one icon.
enum class IconShare { Directory, Extension, Path };

struct IconKey {
    IconShare share = IconShare::Extension;
    std::string key; // the lower-case extension, or the path
};

IconKey IconKeyOf(std::string_view path, std::string_view extension, bool isDirectory,
                  bool isExecutable);

// Percent of rows done, cut to a whole number (0 with no rows).
int LoadingPercent(int64_t done, int64_t rows);

// The frame caption while thumbnails load: "TITLE : 42 % done (photo.jpg)".
std::string LoadingCaption(std::string_view title, int percent, std::string_view fileName);

} // namespace orvo
