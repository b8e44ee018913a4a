#pragma once

#include "search/ui/SearchWorker.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace orvo {

class CSearchDlg;

// Starts and stops the search window's search and brings what its thread
// finds into the window: the hits into the list, the directory being
// searched and the counts into their lines, the progress into the title.
class SearchRunControl : public QObject {
    Q_OBJECT
public:
    explicit SearchRunControl(CSearchDlg& window);
    ~SearchRunControl() override;

    // Start, or Stop while searching.
    void StartOrStop();
    bool IsSearching() const { return searching_; }
    // A key for the search to read between its entries
    // (SearchControl::kEscape, kBackspace).
    void PressKey(int key);

signals:
    void Finished();

private:
    void Poll();
    void EndSearch();

    CSearchDlg& window_;
    SearchWorker worker_;
    QTimer poll_;
    bool searching_ = false;
    QString caption_;
};

} // namespace orvo
