#pragma once

#include <QIcon>

namespace orvo {

// Button pictures of the image viewer that the style has no standard
// picture for; the desktop's icon theme wins where it has one.
enum class ViewerIcon { ZoomIn, ZoomOut, Copy, Brightness, Convert, Comment, Lock };

QIcon DrawnViewerIcon(ViewerIcon icon);
// The theme's icon of that name, else the drawn one.
QIcon ViewerIconFor(const char* themeName, ViewerIcon fallback);

} // namespace orvo
