#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace orvo {

// Walks a directory tree depth-first, each directory returned before its
// contents, every level in the order the file system gives. Symbolic links
// are entries of their own and never entered, unless a link depth asks for
// links to directories to be followed that many levels deep (the search's
// "Follow the links").
class CTreeFinder {
public:
    CTreeFinder() = default;
    CTreeFinder(const CTreeFinder&) = delete;
    CTreeFinder& operator=(const CTreeFinder&) = delete;
    ~CTreeFinder();

    // Begins a walk of root (one trailing "/" removed); false when the
    // directory cannot be opened.
    bool Start(const std::string& root, bool recursive, bool includeDots);
    // The next entry; false when the whole tree is done.
    bool FindNext();
    void SetLinkDepth(int depth) { linkDepth_ = depth; }
    // The current entry, a directory, is not entered: the walk goes on with
    // what follows it.
    void SkipContents() { skipContents_ = true; }

    const std::string& GetRoot() const { return root_; }
    const std::string& GetFileName() const { return name_; }
    const std::string& GetFilePath() const;
    // A real directory: a link to one is not.
    bool IsDirectory() const;
    bool IsSymlink() const;
    // A device, FIFO or socket (what the "system" letter stands for here).
    bool IsSpecial() const;
    bool IsDots() const;
    // The entry's own length (a link's, not its target's); 0 when it
    // cannot be read.
    uint64_t GetLength() const;
    // The entry's own status; false when it cannot be read.
    bool GetStatus(struct stat& st) const;
    // The open directory that holds the current entry (valid until the
    // next FindNext), for looking its name up there.
    int DirectoryFd() const { return returned_ ? entryFd_ : -1; }
    // 1 for the entries of the root, 2 for theirs, and so on.
    int Depth() const { return depth_; }

    // Directories met in the walk that could not be opened, since the last
    // call (their entries are missing from the walk).
    std::vector<std::string> TakeUnreadable();

    // How many entries a walk would return.
    static uint64_t Count(const std::string& root, bool recursive, bool includeDots);

private:
    struct Level;
    bool Push(const std::string& path, bool throughLink);
    void Close();
    bool LoadStatus() const;

    std::vector<Level*> stack_;
    std::string root_;
    std::string name_;
    mutable std::string path_;
    mutable bool pathBuilt_ = true;
    const std::string* parent_ = nullptr; // the current level's path
    bool recursive_ = false;
    bool includeDots_ = false;
    bool returned_ = false;
    bool skipContents_ = false;
    int linkDepth_ = 0;
    int depth_ = 0;
    unsigned char type_ = 0; // DT_* of the current entry
    int entryFd_ = -1;       // the directory that holds the current entry
    mutable bool statLoaded_ = false;
    mutable bool statOk_ = false;
    mutable struct stat stat_ {};
    std::vector<std::string> unreadable_;
};

} // namespace orvo
