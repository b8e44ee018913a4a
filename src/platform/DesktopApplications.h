#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// An installed program as its desktop entry describes it.
struct DesktopApplication {
    std::string id;   // "org.example.Edit.desktop"; empty for a bare command
    std::string path; // the entry's file
    std::string name; // in the user's language where the entry has it
    std::string icon; // a theme icon name or a file
    std::string exec;
    std::string workingDirectory; // Path=, empty when not given
    bool terminal = false;
    bool noDisplay = false;
};

// The application of a desktop entry id as the desktop finds it (the first
// folder holding the id wins, so a user's Hidden copy removes a system
// entry); nullopt when it is missing or not to be started here: hidden,
// TryExec not installed, not for this desktop, or without Exec.
std::optional<DesktopApplication> FindApplication(std::string_view desktopId);

// The applications registered for a file whose types are mimeTypes (its own
// type first, then its aliases and the types it is a kind of), in the
// desktop's order: the default one, then the added associations of the
// mimeapps.list files, then the entries declaring the type themselves; any
// association a mimeapps.list removes is left out. Each appears once.
std::vector<DesktopApplication> ApplicationsForTypes(const std::vector<std::string>& mimeTypes);

// Every installed application meant to be shown in a menu, sorted by name.
std::vector<DesktopApplication> InstalledApplications();

// A command typed by the user as an application: its name is the program's
// file name, and the files go at its end unless it says where.
DesktopApplication ApplicationForCommand(const std::string& command);

// Why a typed command cannot be started (a clear sentence), or empty when
// it can.
std::string CommandProblem(const std::string& command);

// The argument vectors that start an application on files, as the desktop
// starts it: its Exec with the field codes expanded, in a terminal window
// when the entry asks for one. Empty when the entry's Exec is malformed or
// no terminal is installed for it.
std::vector<std::vector<std::string>> ApplicationArgvs(const DesktopApplication& app,
                                                       const std::vector<std::string>& files);

} // namespace orvo
