#include "browse/HoverInfo.h"

#include "image/ImageFile.h"
#include "platform/DisplayText.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace orvo {

namespace {

constexpr size_t kLongComment = 100;
const char* const kSeparator = "------------------------------------";

} // namespace

std::string AttributeWords(std::string_view attr) {
    static const char* const kWords[] = {" ReadOnly", ",Archive", ",Hidden", ",System"};
    std::string words;
    for (size_t i = 0; i < 4 && i < attr.size(); ++i)
        if (attr[i] != '-')
            words += kWords[i];
    return words;
}

std::string HoverInfoText(const HoverFacts& f) {
    if (f.isDrive)
        return "Drive " + f.drive + ", Free " + NumberText(f.freeBytes) + " bytes of " +
               NumberText(f.totalBytes);
    std::string text = "Comment : ";
    if (f.comment.size() > kLongComment)
        text += "\n";
    text += f.comment;
    text += "\n";
    text += kSeparator;
    text += "\nModified : " + DateCellText(f.date, f.now) + " " + TimeCellText(f.date);
    text += "\nSize      : " + f.sizeText;
    text += "\nAttr      : " + AttributeWords(f.attr);
    text += "\nType     : " + f.typeName;
    if (f.preview == HoverFacts::Preview::Image) {
        text += "\n-----Quick view :";
        text += "\nImage : " + std::to_string(f.imageWidth) + " x " +
                std::to_string(f.imageHeight) + ", X Dpi : " + std::to_string(f.dpiX) +
                ", Y Dpi : " + std::to_string(f.dpiY) + ", " + std::to_string(f.bits) +
                " Bits per pixel";
    } else if (f.preview == HoverFacts::Preview::Media) {
        text += "\n-----Quick view :\nPlaying...";
    } else if (f.preview == HoverFacts::Preview::Text) {
        text += "\n-----Quick view :\n";
        text += f.text;
        if (f.wholeText)
            text += "<---END OF FILE";
    }
    return text;
}

bool ReadImageFacts(const std::string& path, HoverFacts& facts) {
    RasterImage image;
    if (!LoadImage(image, path) || image.IsEmpty())
        return false;
    facts.preview = HoverFacts::Preview::Image;
    facts.imageWidth = image.Width();
    facts.imageHeight = image.Height();
    facts.dpiX = image.DpiX();
    facts.dpiY = image.DpiY();
    facts.bits = image.Bits();
    return true;
}

bool ReadTextFacts(const std::string& path, size_t maxBytes, HoverFacts& facts) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    // One byte more tells whether the file goes on.
    std::string bytes(maxBytes + 1, '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    facts.wholeText = got <= maxBytes;
    bytes.resize(std::min(got, maxBytes));
    if (!facts.wholeText) {
        // Never end inside a character: drop a last character that lacks
        // some of its bytes.
        size_t lead = bytes.size();
        while (lead > 0 && bytes.size() - lead < 4 &&
               (static_cast<unsigned char>(bytes[lead - 1]) & 0xC0) == 0x80)
            --lead;
        if (lead > 0) {
            const auto c = static_cast<unsigned char>(bytes[lead - 1]);
            const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            if (lead - 1 + length > bytes.size())
                bytes.resize(lead - 1);
        }
    }
    facts.preview = HoverFacts::Preview::Text;
    facts.text = std::move(bytes);
    return true;
}

} // namespace orvo
