#pragma once

namespace orvo {

// The sound of a finished operation: the desktop's beep, then a short
// 600 Hz tone where there is an audio output (silently nothing where
// there is none).
void PlayEndSignal();

} // namespace orvo
