#pragma once

#include <string>
#include <string_view>

namespace orvo {

// Comments by path. A directory's own comment lives under ":THIS_DIR:" in
// its own comment file, any other entry's under its name in the comment
// file of the directory that holds it. Each call opens and closes a
// CommentFile of its own.

// "" when the path does not exist or carries no comment.
std::string GetComment(const std::string& path);

// Stores (or, with an empty comment, removes) the comment of an existing
// path, creating the comment file when needed. False when the path does not
// exist or the comment file could not be written (a damaged comment file is
// never rewritten).
bool SetComment(const std::string& path, std::string_view comment);

// Removes the comment and returns it; for a path that no longer exists (as
// after a move) the entry under its last component in its parent's file.
std::string TakeComment(const std::string& path);

} // namespace orvo
