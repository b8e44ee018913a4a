#include "viewers/ui/QuickView.h"

#include "image/ImageFile.h"
#include "platform/FileStatus.h"
#include "viewers/ui/ImageViewerWindow.h"
#include "viewers/ui/MediaPlayerWindow.h"
#include "viewers/ui/TextViewerWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace orvo {

bool AltHeldNow() {
    return (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier) != 0;
}

ViewerKind QuickViewKind(const std::string& path, bool altHeld) {
    return ClassifyForViewer(ExtensionOfPath(path), altHeld);
}

QWidget* OpenQuickViewer(const std::string& path, const std::string& directory, bool maximized,
                         QWidget* owner, ViewerHost* host, bool altHeld) {
    QWidget* window = nullptr;
    switch (QuickViewKind(path, altHeld)) {
    case ViewerKind::Image:
        window = new ImageViewerWindow(path, directory, host, true, owner);
        break;
    case ViewerKind::Multimedia:
        return new MediaPlayerWindow(path, host, true, owner);
    case ViewerKind::Text: {
        const FileStatus status = GetFileStatus(path);
        const uint64_t size = status.exists && !status.isDirectory ? status.size : 0;
        if (size > kTextViewerSizeLimit)
            return nullptr;
        window = new TextViewerWindow(path, host, true, owner);
        break;
    }
    }
    if (maximized) {
        // Without a window manager maximising means nothing: fill the screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            window->setGeometry(screen->availableGeometry());
        window->showMaximized();
    }
    return window;
}

} // namespace orvo
