#pragma once

#include <QMdiSubWindow>

namespace orvo {

class COrvoBrowserView;

// The frame of one browse window inside the main frame's area.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CChildFrame(COrvoBrowserView* view, QWidget* parent = nullptr);
    COrvoBrowserView* View() const { return view_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    COrvoBrowserView* view_;
};

} // namespace orvo
