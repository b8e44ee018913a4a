#pragma once

#include <string>
#include <vector>

namespace orvo {

// Copies or moves entries into directories that may hold entries of the
// same names already, without the operation window. A directory goes into
// an existing directory of its name by merging: what is only on one side
// stays, and an entry on both sides is replaced only when replacing was
// chosen, else kept (with its own comment). Comments travel entry by entry:
// a comment file is merged into, never copied over the one that is there.
// Nothing at the target is followed: a link where a directory would go is
// a failure, never a way through. A move takes from the source only what
// arrived; a kept entry's source stays where it was.
class TreeMerge {
public:
    TreeMerge(bool move, bool replaceExisting) : move_(move), replace_(replaceExisting) {}

    // src (file, link or directory) to the full target path dst; true when
    // all of it arrived.
    bool Transfer(const std::string& src, const std::string& dst);

    // Entries kept because they were there already and replacing was not chosen.
    size_t Kept() const { return kept_; }
    // "Couldn't copy A to B: reason" and the like, in the order they happened.
    const std::vector<std::string>& Messages() const { return messages_; }

    // The comments of the non-directories in names move (or are copied)
    // from srcDir's comment file to dstDir's. A new directory (made) takes
    // srcDir's own comment; an existing one only when it has none.
    // Public for the one-entry transfers of the caller.
    void CarryComments(const std::string& srcDir, const std::string& dstDir,
                       const std::vector<std::string>& names, bool thisDir, bool made);

private:
    bool TransferDirectory(const std::string& src, const std::string& dst);
    bool TransferOther(const std::string& src, const std::string& dst);
    void Fail(const std::string& verb, const std::string& src, const std::string& dst,
              int error);

    bool move_;
    bool replace_;
    size_t kept_ = 0;
    std::vector<std::string> messages_;
};

// The entries that a transfer of items into directories would find in its
// way (a non-directory where a non-directory goes), at any depth of a
// directory that merges into an existing one; what to ask before it.
std::vector<std::string> ExistingTargets(const std::vector<std::string>& items,
                                         const std::vector<std::string>& directories);

} // namespace orvo
