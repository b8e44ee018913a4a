#include "browse/ui/BrowsePathBar.h"

#include "browse/BrowseNavigation.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/DriveComboBox.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace orvo {

namespace {
bool ShiftHeld() {
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}
} // namespace

BrowsePathBar::BrowsePathBar(COrvoBrowserView* view) : QObject(view), view_(view) {
    auto button = [view](QStyle::StandardPixmap icon, const char* themeIcon, const QString& tip) {
        auto* b = new QToolButton(view);
        b->setIcon(
            QIcon::fromTheme(QString::fromLatin1(themeIcon), view->style()->standardIcon(icon)));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    back_ = button(QStyle::SP_ArrowBack, "go-previous", tr("Back (Alt+Left)"));
    forward_ = button(QStyle::SP_ArrowForward, "go-next", tr("Forward (Alt+Right)"));
    up_ = button(QStyle::SP_ArrowUp, "go-up", tr("Up (Backspace)"));
    up2_ = button(QStyle::SP_DriveHDIcon, "go-top", tr("Up to the volume's top"));
    driveBox_ = new DriveComboBox(view);
    driveBox_->setToolTip(tr("Drives (Alt+F1)"));
    pathBox_ = new QComboBox(view);
    pathBox_->setEditable(true);
    pathBox_->setInsertPolicy(QComboBox::NoInsert);
    pathBox_->setToolTip(tr("Path: type a directory or a command (Alt+F2)"));
    pathBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Inline completion would turn a typed parent of a remembered path into
    // that path.
    pathBox_->setCompleter(nullptr);
    pathBox_->installEventFilter(this);
    pathBox_->lineEdit()->installEventFilter(this);

    layout_ = new QHBoxLayout;
    layout_->setContentsMargins(2, 2, 2, 2);
    layout_->setSpacing(2);
    layout_->addWidget(driveBox_);
    layout_->addWidget(back_);
    layout_->addWidget(forward_);
    layout_->addWidget(up_);
    layout_->addWidget(up2_);
    layout_->addWidget(pathBox_, 1);

    connect(back_, &QToolButton::clicked, view, &COrvoBrowserView::Back);
    connect(forward_, &QToolButton::clicked, view, &COrvoBrowserView::Forward);
    connect(up_, &QToolButton::clicked, view, &COrvoBrowserView::Up);
    connect(up2_, &QToolButton::clicked, view, &COrvoBrowserView::Up2);
    // Only a choice from the list arrives here: Enter is taken before.
    connect(pathBox_, &QComboBox::textActivated, this,
            [this](const QString& text) { OnPathEntered(text, ShiftHeld()); });
    connect(driveBox_, &QComboBox::activated, this, &BrowsePathBar::OnDriveChosen);
}

QComboBox* BrowsePathBar::PathBox() const {
    return pathBox_;
}

QComboBox* BrowsePathBar::DriveBox() const {
    return driveBox_;
}

void BrowsePathBar::ShowPath(const std::string& path, bool remember) {
    const QString shown = PathToQ(path);
    if (remember) {
        int existing = pathBox_->findText(shown);
        if (existing >= 0)
            pathBox_->removeItem(existing);
        pathBox_->insertItem(0, shown);
    }
    pathBox_->setCurrentIndex(pathBox_->findText(shown));
    pathBox_->setEditText(shown);
    if (path != kComputerPath)
        driveBox_->ShowDriveOf(shown);
    UpdateButtons();
}

void BrowsePathBar::ShowText(const QString& text) {
    pathBox_->setEditText(text);
}

void BrowsePathBar::UpdateButtons() {
    // A list window has no directory to move in; its Up goes to the
    // selected entry's directory.
    const bool listMode = view_->ListMode().IsListMode();
    const std::string& path = view_->CurrentPath();
    back_->setEnabled(!listMode && view_->History().CanGoBack());
    forward_->setEnabled(!listMode && view_->History().CanGoForward());
    up_->setEnabled(listMode || path != kComputerPath);
    up2_->setEnabled(!listMode && path != kComputerPath);
}

bool BrowsePathBar::eventFilter(QObject* watched, QEvent* event) {
    // The combo box acts on Enter only for texts already in its list; every
    // typed text must reach the window, and only once.
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        OnPathEntered(pathBox_->currentText(), key->modifiers() & Qt::ShiftModifier);
        return true;
    }
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        ShowCurrent();
        view_->FocusList(-1);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void BrowsePathBar::ShowCurrent() {
    if (view_->ListMode().IsListMode())
        pathBox_->setEditText(view_->ListMode().Title());
    else
        pathBox_->setEditText(PathToQ(view_->CurrentPath()));
}

void BrowsePathBar::OnPathEntered(const QString& text, bool shift) {
    if (text.startsWith(QLatin1Char('?'))) {
        // "?names \"text\"": a search window that searches at once.
        ShowCurrent();
        emit view_->SearchRequested(text);
        return;
    }
    const std::string home = QToPath(QDir::homePath());
    const std::string& current = view_->CurrentPath();
    const std::string here = current.empty() || current == kComputerPath ? home : current;
    const std::string path = NormalizeTypedPath(QToPath(text), home, here);
    if (path.empty()) {
        ShowCurrent();
        return;
    }
    if (path == kComputerPath || IsDirectory(path)) {
        view_->Navigate(path, true, true, true);
        ShowCurrent();
        view_->FocusList(-1);
        return;
    }
    if (PathExists(path) && !shift) {
        view_->Navigate(ParentDirectoryOf(path), true, true, true);
        view_->SelectPath(path);
        ShowCurrent();
        view_->FocusList(-1);
        return;
    }
    RunTyped(text, here, shift);
    ShowCurrent();
}

void BrowsePathBar::RunTyped(const QString& text, const std::string& here, bool shift) {
    const std::string command = QToPath(text);
    std::vector<std::string> argv;
    if (shift) {
        argv = ShellCommandArgv(command, true);
    } else {
        // A command that names no program would only flash a terminal.
        std::string word = FirstCommandWord(command);
        if (word.find('/') != std::string::npos)
            word = NormalizeTypedPath(word, QToPath(QDir::homePath()), here);
        if (FindProgram(word).empty()) {
            const bool pathLike = text.startsWith(QLatin1Char('~')) || text.contains(QLatin1Char('/'));
            UserPrompt::Message(view_,
                                pathLike ? tr("\"%1\" does not exist.").arg(text)
                                         : tr("\"%1\" is no directory, file or program.").arg(text),
                                UserPrompt::Icon::Warning);
            return;
        }
        argv = ShellCommandArgv(command, false);
    }
    std::string error = "no terminal program found";
    if (argv.empty() || !StartProgram(argv, here, &error))
        UserPrompt::Message(view_, tr("Cannot run \"%1\": %2").arg(text, ToQ(error)),
                            UserPrompt::Icon::Warning);
}

void BrowsePathBar::OnDriveChosen(int index) {
    QString mount = driveBox_->itemData(index).toString();
    if (mount.isEmpty())
        return;
    view_->Navigate(QToPath(mount), true, true, false);
    view_->FocusList(-1);
}

} // namespace orvo
