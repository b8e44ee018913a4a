// What a browse window does with its rows: opening, renaming, comments,
// the path box and the drive box.
#include "browse/BrowseNavigation.h"
#include "browse/FileListRows.h"
#include "browse/PathComments.h"
#include "browse/ViewRebuilder.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/CommentEditDialog.h"
#include "browse/ui/DriveComboBox.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/Shortcut.h"
#include "platform/ui/UserPrompt.h"
#include "store/Collation.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace orvo {

namespace {
QString ToQ(const std::string& s) { return QString::fromStdString(s); }

bool ShiftHeld() { return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier; }
} // namespace

void COrvoBrowserView::OpenItem(int row) {
    if (row < 0 || row >= viewTable_.GetRecordCount())
        return;
    if (!listMode_ && row == 0 && model_->IsParentEntry(0)) {
        Up();
        return;
    }
    std::string path = viewTable_.GetText("Path", row);
    std::string extension = viewTable_.GetText("Extension", row);
    if (LowerCaseText(extension) == "lnk") {
        std::string target = ResolveShortcut(path);
        if (!target.empty() && IsDirectory(target))
            path = target;
    }
    if (currentPath_ == kComputerPath || IsDirectory(path)) {
        Navigate(path, true, true, true);
        SelectRow(0);
        return;
    }
    if (LowerCaseText(extension) == "orl" && PathExists(path)) {
        emit OpenListRequested(ToQ(path));
        return;
    }
    RunOrOpen(path, ShiftHeld(), ParentDirectoryOf(path));
}

void COrvoBrowserView::RunOrOpen(const std::string& path, bool inShell, const std::string& workingDirectory) {
    std::vector<std::string> argv =
        inShell ? ShellCommandArgv("\"$1\"", true, {path}) : DefaultOpenerArgv(path);
    std::string error;
    if (argv.empty() || !StartProgram(argv, workingDirectory, &error)) {
        UserPrompt::Message(this,
                            tr("Cannot open \"%1\": %2")
                                .arg(ToQ(path), error.empty() ? tr("no program for it was found") : ToQ(error)),
                            UserPrompt::Icon::Warning);
    }
}

bool COrvoBrowserView::RenameRow(int row, const QString& newName) {
    if (row < 0 || row >= viewTable_.GetRecordCount() || model_->IsParentEntry(row))
        return false;
    std::string oldPath = viewTable_.GetText("Path", row);
    if (oldPath.size() < 3 || oldPath == "/")
        return false;
    std::string name = newName.toStdString();
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return false;
    std::string newPath = JoinPath(ParentDirectoryOf(oldPath), name);
    if (newPath == oldPath)
        return false;
    // Never replace another entry: rename(2) would overwrite a file silently.
    // (On a case-insensitive file system the "other" entry may be this one.)
    struct stat a{}, b{};
    if (::lstat(newPath.c_str(), &b) == 0 &&
        !(::lstat(oldPath.c_str(), &a) == 0 && a.st_ino == b.st_ino && a.st_dev == b.st_dev))
        return false;
    std::string comment = GetComment(oldPath);
    if (std::rename(oldPath.c_str(), newPath.c_str()) != 0)
        return false;
    if (!comment.empty()) {
        // Take first: a rename that changes only letter case would otherwise
        // find the old entry when storing the new one, and then lose it.
        TakeComment(oldPath);
        SetComment(newPath, comment);
    }
    if (listMode_)
        RenameListPath(listing_, oldPath, newPath); // the list follows its entry
    RebuildView(true, true, false);
    SelectPath(newPath);
    return true;
}

void COrvoBrowserView::EditComment() {
    int row = SelectionMark();
    if (row < 0 || row >= viewTable_.GetRecordCount())
        return;
    std::string path = viewTable_.GetText("Path", row);
    if (currentPath_ == kComputerPath && row == 0)
        return;
    std::string comment = CommentEditDialog::EditComment(path, this);
    if (!listMode_ && row == 0) {
        currentComment_ = comment;
        return;
    }
    viewTable_.SetValue("Comment", row, QValue(std::string_view(ViewRebuilder::CommentCell(comment))));
    model_->RowChanged(row);
    // The list records what it shows, so a saved list keeps the comment.
    if (listMode_)
        SetListComment(listing_, path, comment);
}

void COrvoBrowserView::OnPathEntered(const QString& text) {
    if (text.startsWith(QLatin1Char('?'))) {
        // "?names \"text\"": a search window that searches at once.
        pathBox_->setEditText(ToQ(currentPath_));
        emit SearchRequested(text);
        return;
    }
    std::string path = NormalizeTypedPath(text.toStdString(), QDir::homePath().toStdString());
    if (path.empty())
        return;
    if (path == kComputerPath || IsDirectory(path)) {
        Navigate(path, true, true, true);
        FocusList(-1);
        return;
    }
    // Not a directory: a command to run, or a file to open, from here.
    std::string here = currentPath_ == kComputerPath ? QDir::homePath().toStdString() : currentPath_;
    std::vector<std::string> argv;
    if (ShiftHeld())
        argv = ShellCommandArgv(text.toStdString(), true);
    else if (PathExists(path))
        argv = DefaultOpenerArgv(path);
    else
        argv = ShellCommandArgv(text.toStdString(), false);
    std::string error;
    if (argv.empty() || !StartProgram(argv, here, &error))
        UserPrompt::Message(this, tr("Cannot run \"%1\": %2").arg(text, ToQ(error)), UserPrompt::Icon::Warning);
    pathBox_->setEditText(ToQ(currentPath_));
}

void COrvoBrowserView::OnDriveChosen(int index) {
    QString mount = driveBox_->itemData(index).toString();
    if (mount.isEmpty())
        return;
    Navigate(mount.toStdString(), true, true, false);
    FocusList(-1);
}

} // namespace orvo
