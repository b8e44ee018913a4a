#pragma once

namespace orvo {

// Process-wide phases of the program's life that windows consult: tips
// that must not appear while the windows of the last run come back, and
// windows that must not record themselves while the program shuts down.
struct AppState {
    bool startupFinished = false;
    bool closing = false;
};

AppState& GetAppState();

} // namespace orvo
