#include "workspace/AppState.h"

namespace orvo {

AppState& GetAppState() {
    static AppState state;
    return state;
}

} // namespace orvo
