#pragma once

#include "platform/DirectoryWatchSet.h"

#include <QObject>
#include <string>

class QSocketNotifier;

namespace orvo {

// The one watcher of the program: the browse windows register the
// directories they show and hear when one of them changed, whether another
// program changed it or a window of this one did (Announce).
class DirectoryWatcher : public QObject {
    Q_OBJECT
public:
    // Lives as long as the application object.
    static DirectoryWatcher& Instance();
    // Null once the application object has taken it along (or before the
    // first Instance).
    static DirectoryWatcher* Existing();

    void Watch(const std::string& directory);
    void Unwatch(const std::string& directory);
    bool IsWatched(const std::string& directory) const { return set_.IsWatched(directory); }

    // A window changed a directory in a way the system may not report (a
    // subdirectory's own comment is written inside that subdirectory) or
    // may report late; origin has already shown the change.
    void Announce(const std::string& directory, QObject* origin = nullptr);

signals:
    // origin: the window that made the change, null for any other source.
    void DirectoryChanged(const std::string& directory, QObject* origin);
    // The file system of a watched directory was unmounted; the directory
    // is no longer watched.
    void Unmounted(const std::string& directory);

private:
    explicit DirectoryWatcher(QObject* parent);
    void ReadChanges();

    DirectoryWatchSet set_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace orvo
