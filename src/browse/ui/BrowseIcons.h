#pragma once

#include <QIcon>
#include <string>

namespace orvo {

// Icons of the desktop's icon theme for browse-window rows. Icons shared by
// extension, the directory icon and the drive icons are made once for the
// program; icons by path are made on every call (the window keeps them).
class BrowseIcons {
public:
    static QIcon ParentIcon();
    static QIcon DirectoryIcon();
    // driveType: a DriveType value of the mount table.
    static QIcon DriveIcon(int driveType);
    static QIcon ExtensionIcon(const std::string& lowerExtension);
    // An entry whose icon depends on the entry: a program, a link (the icon
    // of what it points at), an icon file (its own picture), a launcher.
    static QIcon PathIcon(const std::string& path, const std::string& lowerExtension,
                          bool executable);
    // The desktop's type name of a file ("JPEG image"); reads the start of
    // the file when its name says nothing, so not for the interface thread.
    static QString TypeName(const std::string& path, bool isDirectory);
    // Whether the file's type is text of any kind (by name and content).
    static bool IsTextFile(const std::string& path);
};

} // namespace orvo
