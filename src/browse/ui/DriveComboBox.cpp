#include "browse/ui/DriveComboBox.h"

#include "platform/MountTable.h"
#include "platform/ui/QtText.h"

#include <QAbstractItemView>

namespace orvo {

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(18);
}

QString DriveComboBox::EntryText(const QString& name, quint64 freeBytes, quint64 totalBytes, bool known) {
    if (!known)
        return name;
    return name + QStringLiteral("     Free %1 of %2").arg(freeBytes / 1048576).arg(totalBytes / 1048576);
}

void DriveComboBox::Refill() {
    QString current = currentData().toString();
    blockSignals(true);
    clear();
    for (const MountedVolume& v : ListMountedVolumes()) {
        VolumeSpace space = GetVolumeSpace(v.mountPoint);
        QString name = QString::fromStdString(v.mountPoint + " " + v.DisplayName());
        addItem(EntryText(name, space.freeBytes, space.totalBytes, space.known),
                PathToQ(v.mountPoint));
    }
    int index = findData(current);
    setCurrentIndex(index >= 0 ? index : 0);
    blockSignals(false);
}

void DriveComboBox::ShowDriveOf(const QString& path) {
    if (count() == 0)
        Refill();
    QString mount = PathToQ(MountPointOf(QToPath(path)));
    int index = findData(mount);
    blockSignals(true);
    if (index >= 0)
        setCurrentIndex(index);
    blockSignals(false);
}

void DriveComboBox::showPopup() {
    Refill();
    view()->setMinimumWidth(300);
    QComboBox::showPopup();
}

} // namespace orvo
