#include "browse/ui/BrowseFileCommands.h"

#include "assist/ui/TipCommands.h"
#include "browse/BrowseNavigation.h"
#include "browse/ClipboardFileList.h"
#include "browse/FileCommands.h"
#include "browse/FileListRows.h"
#include "browse/ViewRebuilder.h"
#include "browse/ui/BrowseClipboard.h"
#include "browse/ui/BrowseHover.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/DirectoryWatcher.h"
#include "browse/ui/ViewTableModel.h"
#include "comments/PathComments.h"
#include "comments/ui/CommentEditDialog.h"
#include "fileops/EntryRename.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/ui/FileOperationService.h"
#include "image/ImageFile.h"
#include "image/ui/RasterQImage.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/Shortcut.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace orvo {

namespace {

// Frames drawn over the list for a moment: the selection the command took.
class FlashOverlay : public QWidget {
public:
    FlashOverlay(QWidget* viewport, std::vector<QRect> frames, const QColor& color)
        : QWidget(viewport), frames_(std::move(frames)), color_(color) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(viewport->rect());
        show();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(color_, 2));
        painter.setBrush(Qt::NoBrush);
        for (const QRect& r : frames_)
            painter.drawRect(r);
    }

private:
    std::vector<QRect> frames_;
    QColor color_;
};

std::function<bool(QWidget*, RasterImage&, std::string&)>& DroppedImageConverter() {
    static std::function<bool(QWidget*, RasterImage&, std::string&)> converter;
    return converter;
}

std::string LowerExtension(const std::string& extension) {
    std::string lower = extension;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

} // namespace

BrowseFileCommands::BrowseFileCommands(COrvoBrowserView* view) : QObject(view), view_(view) {}

void BrowseFileCommands::SetDroppedImageConverter(
    std::function<bool(QWidget*, RasterImage&, std::string&)> converter) {
    DroppedImageConverter() = std::move(converter);
}

void BrowseFileCommands::FlashSelection(int milliseconds, const QColor& color) {
    QAbstractItemView* list = view_->CurrentList();
    const ViewTableModel& model = *view_->Model();
    std::vector<QRect> frames;
    const QRect visible = list->viewport()->rect();
    for (int row : view_->SelectedRows()) {
        QRect r = list->visualRect(model.index(row, 0));
        if (view_->GetViewMode() == COrvoBrowserView::ViewMode::Details)
            r = r.united(list->visualRect(model.index(row, ViewTableModel::ColumnCount - 1)));
        r.adjust(-2, -2, 2, 2);
        if (r.intersects(visible))
            frames.push_back(r);
    }
    if (frames.empty())
        return;
    auto* overlay = new FlashOverlay(list->viewport(), std::move(frames), color);
    QTimer::singleShot(milliseconds, overlay, &QObject::deleteLater);
}

void BrowseFileCommands::RunOrOpen(const std::string& path, bool inShell,
                                   const std::string& workingDirectory) {
    std::vector<std::string> argv =
        inShell ? ShellCommandArgv("\"$1\"", true, {path}) : DefaultOpenerArgv(path);
    std::string error;
    if (argv.empty() || !StartProgram(argv, workingDirectory, &error)) {
        UserPrompt::Message(
            view_,
            tr("Cannot open \"%1\": %2")
                .arg(ToQ(path), error.empty() ? tr("no program for it was found") : ToQ(error)),
            UserPrompt::Icon::Warning);
    }
}

bool BrowseFileCommands::RenameRow(int row, const QString& newName) {
    QTable& table = view_->ViewTable();
    if (row < 0 || row >= table.GetRecordCount() || view_->Model()->IsParentEntry(row))
        return false;
    return RenamePath(table.GetText("Path", row), newName);
}

