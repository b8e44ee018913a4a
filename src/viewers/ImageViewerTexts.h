#pragma once

#include <cstdint>
#include <string>

namespace orvo {

inline constexpr const char* kImageViewerTitle = "Image quick view";
inline constexpr const char* kEmptyModeTitle =
    "Empty mode. You can paste an image  (Ctrl+V), convert if you want, save or copy back to "
    "the clipboard";
inline constexpr const char* kPastedImageTitle =
    "no name, you can save it if you want, or convert and then copy back to the clipboard";
inline constexpr const char* kImageInformationTitle = "Image information";

// "640 x 480, 24 Bits pp. Zoom : 50 %, " and the comment.
std::string ImageInfoLine(int width, int height, int bits, double zoom, const std::string& comment);

// The size of a rectangle being drawn: "120 x 80".
std::string DragSizeText(int width, int height);

struct ImageFacts {
    std::string fileName;
    int width = 0;
    int height = 0;
    int dpiX = 0;
    int dpiY = 0;
    int bits = 0;
    uint64_t memorySize = 0;
    uint64_t diskSize = 0;
    bool greyScale = false;
    int frames = 0;
    std::string comment;
};

// The text of the "Image information" box, one fact a line.
std::string ImageInformationText(const ImageFacts& facts);

// The question before a delete that does not go to any recycle bin.
std::string DeleteQuestion(const std::string& path);

} // namespace orvo
