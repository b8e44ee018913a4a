#pragma once

#include <functional>

class QWidget;

namespace orvo {

class CMainFrame;

// Reads the options file of the data directory into the process-wide
// options (a new data directory is seeded first) and tells the user when
// the file could not be used; the program then runs on defaults.
void LoadMainFrameOptions(QWidget* parent);
// Writes the options back; a failure is reported, never silent.
void SaveMainFrameOptions(QWidget* parent);

// Work that must happen while the main frame shuts down, after the window
// layout is recorded (closing viewers and search windows, the question
// about temporary directories). Later features register theirs here.
void AddShutdownHook(std::function<void(CMainFrame*)> hook);
void RunShutdownHooks(CMainFrame* frame);

} // namespace orvo
