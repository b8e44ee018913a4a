#include "fileops/TreeMerge.h"

#include "comments/CommentFile.h"
#include "fileops/OperationTexts.h"
#include "platform/EntryOperations.h"
#include "platform/PathText.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace orvo {

namespace {

enum class Kind { Missing, Directory, Other };

Kind KindOf(const std::string& path, struct stat* out = nullptr) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return Kind::Missing;
    if (out)
        *out = st;
    return S_ISDIR(st.st_mode) ? Kind::Directory : Kind::Other;
}

// The entries of a directory but its comment file, which is merged
// instead of copied.
std::vector<std::string> ChildNames(const std::string& directory, bool& readable) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(directory.c_str());
    readable = dir != nullptr;
    if (!dir)
        return names;
    while (dirent* e = ::readdir(dir)) {
        std::string_view name = e->d_name;
        if (name != "." && name != ".." && name != kCommentFileName)
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

std::string Reason(int error) {
    return error ? std::string(": ") + std::strerror(error) : std::string();
}

void ScanExisting(const std::string& src, const std::string& dst,
                  std::vector<std::string>& found) {
    Kind there = KindOf(dst);
    if (there == Kind::Missing)
        return;
    Kind here = KindOf(src);
    if (here == Kind::Other && there == Kind::Other) {
        found.push_back(dst);
    } else if (here == Kind::Directory && there == Kind::Directory) {
        bool readable = false;
        for (const std::string& name : ChildNames(src, readable))
            ScanExisting(JoinPath(src, name), JoinPath(dst, name), found);
    }
}

} // namespace

std::vector<std::string> ExistingTargets(const std::vector<std::string>& items,
                                         const std::vector<std::string>& directories) {
    std::vector<std::string> found;
    for (const std::string& directory : directories)
        for (const std::string& item : items) {
            std::string src = StripTrailingSlash(item);
            ScanExisting(src, JoinPath(directory, FileNameOf(src)), found);
        }
    return found;
}

void TreeMerge::Fail(const std::string& verb, const std::string& src, const std::string& dst,
                     int error) {
    messages_.push_back(CouldNotText(verb, src, dst) + Reason(error));
}

bool TreeMerge::Transfer(const std::string& src, const std::string& dst) {
    switch (KindOf(src)) {
    case Kind::Missing:
        messages_.push_back("File not found: " + src);
        return false;
    case Kind::Directory:
        return TransferDirectory(src, dst);
    case Kind::Other:
        return TransferOther(src, dst);
    }
    return false;
}

bool TreeMerge::TransferOther(const std::string& src, const std::string& dst) {
    Kind there = KindOf(dst);
    if (there == Kind::Directory) {
        Fail(move_ ? "move" : "copy", src, dst, EISDIR);
        return false;
    }
    if (there == Kind::Other && !replace_) {
        ++kept_;
        return false;
    }
    bool ok = move_ ? MoveEntry(src, dst, false, false) : CopyEntry(src, dst, false, false);
    if (!ok)
        Fail(move_ ? "move" : "copy", src, dst, LastEntryError());
    return ok;
}

bool TreeMerge::TransferDirectory(const std::string& src, const std::string& dst) {
    struct stat srcStat {};
    KindOf(src, &srcStat);
    Kind there = KindOf(dst);
    if (there == Kind::Other) {
        // A file or a link in the way: never replaced by a tree, never
        // written through.
        Fail(move_ ? "move" : "copy", src, dst, EEXIST);
        return false;
    }
    bool made = false;
    if (there == Kind::Missing) {
        if (move_ && ::renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(),
                                 RENAME_NOREPLACE) == 0)
            return true; // the whole tree with its comment files
        if (::mkdir(dst.c_str(), 0700) != 0) {
            Fail(move_ ? "move" : "copy", src, dst, errno);
            return false;
        }
        made = true;
    }
    bool readable = false;
    std::vector<std::string> names = ChildNames(src, readable);
    bool all = readable;
    if (!readable)
        messages_.push_back(CouldNotText("read", src) + Reason(errno));
    std::vector<std::string> carried;
    for (const std::string& name : names) {
        std::string from = JoinPath(src, name);
        bool isDirectory = KindOf(from) == Kind::Directory;
        bool arrived = Transfer(from, JoinPath(dst, name));
        if (arrived && !isDirectory)
            carried.push_back(name);
        all = arrived && all;
    }
    CarryComments(src, dst, carried, true, made);
    if (made) {
        // As it was, once nothing more has to be written into it.
        ::chmod(dst.c_str(), srcStat.st_mode & 07777);
        struct timespec times[2] = {srcStat.st_atim, srcStat.st_mtim};
        ::utimensat(AT_FDCWD, dst.c_str(), times, AT_SYMLINK_NOFOLLOW);
    }
    if (move_ && all) {
        ::unlink(CommentFile::PathFor(src).c_str());
        if (::rmdir(src.c_str()) != 0) {
            messages_.push_back(CouldNotText("delete", src) + Reason(errno));
            return false;
        }
    }
    return all;
}

void TreeMerge::CarryComments(const std::string& srcDir, const std::string& dstDir,
                              const std::vector<std::string>& names, bool thisDir, bool made) {
    std::unordered_map<std::string, std::string> source;
    {
        CommentFile from;
        if (from.Load(srcDir) < 0 && names.empty())
            return;
        // Exact keys only: a name differing in letter case is another entry.
        for (const CommentEntry& entry : from.Entries())
            source.emplace(entry.key, entry.comment);
        from.Close(false);
    }
    auto sourceComment = [&](const std::string& key) {
        auto it = source.find(key);
        return it == source.end() ? std::string() : it->second;
    };
    std::string ownComment = thisDir ? sourceComment(std::string(kThisDirKey)) : std::string();
    bool anything = !ownComment.empty();
    for (const std::string& name : names)
        anything = anything || !sourceComment(name).empty();

    CommentFile to;
    bool exists = to.Load(dstDir) >= 0;
    if (!exists && !anything)
        return; // nothing to carry and nothing there to clear
    if (!exists && to.Create(dstDir) < 0) {
        messages_.push_back("Couldn't write the comments of " + dstDir);
        return;
    }
    if (to.IsDamaged()) {
        // Never rewritten: the comments that stay unread in it would go.
        messages_.push_back("Couldn't write the comments of " + dstDir +
                            ": its comment file is damaged");
        return;
    }
    // A replaced file takes its source's comment, even none; a name with no
    // entry of its own has nothing to clear (an entry of another letter
    // case belongs to another file).
    std::unordered_map<std::string, bool> present;
    for (const CommentEntry& entry : to.Entries())
        present.emplace(entry.key, true);
    for (const std::string& name : names) {
        std::string comment = sourceComment(name);
        if (!comment.empty() || present.count(name))
            to.SetComment(name, comment);
    }
    if (!ownComment.empty() && (made || to.OwnComment().empty()))
        to.SetComment(kThisDirKey, ownComment);
    bool written = !to.IsModified() || to.Save(dstDir);
    to.Close(false);
    if (!written) {
        messages_.push_back("Couldn't write the comments of " + dstDir);
        return;
    }
    if (!move_ || names.empty())
        return;
    CommentFile left;
    if (left.Load(srcDir) >= 0) {
        for (const std::string& name : names)
            if (source.count(name))
                left.TakeComment(name);
        left.Close(true);
    }
}

} // namespace orvo
