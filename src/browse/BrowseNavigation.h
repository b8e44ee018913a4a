#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// Where the navigation commands of a browse window lead, as text.

// Up: the parent directory; from "/" the drive list "Computer/"; from the
// drive list itself nowhere (empty).
std::string UpTarget(std::string_view current);
// Up2: the mount point that holds the current directory.
std::string Up2Target(std::string_view current);
// The title of a window showing a directory: "$ name $" for the temporary
// directories (whose parent is named TmpDirs, in any letter case), else the
// path itself.
std::string DocumentTitleFor(std::string_view path);
// The text of a path typed or chosen by the user: "~" expanded, one
// trailing "/" removed (but "/" kept). A relative text is taken from base
// when base is an absolute directory, and "." and ".." are resolved, so
// that ".." typed in the box leads where Up does.
std::string NormalizeTypedPath(std::string_view text, const std::string& home,
                               const std::string& base = {});
// The program a command line starts: its first word, unquoted when it is
// in quotes ('a b' or "a b").
std::string FirstCommandWord(std::string_view command);

// Quick search: the names (Name + "." + Extension, lower case) that match
// the typed text. A name without a dot gets a trailing dot; a text without
// a dot matches anywhere in the name, a text with a dot is a wildcard
// pattern ("*" any run, "?" one character) for the whole name.
// "*" any run, "?" one character, compared as given (callers lower-case).
bool WildcardMatch(std::string_view text, std::string_view pattern);
bool QuickSearchMatches(std::string_view candidate, std::string_view typed);
// The indexes of the names that match, in order.
std::vector<size_t> QuickSearchCandidates(const std::vector<std::string>& names,
                                          std::string_view typed);

} // namespace orvo
