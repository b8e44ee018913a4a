#include "browse/ui/BrowseNewEntries.h"

#include "browse/DirectoryListing.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "fileops/ui/NewEntryCommands.h"

namespace orvo {

BrowseNewEntries::BrowseNewEntries(COrvoBrowserView* view) : QObject(view), view_(view) {}

void BrowseNewEntries::NewDirectory(bool copySelection, bool moveSelection) {
    const std::string& here = view_->CurrentPath();
    if (here == kComputerPath || view_->ListMode().IsListMode())
        return;
    using Form = CNewDirectoryDlg::Form;
    Form form = moveSelection   ? Form::DirectoryMove
                : copySelection ? Form::DirectoryCopy
                                : Form::Directory;
    std::vector<std::string> made =
        RunNewDirectoryCommand(view_, here, view_->SelectedPaths(), form);
    if (made.empty())
        return;
    view_->RebuildView(true, true, false);
    view_->SelectPaths(made);
}

void BrowseNewEntries::NewFile(const std::string& templateName) {
    const std::string& here = view_->CurrentPath();
    if (here == kComputerPath || view_->ListMode().IsListMode())
        return;
    std::vector<std::string> made = RunNewFileCommand(view_, here, templateName);
    view_->RebuildView(true, true, false);
    if (!made.empty())
        view_->SelectPath(made.front());
}

} // namespace orvo
