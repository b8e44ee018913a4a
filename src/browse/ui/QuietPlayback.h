#pragma once

#include <QString>

class QMediaPlayer;

namespace orvo {

// The hover tip's "Playing...": a sound file plays with no window, softly,
// and stops when the tip goes or another file starts. A file that cannot
// be played stays silent; nothing asks or tells the user anything.
void PlayQuietly(const QString& path);
// Whether the hover tip plays a file ("Playing...") rather than telling
// about it: by its extension, as HoverPlayExtensionList says.
bool PlaysOnHover(const QString& path);
void StopQuietPlayback();
// The path playing (or being opened) now; empty when none.
QString QuietlyPlayingPath();

// Whether the media framework can decode anything at all. Without its
// decoder plugins the system's player crashes when it is made, so no
// player is made then.
bool MediaPlaybackInstalled();

// The player behind it, for tests; null before the first PlayQuietly.
QMediaPlayer* QuietPlayer();

} // namespace orvo
