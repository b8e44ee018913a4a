#pragma once

#include "viewers/ViewerKind.h"

#include <string>

class QWidget;

namespace orvo {

class ViewerHost;

// Whether Alt is down at this moment, as the keyboard says (not the keys
// of the command that asks).
bool AltHeldNow();

// The viewer a path gets: by its extension, text with Alt held.
ViewerKind QuickViewKind(const std::string& path, bool altHeld);

// Opens the viewer a file gets: an image viewer, a media player or a text
// viewer, the last only for files up to kTextViewerSizeLimit bytes (null
// otherwise). Without an owner the window is free-standing; with maximized
// an image or text viewer shows maximized at once, otherwise the caller
// shows it (the media player always shows itself). host learns when the
// window goes and chooses destinations for it.
QWidget* OpenQuickViewer(const std::string& path, const std::string& directory, bool maximized,
                         QWidget* owner, ViewerHost* host, bool altHeld);

} // namespace orvo
