#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace orvo {

// The walk of one search place: depth first, each directory returned before
// its contents, every level in the order the file system gives, without
// "." and "..". Symbolic links are entries of their own; with followLinks
// a link to a directory is walked into, but links met inside it are not
// (one level, which also keeps a link to an ancestor from looping). The
// rest of a directory can be skipped at any entry. Directories that cannot
// be opened are passed over.
class SearchWalker {
public:
    SearchWalker() = default;
    SearchWalker(const SearchWalker&) = delete;
    SearchWalker& operator=(const SearchWalker&) = delete;
    ~SearchWalker();

    // false when the place cannot be opened as a directory.
    bool Start(const std::string& root, bool followLinks);
    bool Next();

    std::string_view Name() const { return name_; }
    // The full path of the current entry (built on demand).
    const std::string& Path() const;
    // The directory that holds the current entry, and its open descriptor.
    const std::string& DirectoryPath() const { return levels_.back().path; }
    int DirectoryFd() const { return levels_.back().fd; }
    // The same directory open for as long as someone holds it, past the
    // walk's leaving it.
    std::shared_ptr<const int> SharedDirectoryFd();
    // 1 for the entries of the place itself, 2 for theirs, and so on.
    int Depth() const { return static_cast<int>(levels_.size()); }
    bool IsDirectory() const { return type_ == kDirectory; }
    bool IsLink() const { return type_ == kLink; }
    // The entry's status, of what a link points to when follow is set;
    // false when it cannot be read (a link that leads nowhere).
    bool Status(struct stat& st, bool follow) const;
    // Leaves the rest of the current entry's directory (and the entry
    // itself, if it is a directory) unwalked.
    void SkipRestOfDirectory();

private:
    enum Type : uint8_t { kOther, kDirectory, kLink };
    struct Level {
        void* dir = nullptr; // DIR*
        int fd = -1;
        std::string path;
        bool throughLink = false;
        std::shared_ptr<const int> shared;
    };
    bool Push(int parentFd, const std::string& name, std::string path, bool throughLink);
    void Pop();

    std::vector<Level> levels_;
    std::string name_;
    mutable std::string path_;
    mutable bool pathBuilt_ = false;
    Type type_ = kOther;
    bool followLinks_ = false;
    bool enterCurrent_ = false;
};

} // namespace orvo
