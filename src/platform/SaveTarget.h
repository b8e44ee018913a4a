#pragma once

#include <string>

namespace orvo {

// The file a save of a path really writes. Symbolic links are followed to
// the file they name so that the link stays a link; a dangling link names
// a file the save creates.
struct SaveTarget {
    enum class State {
        New,       // nothing there yet: the save creates it
        Writable,  // a regular file the save may replace
        ReadOnly,  // a file the user (or the system) marked unwritable
        NotAFile,  // a directory, device or pipe: never replaced by a save
        Unreachable // a chain of links too long or looping, or unreadable
    };
    std::string path; // the saved path with its links followed
    State state = State::New;
    bool throughLink = false;
    int error = 0; // the system's reason when Unreachable
};

SaveTarget ResolveSaveTarget(const std::string& path);

} // namespace orvo
