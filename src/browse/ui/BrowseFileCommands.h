#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QColor;
class QImage;
class QString;
class QWidget;

namespace orvo {

class COrvoBrowserView;
class RasterImage;

// The file commands of a browse window on its selection: shortcuts,
// removing, renaming and comments, the desktop's file manager and
// terminal, links, running or opening an entry, the clipboard and files
// dropped on the rows.
class BrowseFileCommands : public QObject {
    Q_OBJECT
public:
    explicit BrowseFileCommands(COrvoBrowserView* view);

    void CreateShortcuts();
    // Del: in a list window removes from the list, otherwise deletes.
    void RemoveSelection();
    // Alt+Del: deletes from the disk, in a list window too.
    void DeleteSelection();
    // Renames a row's entry; the comment moves along. False when refused.
    bool RenameRow(int row, const QString& newName);
    // The same for the entry of a path: what an edit that outlives a
    // refresh of the rows holds on to.
    bool RenamePath(const std::string& oldPath, const QString& newName);
    void EditComment();
    // F2: the in-place edit of the current row's name.
    void StartRename();
    // The first selected entry opened by the desktop's default program
    // (a directory too, in the desktop's file manager).
    void OpenWithDesktopHandler();
    // What the information tip tells of the current row, in a message.
    void ShowProperties();
    void OpenWithExplorer();
    void OpenShellHere();
    void GoToLinkTarget();
    // A file is run (in a shell with inShell) or opened with its program.
    void RunOrOpen(const std::string& path, bool inShell, const std::string& workingDirectory);
    // Frames drawn over the selected rows for a moment: what a command took.
    void FlashSelection(int milliseconds, const QColor& color);

    void CopyToClipboard();
    void AddToClipboard();
    void Paste();
    void PasteShortcut();
    void NamesToClipboard();
    void PathsToClipboard();
    // Files dropped on a row (-1: beside the rows) with the keys held.
    void DropFiles(const std::vector<std::string>& paths, int row, Qt::KeyboardModifiers modifiers);
    bool SaveDroppedImage(const QImage& picture);
    // The dialog that may convert a dropped picture first ("Run conversion
    // when image dropped"): false when cancelled; extension is the format.
    static void
    SetDroppedImageConverter(std::function<bool(QWidget*, RasterImage&, std::string&)> converter);

private:
    void SelectionToClipboard(bool fullPaths);

    COrvoBrowserView* view_;
};

} // namespace orvo
