#include "search/SearchWalker.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace orvo {

SearchWalker::~SearchWalker() {
    while (!levels_.empty())
        Pop();
}

bool SearchWalker::Push(int parentFd, const std::string& name, std::string path, bool throughLink) {
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (throughLink ? 0 : O_NOFOLLOW);
    int fd = ::openat(parentFd, name.c_str(), flags);
    if (fd < 0)
        return false;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool inLink = throughLink || (!levels_.empty() && levels_.back().throughLink);
    levels_.push_back({dir, fd, std::move(path), inLink, nullptr});
    return true;
}

void SearchWalker::Pop() {
    ::closedir(static_cast<DIR*>(levels_.back().dir));
    levels_.pop_back();
}

bool SearchWalker::Start(const std::string& root, bool followLinks) {
    while (!levels_.empty())
        Pop();
    followLinks_ = followLinks;
    enterCurrent_ = false;
    std::string path =
        root.size() > 1 && root.back() == '/' ? root.substr(0, root.size() - 1) : root;
    // The place itself may be a link: it was named, so it is followed. The
    // walk below it is not "through a link" on that account.
    if (!Push(AT_FDCWD, path, path, true))
        return false;
    levels_.back().throughLink = false;
    return true;
}

bool SearchWalker::Next() {
    if (enterCurrent_) {
        enterCurrent_ = false;
        std::string path = Path();
        bool throughLink = type_ == kLink;
        Push(levels_.back().fd, name_, std::move(path), throughLink);
    }
    while (!levels_.empty()) {
        struct dirent* d = ::readdir(static_cast<DIR*>(levels_.back().dir));
        if (!d) {
            Pop();
            continue;
        }
        const char* n = d->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
            continue;
        name_.assign(n);
        pathBuilt_ = false;
        unsigned char t = d->d_type;
        if (t == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(levels_.back().fd, n, &st, AT_SYMLINK_NOFOLLOW) == 0)
                t = IFTODT(st.st_mode);
        }
        type_ = t == DT_DIR ? kDirectory : t == DT_LNK ? kLink : kOther;
        if (type_ == kDirectory) {
            enterCurrent_ = true;
        } else if (type_ == kLink && followLinks_ && !levels_.back().throughLink) {
            struct stat target {};
            enterCurrent_ =
                ::fstatat(levels_.back().fd, n, &target, 0) == 0 && S_ISDIR(target.st_mode);
        }
        return true;
    }
    return false;
}

std::shared_ptr<const int> SearchWalker::SharedDirectoryFd() {
    Level& level = levels_.back();
    if (!level.shared) {
        int fd = ::fcntl(level.fd, F_DUPFD_CLOEXEC, 0);
        level.shared = std::shared_ptr<const int>(new int(fd), [](const int* p) {
            if (*p >= 0)
                ::close(*p);
            delete p;
        });
    }
    return level.shared;
}

const std::string& SearchWalker::Path() const {
    if (!pathBuilt_) {
        const std::string& dir = levels_.back().path;
        path_.assign(dir);
        if (dir.empty() || dir.back() != '/')
            path_.push_back('/');
        path_.append(name_);
        pathBuilt_ = true;
    }
    return path_;
}

bool SearchWalker::Status(struct stat& st, bool follow) const {
    return ::fstatat(levels_.back().fd, name_.c_str(), &st, follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
}

void SearchWalker::SkipRestOfDirectory() {
    enterCurrent_ = false;
    if (levels_.size() > 1)
        Pop();
}

} // namespace orvo
