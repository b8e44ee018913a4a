#pragma once

#include <QLabel>

namespace orvo {

// The information tip of a browse window: a small window without a frame
// near the mouse pointer, showing the text of the row beneath it.
class CETip : public QLabel {
    Q_OBJECT
public:
    explicit CETip(QWidget* owner);

    // Shows the text below and to the right of a point on the screen,
    // moved inside the screen where it would leave it.
    void ShowAt(const QPoint& globalPos, const QString& text);
};

} // namespace orvo
