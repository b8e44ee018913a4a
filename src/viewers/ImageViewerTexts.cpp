#include "viewers/ImageViewerTexts.h"

#include "platform/DisplayText.h"

#include <cstdio>

namespace orvo {

std::string ImageInfoLine(int width, int height, int bits, double zoom,
                          const std::string& comment) {
    char percent[64];
    std::snprintf(percent, sizeof percent, "%G", zoom * 100);
    return std::to_string(width) + " x " + std::to_string(height) + ", " + std::to_string(bits) +
           " Bits pp. Zoom : " + percent + " %, " + comment;
}

std::string DragSizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string ImageInformationText(const ImageFacts& f) {
    std::string text;
    auto line = [&text](const std::string& s) { text += s + "\n"; };
    line("File name : " + f.fileName);
    line("Width : " + std::to_string(f.width));
    line("Height : " + std::to_string(f.height));
    line("");
    line("X Dpi : " + std::to_string(f.dpiX));
    line("Y Dpi : " + std::to_string(f.dpiY));
    line("Bits per pixel : " + std::to_string(f.bits));
    line("Current size in memory: " + NumberText(f.memorySize));
    line("Current size on disk  : " + NumberText(f.diskSize));
    line(std::string("Is in gray scale ? ") + (f.greyScale ? "TRUE" : "FALSE"));
    line("Number of frames : " + std::to_string(f.frames));
    line("Comment : " + (f.comment.empty()
                             ? std::string("No comment. Press Alt+C to set a comment.")
                             : f.comment));
    return text;
}

std::string DeleteQuestion(const std::string& path) {
    return "Are you sure you want to REALLY DELETE " + path +
           " ?\nNote that this is not moving to a recycle bin, but a real deleting.";
}

} // namespace orvo
