#pragma once

#include <QStringList>
#include <string>
#include <vector>

class QIcon;
class QMenu;
class QWidget;

namespace orvo {

struct DesktopApplication;

// The MIME types a file is known by when its applications are looked up:
// its own type, its aliases, then the types it is a kind of (text/x-c++src
// is text/plain too). A directory is inode/directory.
QStringList MimeTypesForPath(const std::string& path);

// An entry's Icon: a file when it is a path, else a name of the icon theme.
QIcon ApplicationIcon(const std::string& icon);

// Starts an application on files as the desktop does, in the directory of
// the first file unless the entry names its own; a message tells when it
// cannot. False when a process did not start.
bool LaunchApplication(QWidget* parent, const DesktopApplication& app,
                       const std::vector<std::string>& files);

// Appends the "Open with" submenu for files (the first one's type decides)
// to menu: the applications registered for the type, the default first,
// then "Other application..." to choose any one and remember it. The
// entries are looked up when the submenu opens.
QMenu* AddOpenWithMenu(QMenu* menu, QWidget* parent, const std::vector<std::string>& files);

} // namespace orvo
