#pragma once

#include "fileops/ui/CNewDirectoryDlg.h"

#include <string>
#include <vector>

class QWidget;

namespace orvo {

// The new-directory command in a directory: asks with the dialog, makes
// the directories, gives them their comments and copies or moves the
// selection into them (one directory: through the File operation window;
// several: at once, without it, asking first whether entries that are there
// already are replaced). Returns the directories there now, made or found;
// empty when cancelled. made, when given, receives only what this command
// itself created (see NewEntriesReport::made).
std::vector<std::string> RunNewDirectoryCommand(QWidget* parent, const std::string& directory,
                                                const std::vector<std::string>& selection,
                                                CNewDirectoryDlg::Form form,
                                                const QString& name = QString(),
                                                std::vector<std::string>* made = nullptr);

// The new-file command: files made from a template of the file-types
// directory, with their comments; the dialog starts with the template
// named templateName when there is one. Returns the files made.
std::vector<std::string> RunNewFileCommand(QWidget* parent, const std::string& directory,
                                           const std::string& templateName = {});

} // namespace orvo
