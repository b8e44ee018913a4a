#include "browse/ui/CETip.h"

#include <QGuiApplication>
#include <QScreen>

namespace orvo {

CETip::CETip(QWidget* owner) : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint) {
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(4);
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setMaximumWidth(600);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void CETip::ShowAt(const QPoint& globalPos, const QString& text) {
    setText(text);
    adjustSize();
    QPoint at = globalPos + QPoint(16, 20);
    if (const QScreen* screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        if (at.x() + width() > area.right())
            at.setX(std::max(area.left(), area.right() - width()));
        if (at.y() + height() > area.bottom())
            at.setY(std::max(area.top(), globalPos.y() - height() - 4));
    }
    move(at);
    show();
    raise();
}

} // namespace orvo
