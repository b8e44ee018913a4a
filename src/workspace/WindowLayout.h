#pragma once

#include "store/QTable.h"

#include <string>
#include <vector>

namespace orvo {

// One browse window as the "Browse windows" table records it between runs.
struct SavedWindow {
    std::string path; // the directory, or the .orl document of a list window
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool maximized = false;
    std::string selectedPath;
};

// The rows in table order: the first row is the window that was active.
std::vector<SavedWindow> ReadSavedWindows(const QTable& table);
// Replaces the rows; windows with an empty path are not recorded.
void WriteSavedWindows(QTable& table, const std::vector<SavedWindow>& windows);

// The order in which start-up recreates the windows: last row first, so the
// window that was active is created last and ends on top. Windows whose
// path is gone are left out.
std::vector<SavedWindow> WindowsToRestore(const std::vector<SavedWindow>& saved);

} // namespace orvo
