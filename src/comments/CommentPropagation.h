#pragma once

#include <string>

namespace orvo {

// Entry operations that take the comment along (see EntryOperations.h for
// the operations themselves). A failure to read or write a comment never
// fails the operation. A symbolic link's comment is the entry under its
// name in its directory's comment file: what the link leads to is never
// touched.

// Copies; on success the copy gets the source's comment (read before).
bool CopyWithComment(const std::string& src, const std::string& dst, bool failIfExists,
                     bool keepProtected);
// Moves; on success the comment moves from the old place to the new one.
bool MoveWithComment(const std::string& src, const std::string& dst, bool failIfExists,
                     bool keepProtected);
// Deletes; on success the entry's comment is removed from its directory.
bool DeleteWithComment(const std::string& path, bool allowReadOnly, bool allowSystem,
                       bool allowHidden);

// The plain forms for a single file (dropped files, the copy of a new
// directory): the target's comment becomes the source's even when that is
// empty, so a replaced file does not keep the old file's comment.
bool CopyFileWithComment(const std::string& src, const std::string& dst, bool failIfExists);
bool MoveFileWithComment(const std::string& src, const std::string& dst, bool failIfExists);

// The comment of an entry, links not followed; "" when there is none.
std::string EntryComment(const std::string& path);
// Stores (or, empty, removes) it; false when it could not be written.
bool SetEntryComment(const std::string& path, const std::string& comment);

} // namespace orvo
