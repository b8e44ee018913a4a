// The file commands of a browse window: shortcuts, removing, the desktop's
// file manager and terminal, links, the clipboard and dropped files.
#include "assist/ui/TipCommands.h"
#include "browse/FileCommands.h"
#include "browse/ViewRebuilder.h"
#include "browse/ui/BrowseClipboard.h"
#include "browse/ui/BrowseCommandFilter.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/ui/FileOperationService.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/Shortcut.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "viewers/image/ImageFile.h"
#include "viewers/ui/RasterQImage.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QListView>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <QUrl>

#include <unordered_set>

namespace orvo {

namespace {

QString ToQ(const std::string& s) {
    return QString::fromStdString(s);
}

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

std::function<std::vector<std::string>(QWidget*)>& FavoriteTargetsSource() {
    static std::function<std::vector<std::string>(QWidget*)> source;
    return source;
}

} // namespace

void COrvoBrowserView::InstallFileCommands() {
    auto* filter = new BrowseCommandFilter(this);
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        // Dragging out carries a file list that other programs understand;
        // the list's own drag would carry rows only this window knows.
        list->setDragEnabled(false);
        list->setAcceptDrops(true);
        list->viewport()->setAcceptDrops(true);
        list->installEventFilter(filter);
        list->viewport()->installEventFilter(filter);
    }
}

void COrvoBrowserView::SetFavoriteTargetsSource(
    std::function<std::vector<std::string>(QWidget*)> source) {
    FavoriteTargetsSource() = std::move(source);
}

std::vector<std::string> COrvoBrowserView::FavoriteTargets() {
    if (listMode_ || !FavoriteTargetsSource())
        return {};
    return FavoriteTargetsSource()(this);
}

void COrvoBrowserView::SetDroppedImageConverter(
    std::function<bool(QWidget*, RasterImage&, std::string&)> converter) {
    DroppedImageConverter() = std::move(converter);
}

void COrvoBrowserView::FlashSelection(int milliseconds, const QColor& color) {
    QAbstractItemView* list = CurrentList();
    std::vector<QRect> frames;
    const QRect visible = list->viewport()->rect();
    for (int row : SelectedRows()) {
        QRect r = list->visualRect(model_->index(row, 0));
        if (mode_ == ViewMode::Details)
            r = r.united(list->visualRect(model_->index(row, ViewTableModel::ColumnCount - 1)));
        r.adjust(-2, -2, 2, 2);
        if (r.intersects(visible))
            frames.push_back(r);
    }
    if (frames.empty())
        return;
    auto* overlay = new FlashOverlay(list->viewport(), std::move(frames), color);
    QTimer::singleShot(milliseconds, overlay, &QObject::deleteLater);
}

void COrvoBrowserView::SelectPaths(const std::vector<std::string>& paths) {
    if (paths.size() == 1) {
        SelectPath(paths.front());
        return;
    }
    // One pass over the rows and one selection change: a list window given
    // a hundred thousand search hits selects them all at once.
    std::unordered_set<std::string_view> wanted(paths.begin(), paths.end());
    const int pathColumn = viewTable_.FieldIndex("Path");
    const int lastColumn = model_->columnCount() - 1;
    QItemSelection selection;
    int current = -1, runStart = -1;
    auto closeRun = [&](int end) {
        if (runStart >= 0)
            selection.select(model_->index(runStart, 0), model_->index(end, lastColumn));
        runStart = -1;
    };
    const int rows = viewTable_.GetRecordCount();
    for (int r = listMode_ ? 0 : 1; r < rows; ++r) {
        if (!wanted.count(viewTable_.GetValue(pathColumn, r).AsStringView())) {
            closeRun(r - 1);
            continue;
        }
        if (current < 0)
            current = r;
        if (runStart < 0)
            runStart = r;
    }
    closeRun(rows - 1);
    if (current < 0)
        return;
    QItemSelectionModel* model = details_->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    model->setCurrentIndex(model_->index(current, 0), QItemSelectionModel::NoUpdate);
    CurrentList()->scrollTo(model_->index(current, 0));
}

