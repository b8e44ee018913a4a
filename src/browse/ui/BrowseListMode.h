#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

namespace orvo {

class COrvoBrowserView;

// A browse window in list mode: rows gathered from anywhere instead of one
// directory, perhaps read from or written to a list document. There is no
// way back to a directory.
class BrowseListMode : public QObject {
    Q_OBJECT
public:
    explicit BrowseListMode(COrvoBrowserView* view);

    bool IsListMode() const { return listMode_; }
    std::string ListDocumentPath() const { return documentPath_; }
    // The list's title: its document's name, or "LIST OF FILES".
    const QString& Title() const { return title_; }

    // Empties the window and turns it into a list.
    void EnterListMode();
    // Appends rows for the paths and reads their information.
    void AddListPaths(const std::vector<std::string>& paths);
    // Reads the information of every row anew.
    void RefreshListRows();
    // Drops the rows whose entries no longer exist.
    void RemoveDeadRows();
    // "Remove from the list": the selected rows go, the files stay.
    void RemoveFromList();
    // "Go there": the first selected entry in a browse window of its
    // directory.
    void GoThere();
    // The list document the rows were read from or written to: the window
    // then carries its name. With rowsChanged the rows are shown anew from
    // the listing (the document was read into it).
    void SetListDocument(const std::string& path, bool rowsChanged);

private:
    void ShowListTitle();

    COrvoBrowserView* view_;
    bool listMode_ = false;
    std::string documentPath_;
    QString title_;
};

} // namespace orvo
