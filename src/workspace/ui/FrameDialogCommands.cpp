// The option commands of the main frame.
#include "browse/ui/COrvoBrowserView.h"
#include "settings/ui/OptionsCommands.h"
#include "store/ui/CTableEditorDlg.h"
#include "workspace/ui/CMainFrame.h"

namespace orvo {

void CMainFrame::ShowGeneralOptions() {
    RunGeneralOptions(this);
    // The background and the comment file's visibility may have changed.
    ApplyBackground();
    for (COrvoBrowserView* view : ViewsInStackingOrder())
        view->RebuildView(true, true, false);
}

void CMainFrame::ShowFileColors() {
    if (CTableEditorDlg* editor = OpenFilesColorsEditor(this))
        connect(editor, &QDialog::finished, this, [this] {
            for (COrvoBrowserView* view : ViewsInStackingOrder())
                view->update();
        });
}

void CMainFrame::ShowSpecialFileTypes() { OpenSpecialFileTypesEditor(this); }

} // namespace orvo
