#pragma once

#include <QComboBox>
#include <QSet>

namespace orvo {

// The drive box: one entry per mounted volume with its icon and its free
// and total space, refilled every time it opens so the figures are current,
// and whenever something is mounted or unmounted. The space of a network or
// FUSE volume is asked on a worker thread and written in when it comes: a
// server that does not answer leaves its entry without figures.
class DriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveComboBox(QWidget* parent = nullptr);

    void Refill();
    // Selects the volume that holds the path.
    void ShowDriveOf(const QString& path);
    // The entry text of a volume: "mount point display name     Free F of T"
    // with megabytes (bytes / 1 048 576, whole numbers).
    static QString EntryText(const QString& name, quint64 freeBytes, quint64 totalBytes,
                             bool known);

    void showPopup() override;
    // Wide enough for the whole text of the shown volume, free space and
    // all; the list that drops down is as wide as its widest entry.
    QSize sizeHint() const override;
    // The widest entry of the drop-down list, its icon included, in pixels.
    int WidestEntry() const;

private:
    void FitPopupWidth();
    void AskSpaceLater(const QString& mountPoint, const QString& name);

    // Volumes whose space is being asked: one question at a time each.
    QSet<QString> asking_;
};

} // namespace orvo
