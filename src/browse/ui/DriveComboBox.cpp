#include "browse/ui/DriveComboBox.h"

#include "browse/ui/BrowseIcons.h"
#include "browse/ui/MountWatcher.h"
#include "platform/MountTable.h"
#include "platform/ui/QtText.h"

#include <QAbstractItemView>
#include <QFutureWatcher>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtConcurrent>
#include <algorithm>

namespace orvo {

namespace {

// How long a network volume may take to tell its space; the pool's thread
// is free again after it.
constexpr int kSpaceTimeoutMs = 3000;

} // namespace

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(18);
    connect(&MountWatcher::Instance(), &MountWatcher::MountsChanged, this, [this] {
        // An open list is refilled when it opens next.
        if (count() > 0 && !view()->isVisible())
            Refill();
    });
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
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)) +
                                      (itemIcon(i).isNull() ? 0 : iconSize().width() + 8));
    return widest;
}

QString DriveComboBox::EntryText(const QString& name, quint64 freeBytes, quint64 totalBytes,
                                 bool known) {
    if (!known)
        return name;
    return name +
           QStringLiteral("     Free %1 of %2").arg(freeBytes / 1048576).arg(totalBytes / 1048576);
}

void DriveComboBox::Refill() {
    QString current = currentData().toString();
    blockSignals(true);
    clear();
    for (const MountedVolume& v : ListMountedVolumes()) {
        const QString name = PathToQ(v.mountPoint + " " + v.DisplayName());
        const QString point = PathToQ(v.mountPoint);
        const QIcon icon = BrowseIcons::DriveIcon(v.driveType);
        if (v.mayHang) {
            addItem(icon, name, point);
            AskSpaceLater(point, name);
            continue;
        }
        VolumeSpace space = GetVolumeSpace(v.mountPoint);
        addItem(icon, EntryText(name, space.freeBytes, space.totalBytes, space.known), point);
    }
    int index = findData(current);
    setCurrentIndex(index >= 0 ? index : 0);
    blockSignals(false);
    updateGeometry();
}

void DriveComboBox::AskSpaceLater(const QString& mountPoint, const QString& name) {
    if (asking_.contains(mountPoint))
        return;
    asking_.insert(mountPoint);
    auto* job = new QFutureWatcher<VolumeSpace>(this);
    connect(job, &QFutureWatcher<VolumeSpace>::finished, this, [this, job, mountPoint, name] {
        job->deleteLater();
        asking_.remove(mountPoint);
        const VolumeSpace space = job->result();
        const int index = findData(mountPoint);
        if (index < 0 || !space.known)
            return;
        setItemText(index, EntryText(name, space.freeBytes, space.totalBytes, true));
        updateGeometry();
        if (view()->isVisible()) {
            // The open list grows to show the figures whole.
            FitPopupWidth();
            view()->window()->resize(std::max(view()->window()->width(), view()->minimumWidth()),
                                     view()->window()->height());
        }
    });
    const std::string path = QToPath(mountPoint);
    job->setFuture(
        QtConcurrent::run([path] { return GetVolumeSpaceWithin(path, kSpaceTimeoutMs); }));
}

void DriveComboBox::ShowDriveOf(const QString& path) {
    if (count() == 0)
        Refill();
    // The entry of the longest mount point holding the path: a place of
    // the desktop's network mount is an entry below the mount itself.
    int index = -1;
    qsizetype longest = -1;
    for (int i = 0; i < count(); ++i) {
        const QString point = itemData(i).toString();
        const bool holds = point == QStringLiteral("/") || path == point ||
                           path.startsWith(point + QLatin1Char('/'));
        if (holds && point.size() > longest) {
            index = i;
            longest = point.size();
        }
    }
    blockSignals(true);
    if (index >= 0)
        setCurrentIndex(index);
    blockSignals(false);
    updateGeometry();
}

void DriveComboBox::FitPopupWidth() {
    const int margins = 4 * view()->frameWidth() +
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                        2 * fontMetrics().averageCharWidth();
    view()->setMinimumWidth(std::max(300, WidestEntry() + margins));
}

void DriveComboBox::showPopup() {
    Refill();
    FitPopupWidth();
    QComboBox::showPopup();
}

} // namespace orvo
