#pragma once

#include <QComboBox>

namespace orvo {

// The drive box: one entry per mounted volume with its free and total
// space, refilled every time it opens so the figures are current.
class DriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveComboBox(QWidget* parent = nullptr);

    void Refill();
    // Selects the volume that holds the path.
    void ShowDriveOf(const QString& path);
    // The entry text of a volume: "mount point display name     Free F of T"
    // with megabytes (bytes / 1 048 576, whole numbers).
    static QString EntryText(const QString& name, quint64 freeBytes, quint64 totalBytes, bool known);

    void showPopup() override;
    // Wide enough for the whole text of the shown volume, free space and
    // all; the list that drops down is as wide as its widest entry.
    QSize sizeHint() const override;
    // The widest entry of the drop-down list, in pixels.
    int WidestEntry() const;
};

} // namespace orvo
