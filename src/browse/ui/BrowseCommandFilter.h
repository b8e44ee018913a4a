#pragma once

#include <QObject>
#include <QPoint>

namespace orvo {

class COrvoBrowserView;

// Watches the lists of a browse window for what the file commands take
// from them: files dragged out and dropped in, and Escape while a size
// count runs.
class BrowseCommandFilter : public QObject {
    Q_OBJECT
public:
    explicit BrowseCommandFilter(COrvoBrowserView* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool DragOut(QWidget* viewport, const QPoint& pos);

    COrvoBrowserView* view_;
    QPoint pressPos_;
    int pressedRow_ = -1;
};

} // namespace orvo
