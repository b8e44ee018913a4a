// The quick access bar in the main frame: docked at the side, following
// the active browse window, shown or hidden with Alt+1.
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

void CMainFrame::BuildQuickAccessBar() {
    quickAccess_ = new CQuickAccessBar(this);
    addDockWidget(Qt::RightDockWidgetArea, quickAccess_);
    resizeDocks({quickAccess_}, {260}, Qt::Horizontal);
    quickAccessAction_ = viewMenu_->addAction(QStringLiteral("&Quick Access bar\tAlt+1"));
    quickAccessAction_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_1));
    quickAccessAction_->setShortcutContext(Qt::WindowShortcut);
    quickAccessAction_->setCheckable(true);
    connect(quickAccessAction_, &QAction::triggered, this, &CMainFrame::ToggleQuickAccessBar);
    // The bar's own close button and the menu's check mark agree.
    // (Not through the frame: the dock reports its hiding while the frame
    // is being destroyed.)
    connect(quickAccess_, &QDockWidget::visibilityChanged, quickAccessAction_,
            [action = quickAccessAction_, bar = quickAccess_] {
                action->setChecked(!bar->isHidden());
            });
    connect(this, &CMainFrame::ActiveViewChanged, quickAccess_, &CQuickAccessBar::SetView);
    quickAccess_->setVisible(GetBoolOption(kShowQuickAccessBarKey));
    quickAccessAction_->setChecked(!quickAccess_->isHidden());
}

void CMainFrame::ToggleQuickAccessBar() {
    ShowOnActionTip(this, kQuickAccessBarTip);
    quickAccess_->setVisible(quickAccess_->isHidden());
    quickAccessAction_->setChecked(!quickAccess_->isHidden());
    if (!quickAccess_->isHidden())
        quickAccess_->SetView(ActiveView());
}

} // namespace orvo
