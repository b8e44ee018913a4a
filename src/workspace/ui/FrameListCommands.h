#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QMenu;

namespace orvo {

class CMainFrame;
class COrvoBrowserView;

// The "&List" menu: list windows and the file-list documents they are
// saved as, exported to and checked against.
class FrameListCommands : public QObject {
    Q_OBJECT
public:
    explicit FrameListCommands(CMainFrame& frame);

    void BuildActions();
    QMenu* Menu() const { return menu_; }

    // A new list window with the paths.
    COrvoBrowserView* CreateListWindow(const std::vector<std::string>& paths);
    // The same for paths a search window sends.
    void MakeListWindow(const QStringList& paths);
    // F9: a list window with the active window's selection.
    void NewListWindow();
    // A list document in a new list window (asked for when path is empty);
    // null when nothing was opened.
    COrvoBrowserView* OpenListDocument(const QString& path = QString());
    void SaveListAs();
    void ExportList();
    void ShowListStatus();
    void RefreshList();
    // "Go there": a browse window on the entry's directory, the entry selected.
    void GoThere(const QString& path);
    // The active window when it is a list window.
    COrvoBrowserView* ActiveListView() const;
    // After a file operation a list window reads its rows again and lets go
    // of the entries that left the directories the operation touched.
    void RefreshListAfterOperation(COrvoBrowserView* view, const QStringList& directories);

signals:
    // A list document was opened from or saved to this file.
    void ListDocumentUsed(const QString& path);

private:
    CMainFrame& frame_;
    QMenu* menu_ = nullptr;
};

} // namespace orvo
