#include "browse/ui/BrowseIcons.h"

#include "platform/MountTable.h"
#include "platform/Shortcut.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QStyle>
#include <sys/stat.h>

namespace orvo {

namespace {

QIcon Themed(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}

QIcon IconOfMime(const QMimeType& type) {
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    return icon;
}

// Icon files small enough to be their own icon; a larger one is no icon.
constexpr qint64 kMaxOwnIcon = 1024 * 1024;

} // namespace

QIcon BrowseIcons::ParentIcon() {
    static const QIcon icon = Themed("go-up", QStyle::SP_FileDialogToParent);
    return icon;
}

QIcon BrowseIcons::DirectoryIcon() {
    static const QIcon icon = Themed("folder", QStyle::SP_DirIcon);
    return icon;
}

QIcon BrowseIcons::DriveIcon(int driveType) {
    // Themes name these icons differently; the first name the theme has wins.
    auto themed = [](std::initializer_list<const char*> names, QStyle::StandardPixmap fallback) {
        for (const char* name : names)
            if (QIcon::hasThemeIcon(QString::fromLatin1(name)))
                return QIcon::fromTheme(QString::fromLatin1(name));
        return QApplication::style()->standardIcon(fallback);
    };
    static const QIcon fixed = themed({"drive-harddisk"}, QStyle::SP_DriveHDIcon);
    static const QIcon removable =
        themed({"drive-removable-media", "media-flash", "drive-removable-media-usb"},
               QStyle::SP_DriveFDIcon);
    static const QIcon optical = themed({"drive-optical", "media-optical"}, QStyle::SP_DriveCDIcon);
    static const QIcon remote =
        themed({"folder-remote", "network-server"}, QStyle::SP_DriveNetIcon);
    switch (driveType) {
    case DRIVE_REMOVABLE:
        return removable;
    case DRIVE_CDROM:
        return optical;
    case DRIVE_REMOTE:
        return remote;
    default:
        return fixed;
    }
}

QIcon BrowseIcons::ExtensionIcon(const std::string& lowerExtension) {
    static QHash<QString, QIcon> byExtension;
    const QString key = QString::fromStdString(lowerExtension);
    auto it = byExtension.constFind(key);
    if (it != byExtension.constEnd())
        return *it;
    static const QMimeDatabase mimes;
    QIcon icon = IconOfMime(
        mimes.mimeTypeForFile(QStringLiteral("x.") + key, QMimeDatabase::MatchExtension));
    byExtension.insert(key, icon);
    return icon;
}

QIcon BrowseIcons::PathIcon(const std::string& path, const std::string& lowerExtension,
                            bool executable) {
    static const QMimeDatabase mimes;
    const QString qpath = QFile::decodeName(path.c_str());
    if (lowerExtension == "ico" || lowerExtension == "cur") {
        QFileInfo info(qpath);
        if (info.isFile() && info.size() <= kMaxOwnIcon) {
            QIcon own(qpath);
            if (!own.availableSizes().isEmpty())
                return own;
        }
    }
    if (lowerExtension == "lnk" || QFileInfo(qpath).isSymLink()) {
        const std::string target = ResolveShortcut(path);
        struct stat st {};
        if (!target.empty() && ::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return DirectoryIcon();
        if (!target.empty())
            return IconOfMime(mimes.mimeTypeForFile(QFile::decodeName(target.c_str()),
                                                    QMimeDatabase::MatchExtension));
    }
    if (lowerExtension == "desktop") {
        QIcon launcher = QIcon::fromTheme(QStringLiteral("application-x-desktop"));
        if (!launcher.isNull())
            return launcher;
    }
    if (executable)
        return Themed("application-x-executable", QStyle::SP_FileIcon);
    // By name only: the interface thread does not read files for icons.
    return IconOfMime(mimes.mimeTypeForFile(qpath, QMimeDatabase::MatchExtension));
}

QString BrowseIcons::TypeName(const std::string& path, bool isDirectory) {
    static const QMimeDatabase mimes;
    if (isDirectory)
        return mimes.mimeTypeForName(QStringLiteral("inode/directory")).comment();
    return mimes.mimeTypeForFile(QFile::decodeName(path.c_str())).comment();
}

bool BrowseIcons::IsTextFile(const std::string& path) {
    static const QMimeDatabase mimes;
    return mimes.mimeTypeForFile(QFile::decodeName(path.c_str()))
        .inherits(QStringLiteral("text/plain"));
}

} // namespace orvo
