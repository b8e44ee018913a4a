#pragma once

#include <QObject>

class QAction;

namespace orvo {

class AutoViewController;
class CMainFrame;

// The main frame's viewers: quick view, auto view and its arrangement
// beside a thumbnail window.
class FrameViewers : public QObject {
    Q_OBJECT
public:
    explicit FrameViewers(CMainFrame& frame);

    void BuildActions();
    // F3 (Alt+F3 as text): the first selected item in its viewer.
    void QuickView(bool asText = false);
    // Ctrl+F3: a viewer that follows the selection, on or off.
    void ToggleAutoView();
    // Thumbnails on the left, the auto-view window beside them.
    void ArrangeThumbnailsAutoview();
    AutoViewController* AutoView() const { return autoView_; }

private:
    void OnViewSelectionChanged();

    CMainFrame& frame_;
    AutoViewController* autoView_ = nullptr;
    QAction* autoViewAction_ = nullptr;
};

} // namespace orvo
