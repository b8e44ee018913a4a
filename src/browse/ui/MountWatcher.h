#pragma once

#include "platform/MountTable.h"

#include <QObject>
#include <string>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace orvo {

// The one watcher of the mount table: the kernel marks the mount table
// file when something is mounted or unmounted, and the desktop's network
// places (folders of one FUSE mount, which the table does not show) are
// looked at every few seconds, off the interface thread, while there are
// any.
class MountWatcher : public QObject {
    Q_OBJECT
public:
    // Lives as long as the application object.
    static MountWatcher& Instance();
    ~MountWatcher() override;

    // As of the last change seen.
    const std::vector<MountInfoEntry>& Mounts() const { return mounts_; }
    const std::vector<MountedVolume>& Volumes() const { return volumes_; }
    // Whether a path is still a mount point or a drive of the drive list.
    bool IsMounted(const std::string& mountPoint) const;
    // Whether a mount point is the desktop's FUSE mount of network places.
    bool IsPlacesMount(const std::string& mountPoint) const;

    static constexpr int kSharePollMs = 3000;
    static constexpr int kSettleMs = 100;

signals:
    void MountsChanged();

private:
    explicit MountWatcher(QObject* parent);
    // Whether the mounts differ from the ones known before.
    bool ReadTable();
    // Adds the network places known before to a table read while their
    // mount did not answer.
    void KeepKnownPlaces(std::vector<MountedVolume>& volumes) const;
    // The last table read could not list the network places; the next poll
    // that can tells the windows, whatever it finds.
    bool placesUnknown_ = false;
    void PollShares();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* settle_ = nullptr;
    QTimer* sharePoll_ = nullptr;
    bool polling_ = false;
    std::vector<MountInfoEntry> mounts_;
    std::vector<MountedVolume> volumes_;
};

} // namespace orvo
