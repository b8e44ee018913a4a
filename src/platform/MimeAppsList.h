#pragma once

#include <string>
#include <string_view>

namespace orvo {

struct DesktopApplication;

// Remembers an application for a MIME type as other file managers do: it
// becomes the first of the type's added associations in the user's
// $XDG_CONFIG_HOME/mimeapps.list and leaves the type's removed ones. Every
// other line of the file stays byte for byte; the file is replaced whole,
// never seen half written. Throws FileError.
void RememberApplication(std::string_view mimeType, std::string_view desktopId);

// The same change made to the text of a mimeapps.list.
std::string WithApplicationRemembered(std::string_view text, std::string_view mimeType,
                                      std::string_view desktopId);

// Saves an application made from a typed command as a desktop entry of the
// user's ($XDG_DATA_HOME/applications/userapp-NAME-XXXXXX.desktop), kept out
// of menus and declaring mimeType, so that it can be remembered like any
// other; fills in its id and path. Throws FileError.
void SaveUserApplication(DesktopApplication& app, std::string_view mimeType);

} // namespace orvo
