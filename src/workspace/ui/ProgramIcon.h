#pragma once

#include <QIcon>

namespace orvo {

// The program's own icon in every size it ships (16 to 256 pixels).
QIcon ProgramIcon();

} // namespace orvo
