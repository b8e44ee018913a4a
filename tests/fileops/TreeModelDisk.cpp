#include "TreeModelDisk.h"

#include "comments/CommentFile.h"
#include "comments/PathComments.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo::test {

namespace {

constexpr std::string_view kThisDir = ":THIS_DIR:";

bool WriteBytes(const std::string& path, const ModelNode& node) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    std::vector<char> buffer(1 << 16);
    bool ok = true;
    for (uint64_t done = 0; ok && done < node.size;) {
        size_t n = static_cast<size_t>(std::min<uint64_t>(buffer.size(), node.size - done));
        ContentBytes(node.content, done, buffer.data(), n);
        ok = ::write(fd, buffer.data(), n) == static_cast<ssize_t>(n);
        done += n;
    }
    return ::close(fd) == 0 && ok;
}

bool SetStamps(const std::string& path, const ModelNode& node) {
    timespec times[2] = {*node.mtime, *node.mtime};
    return ::chmod(path.c_str(), node.mode) == 0 &&
           ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

const char* KindName(mode_t mode) {
    return S_ISDIR(mode)   ? "directory"
           : S_ISLNK(mode) ? "link"
           : S_ISREG(mode) ? "file"
                           : "special";
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::string TimeText(const timespec& t) {
    return std::to_string(t.tv_sec) + "." + std::to_string(t.tv_nsec);
}

std::string ModeText(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

} // namespace

bool WriteModelTree(const std::string& path, ModelNode& node) {
    std::vector<CommentEntry> comments;
    if (!node.comment.empty())
        comments.push_back({std::string(kThisDir), node.comment});
    for (auto& [name, child] : node.children) {
        std::string childPath = JoinModelPath(path, name);
        bool ok = true;
        switch (child->kind) {
        case ModelNode::Kind::Directory:
            ok = ::mkdir(childPath.c_str(), 0700) == 0 && WriteModelTree(childPath, *child);
            break;
        case ModelNode::Kind::File:
            ok = WriteBytes(childPath, *child) && SetStamps(childPath, *child);
            break;
        case ModelNode::Kind::Link:
            ok = ::symlink(child->target.c_str(), childPath.c_str()) == 0;
            break;
        }
        if (!ok)
            return false;
        if (!child->IsDirectory() && !child->comment.empty())
            comments.push_back({name, child->comment});
    }
    if (!comments.empty()) {
        std::string bytes = CommentFile::Serialize(comments);
        std::ofstream(CommentFile::PathFor(path), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // Last, as the entries made above changed the directory's times.
    return !node.mtime || SetStamps(path, node);
}

void DiskChecker::Differ(const std::string& path, const std::string& what) {
    if (differences_.size() < maxDifferences)
        differences_.push_back(Printable(path) + ": " + what);
}

std::vector<std::string> DiskChecker::Compare(const TreeModel& model) {
    differences_.clear();
    for (const std::string& root : model.Roots())
        CompareDirectory(model, root, *model.Find(root));
    return differences_;
}

void DiskChecker::CompareDirectory(const TreeModel& model, const std::string& path,
                                   const ModelNode& node) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(path.c_str())) {
        while (dirent* d = ::readdir(dir)) {
            std::string name = d->d_name;
            if (name != "." && name != ".." && name != kCommentFileName)
                names.push_back(name);
        }
        ::closedir(dir);
    } else {
        Differ(path, "cannot be read");
        return;
    }
    for (const std::string& name : names) {
        if (!node.children.count(name)) {
            struct stat st {};
            ::lstat(JoinModelPath(path, name).c_str(), &st);
            Differ(JoinModelPath(path, name),
                   std::string("a ") + KindName(st.st_mode) + " that should not be there");
        }
    }
    for (const auto& [name, child] : node.children) {
        std::string childPath = JoinModelPath(path, name);
        if (std::find(names.begin(), names.end(), name) == names.end())
            Differ(childPath, "missing");
        else
            CompareEntry(model, childPath, *child);
    }
    CompareComments(model, path, node);
}

void DiskChecker::CompareEntry(const TreeModel& model, const std::string& path,
                               const ModelNode& node) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        Differ(path, "cannot be read");
        return;
    }
    mode_t expected = node.kind == ModelNode::Kind::Directory ? S_IFDIR
                      : node.kind == ModelNode::Kind::Link    ? S_IFLNK
                                                              : S_IFREG;
    if ((st.st_mode & S_IFMT) != expected) {
        Differ(path,
               std::string("is a ") + KindName(st.st_mode) + ", should be a " + KindName(expected));
        return;
    }
    bool stamps = !node.IsDirectory() || directoryStamps;
    if (node.kind != ModelNode::Kind::Link && stamps) {
        if ((st.st_mode & 07777) != node.mode)
            Differ(path, "mode " + ModeText(st.st_mode) + ", should be " + ModeText(node.mode));
        if (node.mtime && !SameTime(st.st_mtim, *node.mtime))
            Differ(path,
                   "modified " + TimeText(st.st_mtim) + ", should be " + TimeText(*node.mtime));
    }
    if (node.kind == ModelNode::Kind::Link) {
        std::string target(4096, '\0');
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        target.resize(n > 0 ? static_cast<size_t>(n) : 0);
        if (target != node.target)
            Differ(path,
                   "leads to " + Printable(target) + ", should lead to " + Printable(node.target));
    } else if (node.kind == ModelNode::Kind::File) {
        if (static_cast<uint64_t>(st.st_size) != node.size)
            Differ(path,
                   std::to_string(st.st_size) + " bytes, should be " + std::to_string(node.size));
        else if (!SameContent(path, node, st))
            Differ(path, "other bytes than it should hold");
    } else {
        CompareDirectory(model, path, node);
    }
}

