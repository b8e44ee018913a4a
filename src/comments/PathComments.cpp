#include "comments/PathComments.h"

#include "comments/CommentFile.h"
#include "platform/PathText.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

struct CommentPlace {
    std::string directory;
    std::string key;
    bool own = false; // the directory's own comment
    // False for an entry whose name cannot have a comment.
    bool possible() const { return own || NameCanHaveComment(key); }
};

// A directory keeps its comment in its own file; anything else (a file,
// or a path that is gone) in its parent's.
CommentPlace PlaceOf(const std::string& path, bool isDirectory) {
    std::string p = StripTrailingSlash(path);
    if (isDirectory)
        return {p, std::string(kThisDirKey), true};
    return {ParentDirectoryOf(p), std::string(FileNameOf(p)), false};
}

// Follows links: a link to a directory has the directory's comment.
bool StatPath(const std::string& path, bool& isDirectory) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return false;
    isDirectory = S_ISDIR(st.st_mode);
    return true;
}

} // namespace

CommentReader::Directory& CommentReader::Read(const std::string& directory) {
    auto found = directories_.find(directory);
    if (found != directories_.end())
        return found->second;
    Directory& read = directories_[directory];
    CommentFile file;
    if (file.Read(directory) > 0)
        read.entries = file.Entries();
    read.names = std::make_unique<DirectoryNames>(directory);
    return read;
}

std::string CommentReader::Get(const std::string& path) {
    bool isDirectory = false;
    if (!StatPath(path, isDirectory))
        return {};
    CommentPlace place = PlaceOf(path, isDirectory);
    Directory& directory = Read(place.directory);
    int i = place.own ? directory.lookup.Exact(directory.entries, place.key)
                      : directory.lookup.ForName(directory.entries, place.key, *directory.names);
    return i < 0 ? std::string() : directory.entries[static_cast<size_t>(i)].comment;
}

std::string GetComment(const std::string& path) {
    bool isDirectory = false;
    if (!StatPath(path, isDirectory))
        return {};
    CommentPlace place = PlaceOf(path, isDirectory);
    CommentFile file;
    if (file.Read(place.directory) < 0)
        return {};
    return place.own ? file.OwnComment() : file.GetComment(place.key);
}

bool SetComment(const std::string& path, std::string_view comment) {
    bool isDirectory = false;
    if (!StatPath(path, isDirectory))
        return false;
    CommentPlace place = PlaceOf(path, isDirectory);
    if (!place.possible())
        return false;
    CommentFile file;
    if (file.Load(place.directory) < 0) {
        if (comment.empty())
            return true; // nothing stored, nothing to remove
        if (file.Create(place.directory) < 0)
            return false;
    }
    if (!file.SetComment(place.key, comment))
        return !file.IsDamaged();
    bool saved = file.Save(place.directory);
    file.Close(false);
    return saved;
}

std::string CommentNotSavedReason(const std::string& path) {
    bool isDirectory = false;
    if (!StatPath(path, isDirectory))
        return "it no longer exists";
    CommentPlace place = PlaceOf(path, isDirectory);
    if (!place.possible())
        return "its name is the key of the directory's own comment";
    const std::string file = JoinPath(place.directory, std::string(kCommentFileName));
    CommentFile probe;
    if (probe.Read(place.directory) >= 0 && probe.IsDamaged())
        return "the comment file " + file + " is damaged and is left as it is";
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR))
        return "the comment file " + file + " is read-only";
    if (::access(place.directory.c_str(), W_OK) != 0)
        return "the directory " + place.directory + " cannot be written (" + std::strerror(errno) +
               ")";
    return "the comment file " + file + " could not be written";
}

std::string TakeComment(const std::string& path) {
    bool isDirectory = false;
    bool exists = StatPath(path, isDirectory);
    CommentPlace place = PlaceOf(path, exists && isDirectory);
    if (!place.possible())
        return {};
    CommentFile file;
    if (file.Load(place.directory) < 0)
        return {};
    return file.TakeComment(place.key); // the close saves the change
}

} // namespace orvo
