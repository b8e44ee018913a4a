#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

namespace orvo {

class CSearchDlg;

// What the search window does with its hits: copy them, their paths or
// names to the clipboard, delete them, and ask the main frame to go to
// one, to quick view one or to make a list window of them all.
class SearchHitCommands : public QObject {
    Q_OBJECT
public:
    explicit SearchHitCommands(CSearchDlg& window);

    void CopyFilesToClipboard();
    void CopyPathsToClipboard();
    void CopyNamesToClipboard();
    // The focused hit, when something is selected.
    void GoThere();
    void GoToHit(int row);
    void CreateList();
    void DeleteSelected();
    void QuickView();

signals:
    void GoToFileRequested(const QString& path);
    void MakeListWindowRequested(const QStringList& paths);
    void QuickViewRequested(const QString& path);

private:
    // The selected rows in list order; shows the "Nothing selected" message
    // and gives nothing when there are none.
    std::vector<int> SelectedRowsOrSay();
    int FocusedRow() const;

    CSearchDlg& window_;
};

} // namespace orvo
