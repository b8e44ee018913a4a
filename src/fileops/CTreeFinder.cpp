#include "fileops/CTreeFinder.h"

#include "platform/PathText.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace orvo {

struct CTreeFinder::Level {
    DIR* dir = nullptr;
    std::string path;
};

CTreeFinder::~CTreeFinder() {
    Close();
}

void CTreeFinder::Close() {
    for (Level* level : stack_) {
        ::closedir(level->dir);
        delete level;
    }
    stack_.clear();
    returned_ = false;
    entryFd_ = -1;
    path_.clear();
    pathBuilt_ = true;
}

bool CTreeFinder::Push(const std::string& path, bool throughLink) {
    // A directory swapped for a link after it was listed is not entered:
    // a delete must never reach outside its tree.
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (throughLink ? 0 : O_NOFOLLOW);
    int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        return false;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    stack_.push_back(new Level{dir, path});
    return true;
}

bool CTreeFinder::Start(const std::string& root, bool recursive, bool includeDots) {
    Close();
    unreadable_.clear();
    root_ = root.size() > 1 && root.back() == '/' ? root.substr(0, root.size() - 1) : root;
    recursive_ = recursive;
    includeDots_ = includeDots;
    skipContents_ = false;
    name_.clear();
    path_.clear();
    pathBuilt_ = true;
    depth_ = 0;
    return Push(root_, true);
}

bool CTreeFinder::FindNext() {
    bool skip = skipContents_;
    skipContents_ = false;
    if (returned_ && recursive_ && !IsDots() && !skip) {
        bool enter = IsDirectory();
        // Following a link is the search's option, bounded by the depth.
        if (!enter && linkDepth_ > 0 && type_ == DT_LNK &&
            static_cast<int>(stack_.size()) <= linkDepth_) {
            struct stat target {};
            enter = ::stat(GetFilePath().c_str(), &target) == 0 && S_ISDIR(target.st_mode);
        }
        if (enter && !Push(GetFilePath(), !IsDirectory()) && IsDirectory())
            unreadable_.push_back(GetFilePath());
    }
    while (!stack_.empty()) {
        Level* top = stack_.back();
        errno = 0;
        struct dirent* d = ::readdir(top->dir);
        if (!d) {
            if (stack_.size() == 1 || !recursive_) {
                Close();
                return false;
            }
            ::closedir(top->dir);
            delete top;
            stack_.pop_back();
            continue;
        }
        const char* n = d->d_name;
        bool dots = n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'));
        if (dots && !includeDots_)
            continue;
        name_.assign(n);
        pathBuilt_ = false; // most callers never ask for it
        parent_ = &top->path;
        type_ = d->d_type;
        entryFd_ = ::dirfd(top->dir);
        statLoaded_ = false;
        if (type_ == DT_UNKNOWN && LoadStatus())
            type_ = IFTODT(stat_.st_mode);
        depth_ = static_cast<int>(stack_.size());
        returned_ = true;
        return true;
    }
    returned_ = false;
    return false;
}

const std::string& CTreeFinder::GetFilePath() const {
    if (!pathBuilt_) {
        path_ = JoinPath(*parent_, name_);
        pathBuilt_ = true;
    }
    return path_;
}

bool CTreeFinder::LoadStatus() const {
    if (!statLoaded_) {
        statLoaded_ = true;
        statOk_ =
            entryFd_ >= 0 && ::fstatat(entryFd_, name_.c_str(), &stat_, AT_SYMLINK_NOFOLLOW) == 0;
    }
    return statOk_;
}

bool CTreeFinder::IsDirectory() const {
    return returned_ && type_ == DT_DIR;
}
bool CTreeFinder::IsSymlink() const {
    return returned_ && type_ == DT_LNK;
}

bool CTreeFinder::IsSpecial() const {
    return returned_ && type_ != DT_REG && type_ != DT_DIR && type_ != DT_LNK &&
           type_ != DT_UNKNOWN;
}

bool CTreeFinder::IsDots() const {
    return name_ == "." || name_ == "..";
}

uint64_t CTreeFinder::GetLength() const {
    return returned_ && LoadStatus() ? static_cast<uint64_t>(stat_.st_size) : 0;
}

bool CTreeFinder::GetStatus(struct stat& st) const {
    if (!returned_ || !LoadStatus())
        return false;
    st = stat_;
    return true;
}

std::vector<std::string> CTreeFinder::TakeUnreadable() {
    std::vector<std::string> out;
    out.swap(unreadable_);
    return out;
}

uint64_t CTreeFinder::Count(const std::string& root, bool recursive, bool includeDots) {
    CTreeFinder finder;
    uint64_t n = 0;
    if (finder.Start(root, recursive, includeDots))
        while (finder.FindNext())
            ++n;
    return n;
}

} // namespace orvo