bool BrowseFileCommands::RenamePath(const std::string& oldPath, const QString& newName) {
    if (oldPath.size() < 3 || oldPath == "/")
        return false;
    std::string name = QToPath(newName);
    if (name.empty())
        return false; // an emptied edit is taken as a cancelled one
    std::string newPath = JoinPath(ParentDirectoryOf(oldPath), name);
    if (newPath == oldPath)
        return false;
    const QString refused =
        tr("Cannot rename \"%1\" to \"%2\": %3").arg(PathToQ(FileNameOf(oldPath)), newName);
    if (name.find('/') != std::string::npos || name == "." || name == "..") {
        UserPrompt::Message(view_,
                            refused.arg(tr("a name cannot be \".\" or \"..\" nor hold \"/\".")),
                            UserPrompt::Icon::Warning);
        return false;
    }
    if (!RenameWithComment(oldPath, newPath)) {
        const int error = errno;
        UserPrompt::Message(view_,
                            refused.arg(error == EEXIST
                                            ? tr("an entry of that name exists already.")
                                            : QString::fromLocal8Bit(std::strerror(error)) + '.'),
                            UserPrompt::Icon::Warning);
        return false;
    }
    if (view_->ListMode().IsListMode())
        RenameListPath(view_->Listing(), oldPath, newPath); // the list follows its entry
    view_->RebuildView(true, true, false);
    view_->SelectPath(newPath);
    DirectoryWatcher::Instance().Announce(ParentDirectoryOf(newPath), view_);
    return true;
}

void BrowseFileCommands::EditComment() {
    QTable& table = view_->ViewTable();
    int row = view_->SelectionMark();
    if (row < 0 || row >= table.GetRecordCount())
        return;
    std::string path = table.GetText("Path", row);
    if (view_->CurrentPath() == kComputerPath && row == 0)
        return;
    const bool ownDirectory = !view_->ListMode().IsListMode() && row == 0;
    std::string comment = CommentEditDialog::EditComment(path, view_);
    const bool listMode = view_->ListMode().IsListMode();
    // Other windows show the entry's row too: a directory's comment is
    // written inside it, where a watch on its parent does not look.
    DirectoryWatcher::Instance().Announce(ParentDirectoryOf(StripTrailingSlash(path)), view_);
    if (ownDirectory)
        return; // the directory's own comment: no row of this window shows it
    // The dialog let the window refresh meanwhile: the entry's row is
    // looked up again by its path (row 0 of a directory is its parent).
    const int pathColumn = table.FieldIndex("Path");
    row = -1;
    for (int i = listMode ? 0 : 1; i < table.GetRecordCount() && row < 0; ++i)
        if (table.GetValue(pathColumn, i).AsStringView() == path)
            row = i;
    if (row >= 0) {
        table.SetValue("Comment", row,
                       QValue(std::string_view(ViewRebuilder::CommentCell(comment))));
        view_->Model()->RowChanged(row);
    }
    // The list records what it shows, so a saved list keeps the comment.
    if (listMode)
        SetListComment(view_->Listing(), path, comment);
}

void BrowseFileCommands::StartRename() {
    int row = view_->SelectionMark();
    if (row >= 0)
        view_->CurrentList()->edit(view_->Model()->index(row, ViewTableModel::NameColumn));
}

void BrowseFileCommands::OpenWithDesktopHandler() {
    std::string path = view_->FirstSelectedPath();
    if (path.empty())
        return;
    std::string error;
    std::vector<std::string> argv = DefaultOpenerArgv(path);
    if (argv.empty() || !StartProgram(argv, ParentDirectoryOf(path), &error))
        UserPrompt::Message(
            view_,
            tr("Cannot open \"%1\": %2")
                .arg(PathToQ(path), error.empty() ? tr("no program for it was found") : ToQ(error)),
            UserPrompt::Icon::Warning);
}

void BrowseFileCommands::ShowProperties() {
    const int row = view_->SelectionMark();
    QString text = view_->Hover().HoverText(row);
    if (text.isEmpty())
        return;
    UserPrompt::Message(view_, text, UserPrompt::Icon::Information,
                        view_->Model()->FullName(row));
}

void BrowseFileCommands::CreateShortcuts() {
    FlashSelection(20, Qt::yellow);
    std::vector<std::string> made;
    for (const std::string& path : view_->SelectedPaths()) {
        std::string link = ShortcutPathBeside(path);
        if (CreateShortcut(path, link))
            made.push_back(link);
    }
    if (made.empty())
        return;
    view_->RebuildView(true, true, false);
    view_->SelectPaths(made);
}

void BrowseFileCommands::RemoveSelection() {
    if (view_->ListMode().IsListMode()) {
        view_->ListMode().RemoveFromList();
        return;
    }
    DeleteSelection();
}

