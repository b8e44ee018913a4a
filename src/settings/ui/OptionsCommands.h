#pragma once

#include "settings/OptionsStore.h"

#include <QString>
#include <string>

class QWidget;

namespace orvo {

class CTableEditorDlg;

// Menu texts of the option commands, as the main frame shows them.
inline constexpr const char* kRereadOptionsText = "Re-read otpions";
inline constexpr const char* kRereadOptionsStatus = "Re-reads otpions";
inline constexpr const char* kGeneralOptionsText = "General options";
inline constexpr const char* kFilesColorsText = "Files colors";
inline constexpr const char* kSpecialFileTypesText = "Special file types";

inline constexpr const char* kFilesColorsHint = "You can change here the files colors...";
inline constexpr const char* kSpecialFilesHint =
    "Do not delete, or rename or add new records, only redefine file names if you want it. See "
    "help for details.";

// Loads the process-wide options from a file (the data directory's when
// no path is given) and tells the user when the file cannot be used.
OptionsLoadResult LoadOptionsWithPrompt(QWidget* parent, const std::string& path);
OptionsLoadResult LoadOptionsWithPrompt(QWidget* parent);
// "Re-read otpions": loads the file the options came from again, dropping
// the changes made since. Open table editors on the options are closed
// first. The caller redraws the main window.
OptionsLoadResult RereadOptions(QWidget* parent);
// Saves the process-wide options at exit; tells the user when it fails.
OptionsSaveResult SaveOptionsWithPrompt(QWidget* parent);

// "General options": runs the dialog and, on OK, stores its values. The
// caller re-applies the background and redraws whichever way it ends.
bool RunGeneralOptions(QWidget* parent);

// "Files colors" and "Special file types": the table editor on "File
// groups" or "Special files", without a modal loop. Null (after a message)
// when the options have no such table.
CTableEditorDlg* OpenFilesColorsEditor(QWidget* parent);
CTableEditorDlg* OpenSpecialFileTypesEditor(QWidget* parent);

} // namespace orvo
