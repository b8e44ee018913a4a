#include "browse/ui/DirectoryWatcher.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

namespace orvo {

namespace {

QPointer<DirectoryWatcher>& TheWatcher() {
    static QPointer<DirectoryWatcher> instance;
    return instance;
}

} // namespace

DirectoryWatcher& DirectoryWatcher::Instance() {
    if (!TheWatcher())
        TheWatcher() = new DirectoryWatcher(QCoreApplication::instance());
    return *TheWatcher();
}

DirectoryWatcher* DirectoryWatcher::Existing() {
    return TheWatcher().data();
}

DirectoryWatcher::DirectoryWatcher(QObject* parent) : QObject(parent) {
    if (set_.Descriptor() >= 0) {
        notifier_ = new QSocketNotifier(set_.Descriptor(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &DirectoryWatcher::ReadChanges);
    }
}

void DirectoryWatcher::Watch(const std::string& directory) {
    // A directory the system will not watch (a network mount, the watch
    // limit reached) still refreshes on the program's own changes.
    set_.Add(directory);
}

void DirectoryWatcher::Unwatch(const std::string& directory) {
    set_.Remove(directory);
}

void DirectoryWatcher::Announce(const std::string& directory, QObject* origin) {
    emit DirectoryChanged(directory, origin);
}

void DirectoryWatcher::ReadChanges() {
    std::vector<std::string> unmounted;
    for (const std::string& directory : set_.ReadChanges(unmounted))
        emit DirectoryChanged(directory, nullptr);
    for (const std::string& directory : unmounted)
        emit Unmounted(directory);
}

} // namespace orvo