void BrowseFileCommands::DeleteSelection() {
    FlashSelection(20, Qt::yellow);
    // The parent entry stands for this directory itself: never removed
    // along with the selection.
    std::vector<std::string> paths = view_->SelectedPaths();
    if (paths.empty())
        return;
    UserPrompt::Answer answer = UserPrompt::Instance().Ask(
        view_, QString::fromLatin1(kRemoveTitle), ToQ(RemoveQuestionText(paths)),
        UserPrompt::Buttons::YesNoCancel, UserPrompt::Icon::Question);
    if (answer != UserPrompt::Answer::Yes)
        return;
    StartFileOperation(paths, std::string(), OpDelete, 1);
}

void BrowseFileCommands::OpenWithExplorer() {
    const std::string& here = view_->CurrentPath();
    if (here == kComputerPath)
        return;
    std::vector<std::string> paths = view_->SelectedPaths();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        // The desktop's file manager, with the first selected item shown.
        QStringList uris;
        uris << QString::fromLatin1(
            FileUrlOf(paths.empty() ? here : paths.front())); // percent-encoded bytes
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"),
            paths.empty() ? QStringLiteral("ShowFolders") : QStringLiteral("ShowItems"));
        call << uris << QString();
        QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return;
    }
    std::string error;
    if (!StartProgram(DefaultOpenerArgv(here), here, &error))
        UserPrompt::Message(view_, tr("Cannot open the directory: %1").arg(ToQ(error)),
                            UserPrompt::Icon::Warning);
}

void BrowseFileCommands::OpenShellHere() {
    const std::string& current = view_->CurrentPath();
    std::string here = current == kComputerPath ? std::string() : current;
    std::string error;
    std::vector<std::string> argv = TerminalArgv();
    if (argv.empty() || !StartProgram(argv, here, &error))
        UserPrompt::Message(view_, tr("No terminal could be started. %1").arg(ToQ(error)),
                            UserPrompt::Icon::Warning);
}

void BrowseFileCommands::GoToLinkTarget() {
    std::vector<std::string> paths = view_->SelectedPaths();
    if (paths.empty())
        return;
    ShortcutTarget target = ResolveShortcutFile(paths.front());
    if (target.kind != ShortcutKind::Path) {
        UserPrompt::Message(view_, QString::fromLatin1(kLinkFileNeeded),
                            UserPrompt::Icon::Information);
        return;
    }
    std::string destination = StripTrailingSlash(target.text);
    view_->Navigate(ParentDirectoryOf(destination), true, true, false);
    view_->SelectPath(destination);
}

void BrowseFileCommands::CopyToClipboard() {
    SetClipboardFileList(view_->SelectedPaths());
    FlashSelection(20, Qt::yellow);
}

void BrowseFileCommands::AddToClipboard() {
    bool hasList = false;
    std::vector<std::string> paths = ClipboardFileList(&hasList);
    if (!hasList)
        QGuiApplication::clipboard()->clear();
    for (const std::string& p : view_->SelectedPaths())
        paths.push_back(p);
    SetClipboardFileList(paths);
    FlashSelection(20, Qt::yellow);
}

void BrowseFileCommands::NamesToClipboard() {
    SelectionToClipboard(false);
}

void BrowseFileCommands::PathsToClipboard() {
    SelectionToClipboard(true);
}

void BrowseFileCommands::SelectionToClipboard(bool fullPaths) {
    FlashSelection(20, Qt::yellow);
    std::vector<std::string> lines;
    for (const std::string& p : view_->SelectedPaths())
        lines.push_back(fullPaths ? p : std::string(FileNameOf(StripTrailingSlash(p))));
    if (!lines.empty())
        SetClipboardText(ToQ(JoinClipboardLines(lines)));
}

