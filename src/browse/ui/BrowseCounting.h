#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

namespace orvo {

class COrvoBrowserView;
class SizeCountRunner;

// The directory-size counting of a browse window: the count runs on a
// thread of its own, and its texts land in the rows that still show the
// entries counted. While the counting mode is on, every rebuilt listing
// counts its directories.
class BrowseCounting : public QObject {
    Q_OBJECT
public:
    explicit BrowseCounting(COrvoBrowserView* view);

    static void SetCountingMode(bool on);
    static bool CountingMode();

    void CountDirectories(bool selectedOnly);
    // Escape: the directory being walked ends as "User stopped.".
    void StopCountingDirectory();
    bool IsCounting() const { return counting_; }
    // The listing's total size in bytes from a count (0: not counted); the
    // Size cells then show their share as a bar.
    void SetListingTotal(uint64_t bytes);
    uint64_t ListingTotal() const { return listingTotal_; }

private:
    void ShowCountText(int row, const QString& path, const QString& text, qint64 kilobytes);

    COrvoBrowserView* view_;
    SizeCountRunner* runner_ = nullptr;
    uint64_t listingTotal_ = 0;
    bool counting_ = false;
};

} // namespace orvo
