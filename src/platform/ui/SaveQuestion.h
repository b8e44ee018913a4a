#pragma once

#include "platform/FileIO.h"

#include <optional>
#include <string>

class QWidget;

namespace orvo {

// Asks the user, through UserPrompt, before a save replaces a read-only
// file (the path itself or the file a link names). Gives the permission to
// save with; nullopt when the user said No and nothing is to be written.
std::optional<ReadOnlyFiles> AskBeforeSavingOver(QWidget* parent, const std::string& path);

} // namespace orvo
