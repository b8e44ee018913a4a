#pragma once

#include "browse/SizeCounter.h"

#include <QObject>
#include <QString>
#include <memory>
#include <thread>
#include <vector>

namespace orvo {

// Runs the size count of a browse window on a thread of its own and hands
// what it finds to the window's thread as signals. A new count replaces
// the one running; destroying the runner cancels and waits for it, which
// takes no longer than 50 entries of the walk.
class SizeCountRunner : public QObject {
    Q_OBJECT
public:
    explicit SizeCountRunner(QObject* parent = nullptr);
    ~SizeCountRunner() override;

    // A non-empty home keeps the count on home's file system (see
    // CountDirectories).
    void Start(std::vector<SizeCountRow> rows, std::string home = {});
    // Escape: the directory being walked ends as "User stopped.".
    void StopCurrentDirectory();
    void Cancel();
    bool IsRunning() const { return running_; }

signals:
    void RowProgress(int row, const QString& path, const QString& text);
    void RowCounted(int row, const QString& path, const QString& text, quint32 kilobytes);
    void TotalChanged(quint64 total);
    void Finished(quint64 total, bool cancelled);

private:
    class Sink;
    void Join();

    std::shared_ptr<SizeCountControl> control_;
    std::thread thread_;
    quint64 generation_ = 0;
    bool running_ = false;
};

} // namespace orvo
