#include "platform/ui/OpenWith.h"

#include "platform/DesktopApplications.h"
#include "platform/FileIO.h"
#include "platform/FileStatus.h"
#include "platform/MimeAppsList.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/ui/OpenWithDialog.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QMimeDatabase>

namespace orvo {

namespace {

QString MenuText(const std::string& name) {
    return ToQ(name).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Remembers what the dialog chose for the type; a failure to write is told
// but the file still opens.
void Remember(QWidget* parent, DesktopApplication& app, const QString& mimeType) {
    try {
        if (app.id.empty())
            SaveUserApplication(app, mimeType.toStdString());
        RememberApplication(mimeType.toStdString(), app.id);
    } catch (const FileError& e) {
        UserPrompt::Message(parent,
                            QObject::tr("The choice is not remembered: %1").arg(ToQ(e.what())),
                            UserPrompt::Icon::Warning);
    }
}

void ChooseOther(QWidget* parent, const std::vector<std::string>& files) {
    const QStringList types = MimeTypesForPath(files.front());
    const QMimeType type = QMimeDatabase().mimeTypeForName(types.front());
    OpenWithDialog dialog(PathToQ(FileNameOf(files.front())),
                          type.comment().isEmpty() ? types.front() : type.comment(), parent);
    if (!dialog.Run() || !dialog.Chosen())
        return;
    DesktopApplication app = *dialog.Chosen();
    if (dialog.RememberBox()->isChecked())
        Remember(parent, app, types.front());
    LaunchApplication(parent, app, files);
}

void FillMenu(QMenu* menu, QWidget* parent, const std::vector<std::string>& files) {
    std::vector<std::string> types;
    for (const QString& t : MimeTypesForPath(files.front()))
        types.push_back(t.toStdString());
    for (const DesktopApplication& app : ApplicationsForTypes(types)) {
        QAction* a = menu->addAction(ApplicationIcon(app.icon), MenuText(app.name));
        QObject::connect(a, &QAction::triggered, parent,
                         [parent, app, files] { LaunchApplication(parent, app, files); });
    }
    if (menu->isEmpty())
        menu->addAction(QObject::tr("No application is registered for this type"))
            ->setEnabled(false);
    menu->addSeparator();
    QAction* other = menu->addAction(QObject::tr("&Other application..."));
    QObject::connect(other, &QAction::triggered, parent,
                     [parent, files] { ChooseOther(parent, files); });
}

} // namespace

QStringList MimeTypesForPath(const std::string& path) {
    if (IsDirectory(path))
        return {QStringLiteral("inode/directory")};
    const QLatin1String anyBytes("application/octet-stream");
    const QMimeType type = QMimeDatabase().mimeTypeForFile(PathToQ(path));
    // Without a MIME database installed every file is just bytes.
    if (!type.isValid())
        return {anyBytes};
    QStringList types{type.name()};
    types += type.aliases();
    // Every type is a kind of application/octet-stream; the programs for
    // any bytes at all are no choice for this type.
    for (const QString& ancestor : type.allAncestors())
        if (ancestor != anyBytes)
            types << ancestor;
    return types;
}

QIcon ApplicationIcon(const std::string& icon) {
    if (icon.empty())
        return QIcon::fromTheme(QStringLiteral("application-x-executable"));
    const QString name = ToQ(icon);
    if (name.startsWith(QLatin1Char('/')))
        return QIcon(name);
    QIcon themed = QIcon::fromTheme(name);
    return themed.isNull() ? QIcon::fromTheme(QFileInfo(name).completeBaseName()) : themed;
}

bool LaunchApplication(QWidget* parent, const DesktopApplication& app,
                       const std::vector<std::string>& files) {
    const std::vector<std::vector<std::string>> processes = ApplicationArgvs(app, files);
    const std::string directory =
        app.workingDirectory.empty() ? ParentDirectoryOf(files.front()) : app.workingDirectory;
    std::string error = processes.empty() ? (app.terminal ? "no terminal program is installed"
                                                          : "its command line is not valid")
                                          : std::string();
    for (const auto& argv : processes)
        if (!StartProgram(argv, directory, &error))
            break;
    if (error.empty())
        return true;
    UserPrompt::Message(parent,
                        QObject::tr("Cannot open \"%1\" with %2: %3")
                            .arg(PathToQ(FileNameOf(files.front())), ToQ(app.name), ToQ(error)),
                        UserPrompt::Icon::Warning);
    return false;
}

QMenu* AddOpenWithMenu(QMenu* menu, QWidget* parent, const std::vector<std::string>& files) {
    QMenu* sub = menu->addMenu(QObject::tr("Open &with"));
    sub->setObjectName(QStringLiteral("OpenWithMenu"));
    if (files.empty()) {
        sub->setEnabled(false);
        return sub;
    }
    // Looking the applications up reads every installed entry: only done
    // when the user opens the submenu.
    QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, parent, files] {
        if (sub->isEmpty())
            FillMenu(sub, parent, files);
    });
    return sub;
}

} // namespace orvo
