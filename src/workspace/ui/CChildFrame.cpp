#include "workspace/ui/CChildFrame.h"

#include "assist/OnActionTips.h"
#include "assist/ui/TipCommands.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/AppState.h"

#include <QCloseEvent>
#include <QStyle>
#include <QTimer>

namespace orvo {

CChildFrame::CChildFrame(COrvoBrowserView* view, QWidget* parent)
    : QMdiSubWindow(parent), view_(view) {
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose);
    // Without an icon theme the title bar would show the toolkit's logo.
    setWindowIcon(
        QIcon::fromTheme(QStringLiteral("folder"), style()->standardIcon(QStyle::SP_DirIcon)));
    connect(view, &COrvoBrowserView::TitleChanged, this, &QWidget::setWindowTitle);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (view_->Counting().IsCounting()) {
        UserPrompt::Message(this,
                            QStringLiteral("Cannot close the object while counting directories' "
                                           "sizes. Please wait until done. Or press ESCAPE."),
                            UserPrompt::Icon::Warning);
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    const AppState& state = GetAppState();
    if (state.startupFinished && !state.closing && isVisible()) {
        // Shown after the resize has finished, not from inside it.
        static bool showing = false;
        if (showing)
            return;
        QTimer::singleShot(0, this, [this] {
            if (showing)
                return;
            showing = true;
            ShowOnActionTip(this, kMaximizeTip);
            showing = false;
        });
    }
}

} // namespace orvo
