#include "workspace/ui/FrameRecentFiles.h"

#include "platform/DataDirectory.h"
#include "platform/FileStatus.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameListCommands.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

namespace orvo {

namespace {

const QString kGroup = QStringLiteral("Recent File List");

QString EntryKey(int i) {
    return QStringLiteral("File%1").arg(i + 1);
}

// The settings file of the data directory, where the list is kept.
QString SettingsFilePath() {
    return PathToQ(DataFilePath("OrvoBrowser.ini"));
}

} // namespace

FrameRecentFiles::FrameRecentFiles(CMainFrame& frame) : frame_(frame) {
    Load();
}

void FrameRecentFiles::Load() {
    QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    std::vector<std::string> paths;
    for (int i = 0; i < static_cast<int>(RecentFileList::kCapacity); ++i) {
        // Stored as bytes: a file name need not be UTF-8.
        QByteArray path = settings.value(EntryKey(i)).toByteArray();
        if (!path.isEmpty())
            paths.emplace_back(path.constData(), static_cast<size_t>(path.size()));
    }
    list_.Assign(paths);
}

void FrameRecentFiles::Save() const {
    QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    settings.remove(kGroup);
    settings.beginGroup(kGroup);
    const auto& entries = list_.Entries();
    for (size_t i = 0; i < entries.size(); ++i)
        settings.setValue(EntryKey(static_cast<int>(i)), QByteArray::fromStdString(entries[i]));
    settings.endGroup();
    settings.sync();
}

void FrameRecentFiles::BuildActions(QMenu* menu, QAction* before) {
    menu_ = menu;
    before_ = before;
    FillMenu();
}

void FrameRecentFiles::Add(const QString& path) {
    list_.Add(QToPath(path));
    Save();
    FillMenu();
}

void FrameRecentFiles::FillMenu() {
    if (!menu_)
        return;
    // An entry may be the one whose click brought us here: it goes later.
    for (QAction* a : actions_) {
        menu_->removeAction(a);
        a->deleteLater();
    }
    actions_.clear();
    const auto& entries = list_.Entries();
    if (!separator_) {
        separator_ = new QAction(menu_);
        separator_->setSeparator(true);
        menu_->insertAction(before_, separator_);
    }
    separator_->setVisible(!entries.empty());
    for (size_t i = 0; i < entries.size(); ++i) {
        const QString path = PathToQ(entries[i]);
        QString shown = menu_->fontMetrics().elidedText(path, Qt::ElideMiddle, 480);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), menu_);
        a->setToolTip(path);
        a->setStatusTip(tr("Opens the file list %1").arg(path));
        connect(a, &QAction::triggered, this, [this, p = entries[i]] { Open(p); });
        menu_->insertAction(separator_, a);
        actions_ << a;
    }
}

void FrameRecentFiles::Open(const std::string& path) {
    if (!GetFileStatus(path).isRegular) {
        UserPrompt::Message(&frame_,
                            tr("The file list \"%1\" no longer exists; it leaves the recent "
                               "files.")
                                .arg(PathToQ(path)),
                            UserPrompt::Icon::Warning);
        list_.Remove(path);
        Save();
        FillMenu();
        return;
    }
    frame_.Lists().OpenListDocument(PathToQ(path));
}

} // namespace orvo
