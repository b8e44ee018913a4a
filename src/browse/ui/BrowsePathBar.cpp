#include "browse/ui/BrowsePathBar.h"

#include "browse/BrowseNavigation.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/DriveComboBox.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileStatus.h"
#include "platform/ProcessLauncher.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
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
    connect(pathBox_, &QComboBox::textActivated, this, &BrowsePathBar::OnPathEntered);
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

void BrowsePathBar::OnPathEntered(const QString& text) {
    if (text.startsWith(QLatin1Char('?'))) {
        // "?names \"text\"": a search window that searches at once.
        pathBox_->setEditText(PathToQ(view_->CurrentPath()));
        emit view_->SearchRequested(text);
        return;
    }
    std::string path = NormalizeTypedPath(QToPath(text), QToPath(QDir::homePath()));
    if (path.empty())
        return;
    if (path == kComputerPath || IsDirectory(path)) {
        view_->Navigate(path, true, true, true);
        view_->FocusList(-1);
        return;
    }
    // Not a directory: a command to run, or a file to open, from here.
    const std::string& current = view_->CurrentPath();
    std::string here = current == kComputerPath ? QDir::homePath().toStdString() : current;
    std::vector<std::string> argv;
    if (ShiftHeld())
        argv = ShellCommandArgv(QToPath(text), true);
    else if (PathExists(path))
        argv = DefaultOpenerArgv(path);
    else
        argv = ShellCommandArgv(QToPath(text), false);
    std::string error;
    if (argv.empty() || !StartProgram(argv, here, &error))
        UserPrompt::Message(view_, tr("Cannot run \"%1\": %2").arg(text, ToQ(error)),
                            UserPrompt::Icon::Warning);
    pathBox_->setEditText(PathToQ(view_->CurrentPath()));
}

void BrowsePathBar::OnDriveChosen(int index) {
    QString mount = driveBox_->itemData(index).toString();
    if (mount.isEmpty())
        return;
    view_->Navigate(QToPath(mount), true, true, false);
    view_->FocusList(-1);
}

} // namespace orvo