void COrvoBrowserView::CreateShortcuts() {
    FlashSelection(20, Qt::yellow);
    std::vector<std::string> made;
    for (const std::string& path : SelectedPaths()) {
        std::string link = ShortcutPathBeside(path);
        if (CreateShortcut(path, link))
            made.push_back(link);
    }
    if (made.empty())
        return;
    RebuildView(true, true, false);
    SelectPaths(made);
}

void COrvoBrowserView::RemoveSelection() {
    if (listMode_) {
        RemoveFromList();
        return;
    }
    DeleteSelection();
}

void COrvoBrowserView::DeleteSelection() {
    FlashSelection(20, Qt::yellow);
    // The parent entry stands for this directory itself: never removed
    // along with the selection.
    std::vector<std::string> paths = SelectedPaths();
    if (paths.empty())
        return;
    UserPrompt::Answer answer = UserPrompt::Instance().Ask(
        this, QString::fromLatin1(kRemoveTitle), ToQ(RemoveQuestionText(paths)),
        UserPrompt::Buttons::YesNoCancel, UserPrompt::Icon::Question);
    if (answer != UserPrompt::Answer::Yes)
        return;
    StartFileOperation(paths, std::string(), OpDelete, 1);
}

void COrvoBrowserView::OpenWithExplorer() {
    if (currentPath_ == kComputerPath)
        return;
    std::vector<std::string> paths = SelectedPaths();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        // The desktop's file manager, with the first selected item shown.
        QStringList uris;
        uris << QUrl::fromLocalFile(ToQ(paths.empty() ? currentPath_ : paths.front())).toString();
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
    if (!StartProgram(DefaultOpenerArgv(currentPath_), currentPath_, &error))
        UserPrompt::Message(this, tr("Cannot open the directory: %1").arg(ToQ(error)),
                            UserPrompt::Icon::Warning);
}

void COrvoBrowserView::OpenShellHere() {
    std::string here = currentPath_ == kComputerPath ? std::string() : currentPath_;
    std::string error;
    std::vector<std::string> argv = TerminalArgv();
    if (argv.empty() || !StartProgram(argv, here, &error))
        UserPrompt::Message(this, tr("No terminal could be started. %1").arg(ToQ(error)),
                            UserPrompt::Icon::Warning);
}

void COrvoBrowserView::GoToLinkTarget() {
    std::vector<std::string> paths = SelectedPaths();
    if (paths.empty())
        return;
    ShortcutTarget target = ResolveShortcutFile(paths.front());
    if (target.kind != ShortcutKind::Path) {
        UserPrompt::Message(this, QString::fromLatin1(kLinkFileNeeded),
                            UserPrompt::Icon::Information);
        return;
    }
    std::string destination = StripTrailingSlash(target.text);
    Navigate(ParentDirectoryOf(destination), true, true, false);
    SelectPath(destination);
}

void COrvoBrowserView::CopyToClipboard() {
    SetClipboardFileList(SelectedPaths());
    FlashSelection(20, Qt::yellow);
}

void COrvoBrowserView::AddToClipboard() {
    bool hasList = false;
    std::vector<std::string> paths = ClipboardFileList(&hasList);
    if (!hasList)
        QGuiApplication::clipboard()->clear();
    for (const std::string& p : SelectedPaths())
        paths.push_back(p);
    SetClipboardFileList(paths);
    FlashSelection(20, Qt::yellow);
}

void COrvoBrowserView::NamesToClipboard() {
    SelectionToClipboard(false);
}
void COrvoBrowserView::PathsToClipboard() {
    SelectionToClipboard(true);
}

void COrvoBrowserView::SelectionToClipboard(bool fullPaths) {
    FlashSelection(20, Qt::yellow);
    std::vector<std::string> lines;
    for (const std::string& p : SelectedPaths())
        lines.push_back(fullPaths ? p : std::string(FileNameOf(StripTrailingSlash(p))));
    if (!lines.empty())
        SetClipboardText(ToQ(JoinClipboardLines(lines)));
}