bool DiskChecker::SameContent(const std::string& path, const ModelNode& node,
                              const struct stat& st) {
    auto seen = seen_.find(path);
    if (seen != seen_.end() && seen->second.inode == st.st_ino &&
        SameTime(seen->second.ctime, st.st_ctim) && seen->second.content == node.content)
        return true;
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::vector<char> want(1 << 16), got(1 << 16);
    bool same = true;
    for (uint64_t done = 0; same && done < node.size;) {
        size_t n = static_cast<size_t>(std::min<uint64_t>(want.size(), node.size - done));
        ContentBytes(node.content, done, want.data(), n);
        same = ::pread(fd, got.data(), n, static_cast<off_t>(done)) == static_cast<ssize_t>(n) &&
               std::equal(want.begin(), want.begin() + static_cast<ptrdiff_t>(n), got.begin());
        done += n;
    }
    ::close(fd);
    if (same)
        seen_[path] = {st.st_ino, st.st_ctim, node.content};
    return same;
}

void DiskChecker::CompareComments(const TreeModel& model, const std::string& path,
                                  const ModelNode& node) {
    // A file named like the directory's own key is kept apart however the
    // program does it: its comment and the directory's are compared by
    // what the program reads, not by the entries of the file.
    bool keyTaken = node.children.count(std::string(kThisDir)) > 0;
    std::map<std::string, std::string> expected;
    if (!node.comment.empty() && !keyTaken)
        expected[std::string(kThisDir)] = node.comment;
    for (const auto& [name, child] : node.children)
        if (!child->IsDirectory() && !child->comment.empty() && !(keyTaken && name == kThisDir))
            expected[name] = child->comment;

    std::string file = CommentFile::PathFor(path);
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<CommentEntry> entries;
    if (!CommentFile::ParseEntries(bytes, entries))
        Differ(file, "damaged");
    std::map<std::string, std::string> found;
    for (const CommentEntry& e : entries) {
        if (keyTaken && e.key == kThisDir)
            continue;
        if (!found.emplace(e.key, e.comment).second)
            Differ(file, "holds \"" + Printable(e.key) + "\" twice");
    }
    for (const auto& [key, comment] : found) {
        auto it = expected.find(key);
        if (it == expected.end())
            Differ(JoinModelPath(path, key),
                   "comment \"" + Printable(comment) + "\" is left in the comment file");
        else if (it->second != comment)
            Differ(JoinModelPath(path, key), "comment \"" + Printable(comment) +
                                                 "\", should be \"" + Printable(it->second) + "\"");
    }
    for (const auto& [key, comment] : expected)
        if (!found.count(key))
            Differ(JoinModelPath(path, key),
                   "comment \"" + Printable(comment) + "\" is missing from the comment file");

    // What the program shows, entry by entry, read as a listing reads it.
    CommentReader reader;
    for (const auto& [name, child] : node.children) {
        std::string childPath = JoinModelPath(path, name);
        std::string shown = reader.Get(childPath);
        std::string should = model.VisibleComment(*child);
        if (shown != should)
            Differ(childPath, "shows comment \"" + Printable(shown) + "\", should show \"" +
                                  Printable(should) + "\"");
    }
}

void DiskChecker::LearnTimes(const TreeModel& model) {
    auto learn = [](const std::string& path, ModelNode& node) {
        struct stat st {};
        if (node.IsDirectory() && !node.mtime && ::lstat(path.c_str(), &st) == 0)
            node.mtime = st.st_mtim;
    };
    for (const std::string& root : model.Roots())
        learn(root, *model.Find(root));
    model.ForEach(learn);
}

} // namespace orvo::test
