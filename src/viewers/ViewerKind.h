#pragma once

#include <cstdint>
#include <string_view>

namespace orvo {

// Played rather than shown; some entries occur twice, as they always have.
inline constexpr const char* MediaExtensionList =
    "avi;mpg;mpeg;mpe;mp3;mid;midi;rmi;wav;asf;cda;wmx;wma;wmx;aif;aiff;aif;au;snd";

// Quick view opens no text viewer on a larger file.
inline constexpr uint64_t kTextViewerSizeLimit = 1000000;

enum class ViewerKind { Image, Multimedia, Text };

// "image", "multimedia" or "text".
const char* ViewerKindName(ViewerKind kind);

// Whether item equals one entry of a ";"-separated list, ignoring case.
bool IsInExtensionList(std::string_view item, std::string_view list);

// The viewer an extension (without the dot) gets. An empty extension is a
// picture, so a viewer opened on nothing waits for a pasted image; with
// Alt held every file is text.
ViewerKind ClassifyForViewer(std::string_view extension, bool altHeld);

} // namespace orvo
