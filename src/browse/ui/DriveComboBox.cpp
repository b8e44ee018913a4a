#include "browse/ui/DriveComboBox.h"

#include "platform/MountTable.h"
#include "platform/ui/QtText.h"

#include <QAbstractItemView>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

namespace orvo {

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(18);
}

QSize DriveComboBox::sizeHint() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QFontMetrics metrics = fontMetrics();
    QSize text(metrics.horizontalAdvance(currentText()) + metrics.averageCharWidth(),
               metrics.height());
    if (!itemIcon(currentIndex()).isNull())
        text.rwidth() += iconSize().width() + 4;
    QSize hint = style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this);
    return hint.expandedTo(QComboBox::minimumSizeHint());
}

int DriveComboBox::WidestEntry() const {
    const QFontMetrics metrics = view()->fontMetrics();
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    return widest;
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
    updateGeometry();
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
    updateGeometry();
}

void DriveComboBox::showPopup() {
    Refill();
    const int margins = 4 * view()->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                        2 * fontMetrics().averageCharWidth();
    view()->setMinimumWidth(std::max(300, WidestEntry() + margins));
    QComboBox::showPopup();
}

} // namespace orvo
