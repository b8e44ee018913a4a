#pragma once

#include <QObject>
#include <QString>

namespace orvo {

class CMainFrame;
class COrvoBrowserView;
class CSearchDlg;

// The main frame's side of searching: "Search files" (Alt+F7), the search
// typed into a path box, the Selection dialog of the browse windows, and
// the search windows' requests.
class FrameSearch : public QObject {
    Q_OBJECT
public:
    explicit FrameSearch(CMainFrame& frame);

    void BuildActions();
    // Wires a new browse window's search requests.
    void ConnectSearch(COrvoBrowserView* view);
    // Alt+F7: a new search window for the active browse window.
    void SearchFiles();
    // A search window for a browse window (or none), with the search typed
    // into its path box ("?names \"text\"") when there is one.
    CSearchDlg* OpenSearchWindowFor(COrvoBrowserView* view, const QString& quickForm);

private:
    CMainFrame& frame_;
};

} // namespace orvo
