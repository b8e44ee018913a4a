#pragma once

#include "comments/CommentKeys.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvo {

// Whether a directory holds an entry of exactly a given name. The names are
// gathered at the first question (most lookups never ask one), from the
// disk or from a caller that already has them all, as a listing does.
class DirectoryNames {
public:
    using Gather = std::function<void(std::unordered_set<std::string>&)>;

    explicit DirectoryNames(std::string directory) : directory_(std::move(directory)) {}
    explicit DirectoryNames(Gather gather) : gather_(std::move(gather)) {}

    // A directory that cannot be read holds every name: without its names
    // no key can be shown to be an orphan.
    bool Has(std::string_view name);
    // Gathers now, so later questions answer for the directory as it is now.
    void GatherNow();

private:
    std::string directory_;
    Gather gather_;
    std::unordered_set<std::string> names_;
    bool gathered_ = false;
    bool unreadable_ = false;
};

// Finds the entries of a comment file by name. Taking, storing, moving and
// deleting match the exact key only. Reading an entry's comment falls back
// to a key that equals its name ignoring case when that key is an orphan:
// no entry of the directory has exactly its name, as when the comment file
// was written on a file system that ignores case. Were the fallback not so
// bounded, a.txt would show, take along or lose the comment of A.TXT beside
// it. The indexes are built at the first lookup (a listing looks up every
// name of a directory) and dropped by Invalidate when the entries change.
class CommentLookup {
public:
    void Invalidate();
    // The last of entries was just added.
    void Appended(const std::vector<CommentEntry>& entries);
    // The first entry whose key is key, or -1.
    int Exact(const std::vector<CommentEntry>& entries, std::string_view key) const;
    // The entry that holds the comment of the entry called name, or -1;
    // never the directory's own key (see NameCanHaveComment).
    int ForName(const std::vector<CommentEntry>& entries, std::string_view name,
                DirectoryNames& names) const;

private:
    mutable bool indexed_ = false;
    mutable bool folded_indexed_ = false;
    mutable std::unordered_map<std::string, size_t> exact_;
    mutable std::unordered_multimap<std::string, size_t> folded_; // by lower-case key
};

} // namespace orvo
