#include "workspace/ui/FrameQuickAccess.h"

#include "assist/OnActionTips.h"
#include "assist/ui/TipCommands.h"
#include "browse/ui/COrvoBrowserView.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/CQuickAccessBar.h"

#include <QAction>
#include <QMenu>

namespace orvo {

FrameQuickAccess::FrameQuickAccess(CMainFrame& frame) : frame_(frame) {}

void FrameQuickAccess::BuildActions() {
    bar_ = new CQuickAccessBar(&frame_);
    frame_.addDockWidget(Qt::RightDockWidgetArea, bar_);
    frame_.resizeDocks({bar_}, {260}, Qt::Horizontal);
    action_ = frame_.ViewMenu()->addAction(QStringLiteral("&Quick Access bar\tAlt+1"));
    action_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_1));
    action_->setShortcutContext(Qt::WindowShortcut);
    action_->setCheckable(true);
    connect(action_, &QAction::triggered, this, &FrameQuickAccess::Toggle);
    // The bar's own close button and the menu's check mark agree.
    // (Not through the frame: the dock reports its hiding while the frame
    // is being destroyed.)
    connect(bar_, &QDockWidget::visibilityChanged, action_,
            [action = action_, bar = bar_] { action->setChecked(!bar->isHidden()); });
    connect(&frame_, &CMainFrame::ActiveViewChanged, bar_, &CQuickAccessBar::SetView);
    bar_->setVisible(GetBoolOption(kShowQuickAccessBarKey));
    action_->setChecked(!bar_->isHidden());
}

void FrameQuickAccess::Toggle() {
    ShowOnActionTip(&frame_, kQuickAccessBarTip);
    bar_->setVisible(bar_->isHidden());
    action_->setChecked(!bar_->isHidden());
    if (!bar_->isHidden())
        bar_->SetView(frame_.ActiveView());
}

} // namespace orvo
