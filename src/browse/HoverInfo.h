#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// The hover tip plays these quietly instead of telling about them.
inline constexpr const char* HoverPlayExtensionList =
    "mp3;mid;midi;rmi;wav;asf;cda;wmx;wma;aif;aiff;snd";

// What the information tip tells of the row under the mouse pointer.
struct HoverFacts {
    // A drive of the drive list: only its name and space are told.
    bool isDrive = false;
    std::string drive;
    uint64_t freeBytes = 0;
    uint64_t totalBytes = 0;

    std::string comment;
    double date = 0; // local OLE date
    double now = 0;
    std::string sizeText;
    std::string attr; // "rahs" letters
    std::string typeName;

    // Media: the file plays while the tip shows.
    enum class Preview { None, Image, Text, Media } preview = Preview::None;
    int imageWidth = 0, imageHeight = 0, dpiX = 0, dpiY = 0, bits = 0;
    std::string text;       // the beginning of a text file
    bool wholeText = false; // the text is the whole file
};

// The tip's text, its parts on lines of their own.
std::string HoverInfoText(const HoverFacts& facts);

// " ReadOnly,Archive,Hidden,System" for the letters present in "rahs".
std::string AttributeWords(std::string_view attr);

// Fills the picture facts (size, dots per inch, depth) of an image file;
// false when it cannot be read as a picture.
bool ReadImageFacts(const std::string& path, HoverFacts& facts);

// Fills the text facts with the file's first characters (at most
// maxBytes, cut between characters); false when it cannot be read.
bool ReadTextFacts(const std::string& path, size_t maxBytes, HoverFacts& facts);

} // namespace orvo
