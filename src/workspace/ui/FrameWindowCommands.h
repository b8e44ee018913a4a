#pragma once

#include <QObject>
#include <QString>

namespace orvo {

class CMainFrame;
class COrvoBrowserView;

// The "&Window" menu and the commands that pick, arrange and open browse
// windows in the main frame's area.
class FrameWindowCommands : public QObject {
    Q_OBJECT
public:
    explicit FrameWindowCommands(CMainFrame& frame);

    // The menu's commands and, below them, one item per open window; filled
    // again each time the menu opens.
    void FillMenu();
    void NewWindow();
    void TileWindows();
    void ToggleMaximize();
    void GoToWindow();
    void GoToDirectory();
    // Asks for one of the open windows (or any directory); "" when cancelled.
    QString ChooseWindowPath(bool* isWindow = nullptr, COrvoBrowserView** chosen = nullptr);
    // Shows the file's directory in the active browse window (a new one
    // when there is none) with the file selected.
    void GoToFile(const QString& path);

private:
    CMainFrame& frame_;
};

} // namespace orvo
