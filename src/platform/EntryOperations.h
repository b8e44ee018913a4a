#pragma once

#include <cstdint>
#include <string>

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
// place.
bool MoveEntry(const std::string& src, const std::string& dst, bool failIfExists,
               bool keepProtected);

// The forms a tree walk uses: existing targets are replaced, and size gets
// the entry's length from what the operation looks at anyway. The copy
// takes the walk's word for whether the entry is a directory.
bool CopyWalkedEntry(const std::string& src, const std::string& dst, bool isDirectory,
                     uint64_t& size);
bool MoveWalkedEntry(const std::string& src, const std::string& dst, uint64_t& size);

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
