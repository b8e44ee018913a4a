#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace orvo {

// The bare entry operations of a transfer. Each returns whether it
// succeeded; on failure LastEntryError() holds the system's reason.
// Symbolic links are always worked on as links, never followed.

// Creates every missing directory of path, from the first component below
// the root on; false as soon as one cannot be made (or a component exists
// but is not a directory).
bool CreateDirChain(const std::string& path);

// A directory src only makes directory dst (its contents are the caller's
// business) and succeeds when dst is a directory now. Anything else is
// copied (see CopyNonDirectory): an existing dst fails with failIfExists,
// or when it is read-only, hidden or a special file and keepProtected is
// set; otherwise it is replaced.
bool CopyEntry(const std::string& src, const std::string& dst, bool failIfExists,
               bool keepProtected);

// As CopyEntry for directories; anything else is renamed onto dst, which an
// existing dst does not survive (same conditions as CopyEntry). Across file
// systems the entry is copied and the source deleted once the copy is in
// place; with sourceLeft given, the source is left instead and
// *sourceLeft set, for a caller that deletes it once the copy is durable.
bool MoveEntry(const std::string& src, const std::string& dst, bool failIfExists,
               bool keepProtected, bool* sourceLeft = nullptr);

// The forms a tree walk uses, by names in directories it holds open, so
// no link swapped in for a directory is ever followed.
// Makes (when missing) the directory name in targetDirectory like the
// directory source describes, writable by its owner so contents can
// follow, and opens it without following a link: its descriptor, or -1
// (LastEntryError) when it cannot be made or is not a real directory.
// made tells whether this call created it.
int MakeDirectoryAt(int targetDirectory, const char* name, const struct stat& source, bool& made);
// Gives a directory the permission bits and times of source: done after
// its contents are in, so a read-only one still receives them.
void SetDirectoryAttributes(int directory, const struct stat& source);
// Renames an entry (not a directory) between open directories, replacing
// what is at the target; across file systems it is copied and the source
// left (sourceLeft set) for the caller to delete once the copy is durable.
// size gets the entry's length.
bool MoveEntryAt(int sourceDirectory, const char* sourceName, int targetDirectory,
                 const char* targetName, uint64_t& size, bool& sourceLeft);

// Deletes anything but a directory; refuses read-only, special ("system")
// and hidden entries unless each is allowed.
bool DeleteEntry(const std::string& path, bool allowReadOnly, bool allowSystem, bool allowHidden);

// The errno value of this thread's last failed entry operation.
int LastEntryError();
void SetLastEntryError(int error);

// Whether the entry (not what a link leads to) is read-only, hidden or a
// special file: what "protected" means for overwriting.
bool IsProtectedEntry(const std::string& path);

} // namespace orvo
