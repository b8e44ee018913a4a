#include "viewers/ViewerKind.h"

#include "image/ImageFile.h"

namespace orvo {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

} // namespace

const char* ViewerKindName(ViewerKind kind) {
    switch (kind) {
    case ViewerKind::Image:
        return "image";
    case ViewerKind::Multimedia:
        return "multimedia";
    case ViewerKind::Text:
        break;
    }
    return "text";
}

bool IsInExtensionList(std::string_view item, std::string_view list) {
    while (true) {
        const size_t cut = list.find(';');
        if (EqualsIgnoringCase(item, list.substr(0, cut)))
            return true;
        if (cut == std::string_view::npos)
            return false;
        list.remove_prefix(cut + 1);
    }
}

ViewerKind ClassifyForViewer(std::string_view extension, bool altHeld) {
    if (altHeld)
        return ViewerKind::Text;
    if (extension.empty() || IsInExtensionList(extension, ImageExtensionList))
        return ViewerKind::Image;
    if (IsInExtensionList(extension, MediaExtensionList))
        return ViewerKind::Multimedia;
    return ViewerKind::Text;
}

} // namespace orvo
