#pragma once

#include "viewers/ui/ViewerKeys.h"

#include <QList>
#include <QObject>

class QAction;
class QEvent;
class QMenu;
class QPoint;

namespace orvo {

class ImageViewerWindow;

// The image viewer's menus, button row, context menu and keys, each
// calling the window's jobs.
class ImageViewerActions : public QObject {
    Q_OBJECT
public:
    explicit ImageViewerActions(ImageViewerWindow& window);

    // Fills the window's menu bar and tool bar and sets up the keys.
    void Build();
    // For the window's event(): true when a key of the viewer was taken.
    bool HandleKey(QEvent* event) { return keys_.Handle(event); }
    void ShowContextMenu(const QPoint& globalPos);

private:
    void BuildMenusAndButtons();
    void BuildKeys();
    void ShowSlideshowState(bool running);

    ImageViewerWindow& window_;
    ViewerKeys keys_;
    QList<QMenu*> menus_;
    QAction* slideshowAction_ = nullptr;
};

} // namespace orvo
