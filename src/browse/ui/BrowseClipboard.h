#pragma once

#include <QString>
#include <string>
#include <vector>

class QMimeData;

namespace orvo {

// The clipboard as the file commands use it. A file list goes on it in the
// forms Dolphin, Nautilus and Thunar read (text/uri-list,
// x-special/gnome-copied-files, application/x-kde-cutselection, and the
// paths as plain text), and is read back from any of them.

// Replaces the clipboard's contents with plain text.
void SetClipboardText(const QString& text);

QMimeData* MakeFileListMimeData(const std::vector<std::string>& paths);
void SetClipboardFileList(const std::vector<std::string>& paths);

// The local paths of a file list in the data; hasList tells whether the
// data held a file list at all (an empty one included).
std::vector<std::string> FileListOf(const QMimeData* data, bool* hasList = nullptr);
std::vector<std::string> ClipboardFileList(bool* hasList = nullptr);

} // namespace orvo
