#pragma once

#include <QObject>

namespace orvo {

class CMainFrame;

// The browse windows' file commands in the main frame's menus: each goes
// to the active browse window.
class FrameFileCommands : public QObject {
    Q_OBJECT
public:
    explicit FrameFileCommands(CMainFrame& frame);

    void BuildActions();
    void EditComment();

private:
    // The frame's own commands in a browse window's right-click menu.
    void AddContextCommands();

    CMainFrame& frame_;
};

} // namespace orvo
