#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <memory>
#include <string>

class QTimer;

namespace orvo {

class COrvoBrowserView;

// Keeps a browse window's rows in step with its directory on disk. Changes
// come from the shared DirectoryWatcher; a burst of them makes one refresh.
// The directory is read and its rows rebuilt on a worker thread, and the
// window only takes the result, so a directory of a hundred thousand
// entries being filled by another program leaves the window free; the
// refreshes keep a distance that grows with what one costs. A refresh keeps
// the selection, the current row, the scroll position and the order of the
// last header click, and waits while the user edits a name, holds a mouse
// button or has a menu open, or a size count runs.
class DirectoryWatch : public QObject {
    Q_OBJECT
public:
    explicit DirectoryWatch(COrvoBrowserView* view);
    ~DirectoryWatch() override;

    // Re-reads the directory now, on this thread, keeping what the user sees.
    void Refresh();
    // Refreshes made for changes since the window was made.
    int RefreshCount() const { return refreshes_; }
    const std::string& WatchedDirectory() const { return watched_; }

    // The shortest wait from one refresh to the next, and how many times
    // the last refresh's duration the wait is at least.
    static constexpr int kMinimumGapMs = 400;
    static constexpr int kCostFactor = 1;
    // How long a first change waits for the rest of its burst.
    static constexpr int kSettleMs = 100;

private:
    struct Job;
    struct Kept;

    void Follow();
    void OnChanged(const std::string& directory, QObject* origin);
    void Schedule();
    void OnTimer();
    void StartJob();
    void FinishJob(const std::shared_ptr<Job>& job);
    bool Busy() const;
    Kept Keep() const;
    void Restore(const Kept& kept);
    void Done(qint64 costMs);

    COrvoBrowserView* view_;
    QTimer* timer_;
    std::string watched_;
    QElapsedTimer sinceRefresh_;
    qint64 lastCostMs_ = 0;
    int refreshes_ = 0;
    // Rebuilds of the window: a job's rows are stale once the window
    // rebuilt itself meanwhile.
    int rebuilds_ = 0;
    bool jobRunning_ = false;
    bool changedDuringJob_ = false;
};

} // namespace orvo
