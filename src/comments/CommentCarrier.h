#pragma once

#include "comments/CommentLookup.h"

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvo {

// The comment work of one transfer, gathered per directory: a directory's
// comment file is read once for all its entries, and the changes to one
// file are written together, instead of reading and rewriting it for every
// entry. Not shared between threads. Everything still queued is written by
// Flush and at the latest when the carrier goes.
class CommentCarrier {
public:
    CommentCarrier() = default;
    CommentCarrier(const CommentCarrier&) = delete;
    CommentCarrier& operator=(const CommentCarrier&) = delete;
    ~CommentCarrier() { Flush(); }

    // The comment of an entry that is not a directory, by its name in its
    // directory's comment file (CommentLookup's reading rule), as it was
    // when first read in this run.
    std::string CommentOf(const std::string& path);
    // Whether the comment file of path's directory holds a comment under
    // exactly path's name (no reading rule: what a copy of the file carries).
    bool HasEntry(const std::string& path);
    // The entry at path gets comment (a non-empty one).
    void Give(const std::string& path, const std::string& comment);
    // The entry at path is gone: its comment goes too.
    void Forget(const std::string& path);

    // Names of the target directory whose entries keep their own comment
    // (a file kept by "Skip" kept its own content).
    using KeepTarget = std::function<bool(const std::string& name)>;

    // The comment file of a directory being copied or moved, carried when
    // the directory is made, before any of its entries is moved and so
    // forgotten in the source: copied as it is when the target directory
    // has none, else its entries are merged into the target's (the
    // source's comment wins for a name both have, unless keep says the
    // target's entry stays), so comments already in the target directory
    // are kept. A source without one carries nothing. False only when a
    // copy was needed and failed (LastEntryError tells why).
    bool CarryCommentFile(const std::string& sourceDirectory, const std::string& targetDirectory,
                          const KeepTarget& keep = {});

    // Removes an emptied directory of a delete or a move. A comment file
    // left behind only holds comments of entries that went, so when it is
    // all that is left it goes too. When the directory cannot be removed
    // its queued changes are written, so the entries still in it keep
    // their comments and the gone ones lose theirs.
    bool RemoveDirectory(const std::string& directory);

    void FlushDirectory(const std::string& directory);
    void Flush();

private:
    struct Lookup {
        std::vector<CommentEntry> entries;
        CommentLookup index;
        DirectoryNames names;
    };
    struct Change {
        std::string key;
        std::string comment; // empty: remove
    };

    Lookup& SourceOf(const std::string& directory);
    void Queue(const std::string& directory, Change change);
    // Forgets what is queued for a directory that is gone.
    void Drop(const std::string& directory);

    std::unordered_map<std::string, Lookup> sources_;
    std::unordered_map<std::string, std::vector<Change>> changes_;
    size_t queued_ = 0;
    size_t queuedGives_ = 0; // of them, new comments
};

} // namespace orvo
