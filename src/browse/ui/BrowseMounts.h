#pragma once

#include <QObject>
#include <QString>
#include <string>

namespace orvo {

class COrvoBrowserView;

// Keeps a browse window in step with the mount table: the drive list shows
// what is mounted now, and a window whose file system went away (unmounted,
// a stick pulled out, a network place closed) goes to the drive list and
// says once why, instead of failing to read a directory that is no more.
class BrowseMounts : public QObject {
    Q_OBJECT
public:
    explicit BrowseMounts(COrvoBrowserView* view);

private:
    void Follow();
    void OnMountsChanged();
    void OnUnmounted(const std::string& directory);
    void LeaveForDriveList();

    COrvoBrowserView* view_;
    std::string mountPoint_; // of the directory shown; empty for none or "/"
    QString volumeName_;
};

} // namespace orvo
