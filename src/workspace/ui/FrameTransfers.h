#pragma once

#include <QObject>
#include <QStringList>

namespace orvo {

class CMainFrame;

// "Copy to..." and "Move to..." of the main frame, and the re-reading of
// browse windows when a file operation ends.
class FrameTransfers : public QObject {
    Q_OBJECT
public:
    explicit FrameTransfers(CMainFrame& frame);

    void BuildActions();
    // F5 and F6: the selection of the active window into another window's
    // directory, or (Ctrl held) into a directory chosen in a folder dialog.
    void CopyTo(bool pickFolder = false);
    void MoveTo(bool pickFolder = false);
    // Re-reads every browse window that shows one of the directories.
    void RefreshDirectories(const QStringList& directories);

private:
    void TransferSelection(int kind, bool pickFolder);

    CMainFrame& frame_;
};

} // namespace orvo
