// New directories (F7, with Ctrl copying and Shift moving the selection
// into them) and new files from templates (Shift+F4).
#include "browse/DirectoryListing.h"
#include "browse/ui/COrvoBrowserView.h"
#include "fileops/ui/NewEntryCommands.h"

namespace orvo {

void COrvoBrowserView::NewDirectory(bool copySelection, bool moveSelection) {
    if (currentPath_ == kComputerPath || listMode_)
        return;
    using Form = CNewDirectoryDlg::Form;
    Form form = moveSelection   ? Form::DirectoryMove
                : copySelection ? Form::DirectoryCopy
                                : Form::Directory;
    std::vector<std::string> made =
        RunNewDirectoryCommand(this, currentPath_, SelectedPaths(), form);
    if (made.empty())
        return;
    RebuildView(true, true, false);
    SelectPaths(made);
}

void COrvoBrowserView::NewFile() {
    if (currentPath_ == kComputerPath || listMode_)
        return;
    std::vector<std::string> made = RunNewFileCommand(this, currentPath_);
    RebuildView(true, true, false);
    if (!made.empty())
        SelectPath(made.front());
}

} // namespace orvo
