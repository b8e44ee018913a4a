#pragma once

#include "comments/CommentKeys.h"
#include "comments/CommentLookup.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvo {

// Comments by path. A directory's own comment lives under ":THIS_DIR:" in
// its own comment file, any other entry's under its name in the comment
// file of the directory that holds it (names are matched as CommentLookup
// tells; an entry named ":THIS_DIR:" has no comment). Each call opens and
// closes a CommentFile of its own.

// "" when the path does not exist or carries no comment.
std::string GetComment(const std::string& path);

// Stores (or, with an empty comment, removes) the comment of an existing
// path, creating the comment file when needed. False when the path does not
// exist, cannot have a comment (NameCanHaveComment) or the comment file
// could not be written (a damaged comment file is never rewritten).
bool SetComment(const std::string& path, std::string_view comment);

// Why SetComment (path, a comment) failed, as a phrase for the user: the
// path is gone, the comment file is damaged or read-only, the directory
// cannot be written.
std::string CommentNotSavedReason(const std::string& path);

// Removes the comment and returns it; for a path that no longer exists (as
// after a move) the entry under exactly its last component in its parent's
// file.
std::string TakeComment(const std::string& path);

// GetComment for many paths at once, each directory's comment file read
// once: a list of search hits may hold thousands of entries of one
// directory, and reading its comment file again for each of them made a
// list of 20 000 entries take most of a minute. The files are read and let
// go at once (no lock is kept); comments stored after a directory was read
// are not seen by the same reader.
class CommentReader {
public:
    std::string Get(const std::string& path);

private:
    struct Directory {
        std::vector<CommentEntry> entries;
        CommentLookup lookup;
        std::unique_ptr<DirectoryNames> names;
    };
    Directory& Read(const std::string& directory);

    std::unordered_map<std::string, Directory> directories_;
};

} // namespace orvo
