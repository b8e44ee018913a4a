#include "browse/ui/BrowseCommandFilter.h"

#include "browse/ui/BrowseClipboard.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/COrvoBrowserView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

namespace orvo {

BrowseCommandFilter::BrowseCommandFilter(COrvoBrowserView* view) : QObject(view), view_(view) {}

bool BrowseCommandFilter::DragOut(QWidget* viewport, const QPoint& pos) {
    // Only a row that is selected once the press is handled carries files.
    QAbstractItemView* list = view_->CurrentList();
    if (pressedRow_ < 0 ||
        (pos - pressPos_).manhattanLength() < QApplication::startDragDistance() ||
        !list->selectionModel()->isRowSelected(pressedRow_, QModelIndex()))
        return false;
    pressedRow_ = -1;
    std::vector<std::string> paths = view_->SelectedPaths();
    if (paths.empty())
        return false;
    auto* drag = new QDrag(viewport);
    drag->setMimeData(MakeFileListMimeData(paths));
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
    return true;
}

bool BrowseCommandFilter::eventFilter(QObject* watched, QEvent* event) {
    // Only the events taken here reach the window: the filter also sees
    // what the lists get while the window is being torn down.
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            view_->Counting().IsCounting()) {
            view_->Counting().StopCountingDirectory();
            return true;
        }
        break;
    case QEvent::MouseButtonPress: {
        QAbstractItemView* list = view_->CurrentList();
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == list->viewport() && mouse->button() == Qt::LeftButton) {
            pressPos_ = mouse->position().toPoint();
            pressedRow_ = list->indexAt(pressPos_).row();
        }
        break;
    }
    case QEvent::MouseMove: {
        QAbstractItemView* list = view_->CurrentList();
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == list->viewport() && (mouse->buttons() & Qt::LeftButton))
            return DragOut(list->viewport(), mouse->position().toPoint());
        break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        bool hasList = false;
        FileListOf(drag->mimeData(), &hasList);
        if (!hasList)
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        bool hasList = false;
        std::vector<std::string> paths = FileListOf(drop->mimeData(), &hasList);
        if (!hasList)
            return false;
        QAbstractItemView* list = view_->CurrentList();
        const int row = list->indexAt(drop->position().toPoint()).row();
        const Qt::KeyboardModifiers modifiers = drop->modifiers();
        drop->acceptProposedAction();
        // The drag source waits until the drop returns: questions and
        // tips come after it.
        QTimer::singleShot(0, view_, [view = view_, paths, row, modifiers] {
            view->FileCommands().DropFiles(paths, row, modifiers);
        });
        return true;
    }
    default:
        break;
    }
    return false;
}

} // namespace orvo