void COrvoBrowserView::Paste() {
    if (currentPath_ == kComputerPath)
        return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    bool hasList = false;
    std::vector<std::string> paths = FileListOf(data, &hasList);
    if (hasList) {
        if (listMode_)
            AddListPaths(paths);
        else if (!paths.empty())
            StartFileOperation(paths, currentPath_, OpCopy, 1);
        return;
    }
    if (listMode_ || !data)
        return;
    if (data->hasImage()) {
        SaveDroppedImage(qvariant_cast<QImage>(data->imageData()));
        return;
    }
    if (data->hasText()) {
        QByteArray bytes = data->text().toUtf8();
        std::string path = SaveDroppedText(
            currentPath_, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        if (path.empty())
            return;
        RebuildView(true, true, false);
        SelectPath(path);
    }
}

void COrvoBrowserView::PasteShortcut() {
    if (listMode_ || currentPath_ == kComputerPath)
        return;
    if (CreateShortcutsIn(currentPath_, ClipboardFileList()).empty())
        return;
    RebuildView(true, true, false);
}

bool COrvoBrowserView::SaveDroppedImage(const QImage& picture) {
    RasterImage image;
    if (picture.isNull() || !FromQImage(picture, image))
        return false;
    std::string path = MakeUniqueName(currentPath_, "dropped", "bmp");
    if (path.empty())
        return false;
    std::string extension = "bmp";
    if (GetBoolOption(kConvertDroppedImageKey) && DroppedImageConverter()) {
        // The conversion dialog chooses the format; Cancel saves nothing.
        if (!DroppedImageConverter()(this, image, extension))
            return false;
    }
    // The name is chosen again for the format the dialog settled on: the
    // free "dropped" name of a BMP may be taken as a PNG.
    std::string target = MakeUniqueName(currentPath_, "dropped", LowerExtension(extension));
    if (target.empty())
        return false;
    if (!SaveImage(image, target, FormatOfExtension(LowerExtension(extension)))) {
        UserPrompt::Message(
            this,
            tr("The picture could not be saved as %1: %2").arg(ToQ(target), ToQ(image.LastError())),
            UserPrompt::Icon::Warning);
        return false;
    }
    RebuildView(true, true, false);
    SelectPath(target);
    return true;
}

std::string COrvoBrowserView::LowerExtension(const std::string& extension) {
    std::string lower = extension;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

void COrvoBrowserView::DropFiles(const std::vector<std::string>& paths, int row,
                                 Qt::KeyboardModifiers modifiers) {
    ShowOnActionTip(this, kDropImagesTip);
    if (paths.empty() || currentPath_ == kComputerPath)
        return;
    DropInput input;
    input.windowDirectory = currentPath_;
    if (row >= 0 && row < viewTable_.GetRecordCount()) {
        input.itemPath = viewTable_.GetText("Path", row);
        input.itemIsParent = model_->IsParentEntry(row);
    }
    input.listMode = listMode_;
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
            UserPrompt::Message(this,
                                tr("Cannot run \"%1\": %2").arg(ToQ(plan.program), ToQ(error)),
                                UserPrompt::Icon::Warning);
        return;
    }
    case DropPlan::Action::AddToList:
        AddListPaths(paths);
        return;
    case DropPlan::Action::BackgroundPicture:
        if (ReplaceBackgroundPicture(paths.front(), plan.target).empty())
            UserPrompt::Message(this, tr("Couldn't copy %1").arg(ToQ(paths.front())),
                                UserPrompt::Icon::Warning);
        RebuildView(true, true, false);
        return;
    case DropPlan::Action::Shortcuts:
        CreateShortcutsIn(plan.target, paths);
        RebuildView(true, true, false);
        return;
    case DropPlan::Action::Transfer:
        StartFileOperation(paths, plan.target, plan.operation, 1);
        return;
    }
}

} // namespace orvo
