#pragma once

#include "platform/DesktopExec.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// Which program does what on this desktop. Each function returns the
// argument vector to hand to StartProgram (empty when nothing fits), so
// that file names always travel as arguments of their own.

// $TERMINAL, else x-terminal-emulator, else xterm; empty when none exists.
std::string FindTerminal();

// A terminal window; StartProgram's working directory decides where it
// opens.
std::vector<std::string> TerminalArgv();

// A command run by $SHELL (else /bin/sh) in a terminal window. With
// keepOpen an interactive shell follows the command in the same window.
// The command is shell text written by the user; names to pass along go in
// arguments, which the command sees as "$1", "$2", ...
std::vector<std::string> ShellCommandArgv(const std::string& command, bool keepOpen,
                                          const std::vector<std::string>& arguments = {});

// The text editor for a file: the desktop's default application for
// text/plain, else $VISUAL or $EDITOR in a terminal window.
std::vector<std::string> TextEditorArgv(const std::string& file);

// The desktop's default handler (xdg-open) for a file, directory or URL.
std::vector<std::string> DefaultOpenerArgv(const std::string& target);

// The desktop entry id (like "org.gnome.TextEditor.desktop") of the
// application that comes first for a MIME type (see ApplicationsForTypes);
// empty when none is known.
std::string DefaultApplicationFor(std::string_view mimeType);

// The path of an installed desktop entry, searched in the XDG data
// directories; empty when it is not installed.
std::string FindDesktopEntry(std::string_view desktopId);

} // namespace orvo
