#include "browse/ui/MountWatcher.h"

#include "platform/FileIO.h"
#include "platform/PathText.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QtConcurrent>
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace orvo {

namespace {

constexpr const char* kMountTable = "/proc/self/mountinfo";

std::vector<std::string> PointsOf(const std::vector<MountedVolume>& volumes) {
    std::vector<std::string> points;
    for (const MountedVolume& v : volumes)
        points.push_back(v.mountPoint);
    return points;
}

} // namespace

MountWatcher& MountWatcher::Instance() {
    static QPointer<MountWatcher> instance;
    if (!instance)
        instance = new MountWatcher(QCoreApplication::instance());
    return *instance;
}

MountWatcher::MountWatcher(QObject* parent) : QObject(parent) {
    // The table reads as always ready; a change shows as an exceptional
    // condition (POLLPRI) until the next poll.
    fd_ = ::open(kMountTable, O_RDONLY | O_CLOEXEC);
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Exception, this);
        // A container starting mounts dozens of file systems at once: one
        // look at the table serves them all.
        settle_ = new QTimer(this);
        settle_->setSingleShot(true);
        settle_->setInterval(kSettleMs);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            if (!settle_->isActive())
                settle_->start();
        });
        connect(settle_, &QTimer::timeout, this, [this] {
            if (ReadTable())
                emit MountsChanged();
        });
    }
    sharePoll_ = new QTimer(this);
    sharePoll_->setInterval(kSharePollMs);
    connect(sharePoll_, &QTimer::timeout, this, &MountWatcher::PollShares);
    ReadTable();
}

MountWatcher::~MountWatcher() {
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

bool MountWatcher::ReadTable() {
    std::vector<MountInfoEntry> mounts;
    try {
        mounts = ParseMountInfo(ReadWholeFile(kMountTable));
    } catch (const FileError&) {
    }
    bool placesAnswered = true;
    std::vector<MountedVolume> volumes = ListMountedVolumes(&placesAnswered);
    if (!placesAnswered) {
        KeepKnownPlaces(volumes);
        placesUnknown_ = true;
    }
    auto point = [](const MountInfoEntry& m) { return m.mountPoint; };
    const bool changed =
        PointsOf(volumes) != PointsOf(volumes_) || mounts.size() != mounts_.size() ||
        !std::equal(mounts.begin(), mounts.end(), mounts_.begin(), mounts_.end(),
                    [&](const MountInfoEntry& a, const MountInfoEntry& b) {
                        return point(a) == point(b) && a.deviceNumber == b.deviceNumber;
                    });
    mounts_ = std::move(mounts);
    volumes_ = std::move(volumes);
    const bool shares = std::any_of(mounts_.begin(), mounts_.end(),
                                    [](const MountInfoEntry& m) { return orvo::IsPlacesMount(m); });
    if (shares && !sharePoll_->isActive())
        sharePoll_->start();
    else if (!shares)
        sharePoll_->stop();
    return changed;
}

void MountWatcher::PollShares() {
    if (polling_)
        return; // a place that does not answer holds its poll; no second one
    polling_ = true;
    using Poll = std::pair<std::vector<MountedVolume>, bool>;
    auto* job = new QFutureWatcher<Poll>(this);
    connect(job, &QFutureWatcher<Poll>::finished, this, [this, job] {
        job->deleteLater();
        polling_ = false;
        auto [volumes, answered] = job->result();
        // A slow answer says nothing of the places: a busy server is no
        // reason to send its windows away.
        if (!answered || (!placesUnknown_ && PointsOf(volumes) == PointsOf(volumes_)))
            return;
        placesUnknown_ = false;
        volumes_ = std::move(volumes);
        emit MountsChanged();
    });
    // Off the interface thread a slow server may take longer to answer.
    job->setFuture(QtConcurrent::run([] {
        bool answered = true;
        std::vector<MountedVolume> volumes = ListMountedVolumes(&answered, 3000);
        return Poll(std::move(volumes), answered);
    }));
}

void MountWatcher::KeepKnownPlaces(std::vector<MountedVolume>& volumes) const {
    for (const MountedVolume& known : volumes_) {
        const bool place = IsPlacesMount(ParentDirectoryOf(known.mountPoint));
        const bool listed =
            std::any_of(volumes.begin(), volumes.end(),
                        [&](const MountedVolume& v) { return v.mountPoint == known.mountPoint; });
        if (place && !listed)
            volumes.push_back(known);
    }
    std::sort(volumes.begin(), volumes.end(), [](const MountedVolume& a, const MountedVolume& b) {
        return a.mountPoint < b.mountPoint;
    });
}

bool MountWatcher::IsPlacesMount(const std::string& mountPoint) const {
    return std::any_of(mounts_.begin(), mounts_.end(), [&](const MountInfoEntry& m) {
        return m.mountPoint == mountPoint && orvo::IsPlacesMount(m);
    });
}

bool MountWatcher::IsMounted(const std::string& mountPoint) const {
    return std::any_of(mounts_.begin(), mounts_.end(),
                       [&](const MountInfoEntry& m) { return m.mountPoint == mountPoint; }) ||
           std::any_of(volumes_.begin(), volumes_.end(),
                       [&](const MountedVolume& v) { return v.mountPoint == mountPoint; });
}

} // namespace orvo
