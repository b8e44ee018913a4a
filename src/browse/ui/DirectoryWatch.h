#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <string>

class QTimer;

namespace orvo {

class COrvoBrowserView;

// Keeps a browse window's rows in step with its directory on disk. Changes
// come from the shared DirectoryWatcher; a burst of them makes one refresh,
// and refreshes keep a distance that grows with what a refresh of this
// directory costs, so a directory being filled by another program leaves
// the window free most of the time. A refresh keeps the selection, the
// current row and the scroll position, and waits while the user edits a
// name, holds a mouse button or a size count runs.
class DirectoryWatch : public QObject {
    Q_OBJECT
public:
    explicit DirectoryWatch(COrvoBrowserView* view);
    ~DirectoryWatch() override;

    // Re-reads the directory now, keeping what the user sees.
    void Refresh();
    // Refreshes done since the window was made (changes seen, not asked).
    int RefreshCount() const { return refreshes_; }
    const std::string& WatchedDirectory() const { return watched_; }

    // The shortest wait from one refresh to the next, and how many times
    // the last refresh's duration the wait is at least.
    static constexpr int kMinimumGapMs = 400;
    static constexpr int kCostFactor = 4;
    // How long a first change waits for the rest of its burst.
    static constexpr int kSettleMs = 100;

private:
    void Follow();
    void OnChanged(const std::string& directory, QObject* origin);
    void Schedule();
    void OnTimer();
    bool Busy() const;

    COrvoBrowserView* view_;
    QTimer* timer_;
    std::string watched_;
    QElapsedTimer sinceRefresh_;
    qint64 lastCostMs_ = 0;
    int refreshes_ = 0;
};

} // namespace orvo
