#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The parts of a browse window's file commands that need no window: names
// of new entries, the texts of questions and clipboards, and where a drop
// goes.

// directory + "/" + base + "." + extension (no dot for an empty extension);
// when that exists, the numbers 00 to 19999 are tried between base and dot
// (at least two digits). Empty when every name is taken.
std::string MakeUniqueName(const std::string& directory, std::string_view base,
                           std::string_view extension);

// The name a shortcut takes after what it points to: the target's file
// name, or the first character of the path for a root ("/" gives "/",
// which the callers turn into a name that can exist).
std::string ShortcutBaseName(const std::string& target);
// "A shortcut to NAME.lnk" beside the target (create shortcut).
std::string ShortcutPathBeside(const std::string& target);
// directory + "/" + NAME + ".lnk" (paste shortcut, drop with Alt).
std::string ShortcutPathIn(const std::string& directory, const std::string& target);
// Makes the shortcuts of paste shortcut and of a drop with Alt; returns
// the ones made (a shortcut that cannot be made is skipped).
std::vector<std::string> CreateShortcutsIn(const std::string& directory,
                                           const std::vector<std::string>& targets);

// The question of Remove: one path is named, several are "selected files".
std::string RemoveQuestionText(const std::vector<std::string>& paths);
inline constexpr const char* kRemoveTitle = "Deleting";
inline constexpr const char* kLinkFileNeeded =
    "The link file (*.lnk) must be selected, then Orvo Browser will go the the directory "
    "consisting the target file. ";

// Texts joined by CR LF, none after the last (Names and Paths to Clipboard).
std::string JoinClipboardLines(const std::vector<std::string>& lines);

// Whether a dropped file is a program to start with the dropped paths: a
// regular file with an execute bit, or one whose extension is exe, com,
// bat or sh.
bool IsDropProgram(const std::string& path);

// What a drop does.
struct DropPlan {
    enum class Action {
        Transfer,          // copy or move into target
        RunProgram,        // start program with the dropped paths
        Shortcuts,         // Alt: shortcuts in target
        BackgroundPicture, // Ctrl+Alt: the first file becomes target's picture
        AddToList,         // a list-mode window takes the paths
    };
    Action action = Action::Transfer;
    std::string target;  // the directory the drop goes into
    std::string program; // for RunProgram
    int operation = 0;   // OpCopy or OpMove for Transfer
};

struct DropInput {
    std::string windowDirectory;
    // The row under the drop point: its Path, and whether it is the
    // parent entry "..". Empty when the drop fell beside the rows.
    std::string itemPath;
    bool itemIsParent = false;
    bool listMode = false;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

DropPlan PlanDrop(const DropInput& input);

// Ctrl+Alt drop: source becomes directory/orvoimage.EXT (its own
// extension), after every orvoimage picture already there is deleted.
// Returns the new picture's path; empty when it could not be copied.
std::string ReplaceBackgroundPicture(const std::string& source, const std::string& directory);

// The user's command text run by the shell in a terminal window, started
// in directory; with keepOpen a shell stays open afterwards. False with
// the reason in error when nothing could be started.
bool RunInShell(const std::string& command, const std::string& directory, bool keepOpen,
                std::string* error = nullptr);

// A pasted text saved as dropped.txt, dropped00.txt, ... in the directory
// (its bytes up to a NUL). Empty when no name is free or writing failed.
std::string SaveDroppedText(const std::string& directory, std::string_view text);

} // namespace orvo
