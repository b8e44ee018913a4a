#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// What a desktop entry's Exec field codes stand for besides the files.
struct ExecContext {
    std::string name;      // %c: the entry's Name
    std::string icon;      // %i: becomes "--icon" ICON
    std::string entryPath; // %k
};

// The processes a desktop entry's Exec value starts for files, each an
// argument vector. The value is split by its quoting rules first; %F and %U
// give one process all the files, %f and %u one process per file, and a
// value without a file code gets the file appended, one process per file.
// A field code inside a quoted argument (sh -c "tool %f") is only good for
// a shell, so there the file is put in as shell text quoted as one word.
// nullopt when the value is malformed (an unclosed quote) or empty.
std::optional<std::vector<std::vector<std::string>>>
ExpandExecForFiles(std::string_view exec, const std::vector<std::string>& files,
                   const ExecContext& context = {});

// Whether an Exec value names where the files go (%f %F %u %U).
bool ExecTakesFiles(std::string_view exec);

// The argument vector for one file (or, with an empty file, for none);
// empty when the value is malformed.
std::vector<std::string> ExpandExecLine(std::string_view exec, const std::string& file,
                                        const std::string& name = {},
                                        const std::string& entryPath = {});

} // namespace orvo
