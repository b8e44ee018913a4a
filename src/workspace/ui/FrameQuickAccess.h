#pragma once

#include <QObject>

class QAction;

namespace orvo {

class CMainFrame;
class CQuickAccessBar;

// The quick access bar in the main frame: docked at the side, following
// the active browse window, shown or hidden with Alt+1.
class FrameQuickAccess : public QObject {
    Q_OBJECT
public:
    explicit FrameQuickAccess(CMainFrame& frame);

    void BuildActions();
    void Toggle();
    CQuickAccessBar* Bar() const { return bar_; }

private:
    CMainFrame& frame_;
    CQuickAccessBar* bar_ = nullptr;
    QAction* action_ = nullptr;
};

} // namespace orvo
