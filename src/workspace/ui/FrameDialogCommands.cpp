#include "workspace/ui/FrameDialogCommands.h"

#include "assist/ui/TipCommands.h"
#include "browse/ui/COrvoBrowserView.h"
#include "fileops/NewEntries.h"
#include "platform/DataDirectory.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionsStore.h"
#include "settings/ui/OptionsCommands.h"
#include "store/ui/CTableEditorDlg.h"
#include "store/ui/CTableGrid.h"
#include "workspace/ui/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QUrl>
#include <filesystem>

namespace orvo {

FrameDialogCommands::FrameDialogCommands(CMainFrame& frame) : frame_(frame) {}

void FrameDialogCommands::BuildActions() {
    auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = menu->addAction(text);
        if (!key.isEmpty())
            a->setShortcut(key);
        a->setShortcutContext(Qt::ApplicationShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* optionsMenu = frame_.OptionsMenu();
    add(optionsMenu, QStringLiteral("General options"), QKeySequence(),
        &FrameDialogCommands::ShowGeneralOptions);
    add(optionsMenu, QStringLiteral("Files colors"), QKeySequence(),
        &FrameDialogCommands::ShowFileColors);
    add(optionsMenu, QStringLiteral("Special file types"), QKeySequence(),
        &FrameDialogCommands::ShowSpecialFileTypes);
    add(optionsMenu, QStringLiteral("File types directory"), QKeySequence(),
        &FrameDialogCommands::ShowFileTypesDirectory);
    optionsMenu->addSeparator();
    // The menu text and its status line keep their spelling on purpose:
    // users and the help know the command by them.
    add(optionsMenu, QString::fromLatin1(kRereadOptionsText), QKeySequence(),
        &FrameDialogCommands::RereadOptions)
        ->setStatusTip(QString::fromLatin1(kRereadOptionsStatus));

    QMenu* helpMenu = frame_.HelpMenu();
    add(helpMenu, QStringLiteral("Tip of the day..."), QKeySequence(),
        &FrameDialogCommands::ShowTipOfTheDay);
    add(helpMenu, QStringLiteral("&Keyboard map"), QKeySequence(Qt::Key_F1),
        &FrameDialogCommands::ShowKeyboardMap);
    helpMenu->addSeparator();
    add(helpMenu, QStringLiteral("About"), QKeySequence(), &FrameDialogCommands::ShowAbout);
}

void FrameDialogCommands::ShowGeneralOptions() {
    RunGeneralOptions(&frame_);
    // The background and the comment file's visibility may have changed.
    frame_.ApplyBackground();
    for (COrvoBrowserView* view : frame_.ViewsInStackingOrder())
        view->RebuildView(true, true, false);
}

void FrameDialogCommands::ShowFileColors() {
    CTableEditorDlg* editor = OpenFilesColorsEditor(&frame_);
    // An editor already open (brought forward) is followed already.
    if (!editor || editor->property("restyles").toBool())
        return;
    editor->setProperty("restyles", true);
    // Every edit shows in the windows while the editor is still open.
    auto restyle = [this] {
        for (COrvoBrowserView* view : frame_.ViewsInStackingOrder())
            view->ApplyRowLooks();
    };
    QAbstractItemModel* grid = editor->Grid()->model();
    connect(grid, &QAbstractItemModel::dataChanged, this, restyle);
    connect(grid, &QAbstractItemModel::modelReset, this, restyle);
    connect(grid, &QAbstractItemModel::rowsInserted, this, restyle);
    connect(grid, &QAbstractItemModel::rowsRemoved, this, restyle);
}

void FrameDialogCommands::ShowSpecialFileTypes() {
    OpenSpecialFileTypesEditor(&frame_);
}

void FrameDialogCommands::ShowFileTypesDirectory() {
    const std::string directory = FileTemplatesDirectory();
    // The templates are the user's to add: a missing folder is made, so
    // the window opens where new ones belong.
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) {
        UserPrompt::Message(&frame_,
                            tr("The new-file templates directory \"%1\" cannot be made: %2")
                                .arg(PathToQ(directory), QString::fromStdString(ec.message())),
                            UserPrompt::Icon::Warning);
        return;
    }
    if (COrvoBrowserView* view = frame_.OpenBrowseWindow(directory))
        view->FocusList(0);
}

void FrameDialogCommands::RereadOptions() {
    orvo::RereadOptions(&frame_);
    frame_.ApplyBackground();
    for (COrvoBrowserView* view : frame_.ViewsInStackingOrder())
        view->RebuildView(true, true, true);
}

void FrameDialogCommands::ShowTipOfTheDay() {
    RunTipOfDay(&frame_, GetOptionsDatabase(), true);
}

void FrameDialogCommands::ShowKeyboardMap() {
    QString path = QString::fromStdString(DataFilePath("help/keymap.txt"));
    if (!QFile::exists(path)) {
        UserPrompt::Message(&frame_, tr("The keyboard map is missing: %1").arg(path),
                            UserPrompt::Icon::Warning);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void FrameDialogCommands::ShowAbout() {
    UserPrompt::Message(
        &frame_,
        tr("Orvo Browser %1\n\nA file manager whose files and directories carry "
           "their own comments.\nBuilt with Qt %2.")
            .arg(QApplication::applicationVersion(), QString::fromLatin1(qVersion())),
        UserPrompt::Icon::Information, tr("About Orvo Browser"));
}

} // namespace orvo
