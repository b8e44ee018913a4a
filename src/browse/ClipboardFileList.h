#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The file lists that Linux file managers put on the clipboard, as bytes:
// text/uri-list (RFC 2483: CR LF after every URI, "#" lines are comments),
// x-special/gnome-copied-files ("copy" or "cut", then one URI a line) and
// the plain-text form older Nautilus versions wrote
// ("x-special/nautilus-clipboard", the verb, the URIs).

// file:// URL of a local path, every byte outside the unreserved set and
// "/" percent-encoded.
std::string FileUrlOf(std::string_view path);

std::string FormatUriList(const std::vector<std::string>& paths);
std::string FormatGnomeCopiedFiles(const std::vector<std::string>& paths, bool cut);

// The local paths of a text/uri-list (other URLs and comments skipped).
std::vector<std::string> ParseUriList(std::string_view text);
// The paths of a gnome-copied-files text, or of a plain text in the old
// Nautilus form; cut tells the verb. Empty when the text is not such a
// list.
std::vector<std::string> ParseCopiedFiles(std::string_view text, bool* cut = nullptr);

} // namespace orvo
