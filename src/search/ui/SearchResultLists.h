#pragma once

#include <QListView>
#include <QMouseEvent>
#include <QTableView>
#include <cstdlib>
#include <functional>
#include <memory>

namespace orvo {

// A results list that holds a left-button press back until the button is
// released or the pointer has moved more than 10 pixels both across and
// down, so a click that wobbles never starts a drag or a rubber band; an
// Alt+click goes to the callback instead of the list.
template <class View> class PressGatedView : public View {
public:
    using View::View;
    std::function<void(const QModelIndex&)> onAltClick;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::AltModifier) && onAltClick) {
            QModelIndex index = this->indexAt(e->position().toPoint());
            if (index.isValid())
                onAltClick(index);
            return;
        }
        if (e->button() == Qt::LeftButton) {
            held_.reset(static_cast<QMouseEvent*>(e->clone()));
            return;
        }
        View::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (held_) {
            QPoint moved = e->position().toPoint() - held_->position().toPoint();
            if (std::abs(moved.x()) <= 10 || std::abs(moved.y()) <= 10)
                return;
            ReleaseHeldPress();
        }
        View::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        ReleaseHeldPress();
        View::mouseReleaseEvent(e);
    }

private:
    void ReleaseHeldPress() {
        if (std::unique_ptr<QMouseEvent> press = std::move(held_))
            View::mousePressEvent(press.get());
    }
    std::unique_ptr<QMouseEvent> held_;
};

using SearchDetailsList = PressGatedView<QTableView>;
using SearchIconsList = PressGatedView<QListView>;

} // namespace orvo
