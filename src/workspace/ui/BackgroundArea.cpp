#include "workspace/ui/BackgroundArea.h"

#include <QDesktopServices>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QUrl>

namespace orvo {

namespace {

// The background only refers to the dropped file, which stays where it is:
// a drop the source would finish as a move (deleting its file) is refused.
Qt::DropAction KeepingAction(Qt::DropActions possible) {
    if (possible & Qt::LinkAction)
        return Qt::LinkAction;
    if (possible & Qt::CopyAction)
        return Qt::CopyAction;
    return Qt::IgnoreAction;
}

} // namespace

BackgroundArea::BackgroundArea(QWidget* parent) : QMdiArea(parent) {
    viewport()->setMouseTracking(true);
    viewport()->setAcceptDrops(true);
}

QString BackgroundArea::DroppedPicture(const QMimeData* data, const QPoint& pos) const {
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    // A window that does not take the drop itself passes it on to us; it
    // still was not meant for the background.
    for (QMdiSubWindow* w : subWindowList())
        if (w->isVisible() && w->geometry().contains(pos))
            return QString();
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return QString();
    const QString path = url.toLocalFile();
    QFileInfo info(path);
    // The header decides, not the name: a picture is what the area can draw.
    if (!info.isFile() || !QImageReader(path).canRead())
        return QString();
    return info.absoluteFilePath();
}

void BackgroundArea::SetBackground(const QString& imagePath, const QString& caption,
                                   const QString& linkTarget) {
    image_ = QImage();
    stretched_ = false;
    QImageReader reader(imagePath);
    reader.setAutoTransform(true);
    QImage loaded = reader.read();
    if (!loaded.isNull()) {
        QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size()
                                                        : QSize(1920, 1080);
        // A picture larger than a third of the screen both ways is a
        // wallpaper: scaled once to the screen and stretched to the area.
        // Anything smaller is a pattern and is tiled.
        if (loaded.width() > screen.width() / 3 && loaded.height() > screen.height() / 3) {
            image_ = loaded.scaled(screen, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            stretched_ = true;
        } else {
            image_ = loaded;
        }
    }
    caption_ = caption;
    link_ = linkTarget;
    viewport()->update();
}

void BackgroundArea::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    QRect area = viewport()->rect();
    p.fillRect(area, palette().color(QPalette::Window));
    if (!image_.isNull()) {
        if (stretched_)
            p.drawImage(area, image_);
        else
            p.drawTiledPixmap(area, QPixmap::fromImage(image_));
    }
    QStringList lines = caption_.split(QStringLiteral("\r\n"));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(30);
    font.setItalic(true);
    font.setWeight(QFont::Thin);
    p.setFont(font);
    QFontMetrics fm(font);
    int y = area.height() - 30 - lines.size() * fm.height();
    const QColor colors[2] = {QColor(0x64, 0x64, 0xE1), QColor(0x00, 0x14, 0x64)};
    linkRect_ = QRect();
    for (int i = 0; i < lines.size() && i < 2; ++i) {
        QRect r(30, y + i * fm.height(), fm.horizontalAdvance(lines[i]) + 4, fm.height());
        p.setPen(colors[i]);
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
        if (i == 1)
            linkRect_ = r;
    }
}

bool BackgroundArea::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        viewport()->setCursor(linkRect_.contains(me->position().toPoint()) ? Qt::PointingHandCursor
                                                                           : Qt::ArrowCursor);
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && linkRect_.contains(me->position().toPoint()) &&
            !link_.isEmpty()) {
            QDesktopServices::openUrl(QUrl::fromUserInput(link_));
            return true;
        }
        break;
    }
    case QEvent::Resize:
        viewport()->update();
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* de = static_cast<QDragMoveEvent*>(event);
        const Qt::DropAction action = KeepingAction(de->possibleActions());
        if (action != Qt::IgnoreAction &&
            !DroppedPicture(de->mimeData(), de->position().toPoint()).isEmpty()) {
            de->setDropAction(action);
            de->accept();
        } else {
            de->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* de = static_cast<QDropEvent*>(event);
        const QString path = DroppedPicture(de->mimeData(), de->position().toPoint());
        const Qt::DropAction action = KeepingAction(de->possibleActions());
        if (path.isEmpty() || action == Qt::IgnoreAction) {
            de->ignore();
            return true;
        }
        de->setDropAction(action);
        de->accept();
        emit PictureDropped(path);
        return true;
    }
    default:
        break;
    }
    return QMdiArea::viewportEvent(event);
}

} // namespace orvo
