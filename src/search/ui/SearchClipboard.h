#pragma once

#include <QStringList>

namespace orvo {

// Files on the clipboard so that file managers paste them as files: a URI
// list, with the GNOME and KDE forms that say "copy".
void PutFilesOnClipboard(const QStringList& paths);
// Text on the clipboard, each line ended by "\r\n".
void PutLinesOnClipboard(const QStringList& lines);

} // namespace orvo