void BrowseFileCommands::Paste() {
    const std::string& here = view_->CurrentPath();
    if (here == kComputerPath)
        return;
    const bool listMode = view_->ListMode().IsListMode();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    bool hasList = false;
    std::vector<std::string> paths = FileListOf(data, &hasList);
    if (hasList) {
        if (listMode)
            view_->ListMode().AddListPaths(paths);
        else if (!paths.empty())
            StartFileOperation(paths, here, OpCopy, 1);
        return;
    }
    if (listMode || !data)
        return;
    if (data->hasImage()) {
        SaveDroppedImage(qvariant_cast<QImage>(data->imageData()));
        return;
    }
    if (data->hasText()) {
        QByteArray bytes = data->text().toUtf8();
        std::string path = SaveDroppedText(
            here, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        if (path.empty())
            return;
        view_->RebuildView(true, true, false);
        view_->SelectPath(path);
    }
}

void BrowseFileCommands::PasteShortcut() {
    const std::string& here = view_->CurrentPath();
    if (view_->ListMode().IsListMode() || here == kComputerPath)
        return;
    if (CreateShortcutsIn(here, ClipboardFileList()).empty())
        return;
    view_->RebuildView(true, true, false);
}

bool BrowseFileCommands::SaveDroppedImage(const QImage& picture) {
    const std::string& here = view_->CurrentPath();
    RasterImage image;
    if (picture.isNull() || !FromQImage(picture, image))
        return false;
    std::string path = MakeUniqueName(here, "dropped", "bmp");
    if (path.empty())
        return false;
    std::string extension = "bmp";
    if (GetBoolOption(kConvertDroppedImageKey) && DroppedImageConverter()) {
        // The conversion dialog chooses the format; Cancel saves nothing.
        if (!DroppedImageConverter()(view_, image, extension))
            return false;
    }
    // The name is chosen again for the format the dialog settled on: the
    // free "dropped" name of a BMP may be taken as a PNG.
    std::string target = MakeUniqueName(here, "dropped", LowerExtension(extension));
    if (target.empty())
        return false;
    if (!SaveImage(image, target, FormatOfExtension(LowerExtension(extension)))) {
        UserPrompt::Message(
            view_,
            tr("The picture could not be saved as %1: %2").arg(ToQ(target), ToQ(image.LastError())),
            UserPrompt::Icon::Warning);
        return false;
    }
    view_->RebuildView(true, true, false);
    view_->SelectPath(target);
    return true;
}

void BrowseFileCommands::DropFiles(const std::vector<std::string>& paths, int row,
                                   Qt::KeyboardModifiers modifiers) {
    ShowOnActionTip(view_, kDropImagesTip);
    const std::string& here = view_->CurrentPath();
    if (paths.empty() || here == kComputerPath)
        return;
    const QTable& table = view_->ViewTable();
    DropInput input;
    input.windowDirectory = here;
    if (row >= 0 && row < table.GetRecordCount()) {
        input.itemPath = table.GetText("Path", row);
        input.itemIsParent = view_->Model()->IsParentEntry(row);
    }
    input.listMode = view_->ListMode().IsListMode();
    input.shift = modifiers & Qt::ShiftModifier;
    input.ctrl = modifiers & Qt::ControlModifier;
    input.alt = modifiers & Qt::AltModifier;
    DropPlan plan = PlanDrop(input);
    switch (plan.action) {
    case DropPlan::Action::RunProgram: {
        std::vector<std::string> argv = {plan.program};
        argv.insert(argv.end(), paths.begin(), paths.end());
        std::string error;
        if (!StartProgram(argv, ParentDirectoryOf(plan.program), &error))
            UserPrompt::Message(view_,
                                tr("Cannot run \"%1\": %2").arg(ToQ(plan.program), ToQ(error)),
                                UserPrompt::Icon::Warning);
        return;
    }
    case DropPlan::Action::AddToList:
        view_->ListMode().AddListPaths(paths);
        return;
    case DropPlan::Action::BackgroundPicture:
        if (ReplaceBackgroundPicture(paths.front(), plan.target).empty())
            UserPrompt::Message(view_, tr("Couldn't copy %1").arg(ToQ(paths.front())),
                                UserPrompt::Icon::Warning);
        view_->RebuildView(true, true, false);
        return;
    case DropPlan::Action::Shortcuts:
        CreateShortcutsIn(plan.target, paths);
        view_->RebuildView(true, true, false);
        return;
    case DropPlan::Action::Transfer:
        StartFileOperation(paths, plan.target, plan.operation, 1);
        return;
    }
}

} // namespace orvo
