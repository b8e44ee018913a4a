#include "viewers/ui/ViewerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace orvo {

namespace {

constexpr int kSize = 48; // drawn large, scaled down sharply by the button

void Magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(QColor(40, 40, 40), 4));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QRectF(6, 6, 26, 26));
    p.setPen(QPen(QColor(40, 40, 40), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30, 30), QPointF(42, 42));
    p.setPen(QPen(QColor(20, 90, 170), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 19), QPointF(26, 19));
    if (plus)
        p.drawLine(QPointF(19, 12), QPointF(19, 26));
}

} // namespace

QIcon DrawnViewerIcon(ViewerIcon icon) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 40);
    switch (icon) {
    case ViewerIcon::ZoomIn:
    case ViewerIcon::ZoomOut:
        Magnifier(p, icon == ViewerIcon::ZoomIn);
        break;
    case ViewerIcon::Copy:
        p.setPen(QPen(ink, 3));
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(6, 4, 24, 30));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(18, 14, 24, 30));
        break;
    case ViewerIcon::Brightness: {
        p.setPen(QPen(QColor(200, 140, 0), 3, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(24, 24);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, 15), QPointF(0, 21));
            p.restore();
        }
        p.setPen(QPen(ink, 3));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(12, 12, 24, 24));
        QPainterPath half;
        half.moveTo(24, 12);
        half.arcTo(QRectF(12, 12, 24, 24), 90, 180);
        half.closeSubpath();
        p.setBrush(ink);
        p.drawPath(half);
        break;
    }
    case ViewerIcon::Convert: {
        p.setPen(QPen(ink, 3));
        p.setBrush(QColor(210, 235, 255));
        p.drawRect(QRectF(4, 8, 30, 24));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 150, 60));
        p.drawPolygon(
            QPolygonF({QPointF(6, 30), QPointF(16, 18), QPointF(24, 26), QPointF(32, 30)}));
        p.setBrush(QColor(20, 90, 170));
        p.drawPolygon(QPolygonF({QPointF(28, 30), QPointF(44, 38), QPointF(28, 46)}));
        p.drawRect(QRectF(18, 35, 12, 6));
        break;
    }
    case ViewerIcon::Comment: {
        p.setPen(QPen(ink, 3));
        p.setBrush(QColor(255, 245, 180));
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(4, 6, 40, 26), 8, 8);
        bubble.moveTo(14, 31);
        bubble.lineTo(10, 42);
        bubble.lineTo(24, 31);
        p.drawPath(bubble.simplified());
        p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 15), QPointF(36, 15));
        p.drawLine(QPointF(12, 23), QPointF(30, 23));
        break;
    }
    case ViewerIcon::Lock:
        p.setPen(QPen(ink, 5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(14, 4, 20, 24), 0, 180 * 16);
        p.drawLine(QPointF(14, 16), QPointF(14, 22));
        p.drawLine(QPointF(34, 16), QPointF(34, 22));
        p.setPen(QPen(ink, 3));
        p.setBrush(QColor(230, 180, 40));
        p.drawRoundedRect(QRectF(8, 21, 32, 23), 4, 4);
        break;
    }
    return QIcon(pixmap);
}

QIcon ViewerIconFor(const char* themeName, ViewerIcon fallback) {
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(themeName));
    return themed.isNull() ? DrawnViewerIcon(fallback) : themed;
}

} // namespace orvo
