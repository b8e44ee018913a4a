#include "comments/CommentPropagation.h"

#include "comments/CommentFile.h"
#include "comments/PathComments.h"
#include "platform/EntryChecks.h"
#include "platform/EntryOperations.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"

#include <cerrno>
#include <sys/stat.h>

namespace orvo {

namespace {

bool IsLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

} // namespace

std::string EntryComment(const std::string& path) {
    if (!IsLink(path))
        return GetComment(path);
    CommentFile file;
    if (file.Read(ParentDirectoryOf(path)) < 0)
        return {};
    return file.GetComment(FileNameOf(path));
}

bool SetEntryComment(const std::string& path, const std::string& comment) {
    if (!IsLink(path))
        return SetComment(path, comment);
    if (!NameCanHaveComment(FileNameOf(path)))
        return false;
    std::string directory = ParentDirectoryOf(path);
    CommentFile file;
    if (file.Load(directory) < 0) {
        if (comment.empty())
            return true;
        if (file.Create(directory) < 0)
            return false;
    }
    if (!file.SetComment(FileNameOf(path), comment))
        return !file.IsDamaged();
    bool saved = file.Save(directory);
    file.Close(false);
    return saved;
}

bool CopyWithComment(const std::string& src, const std::string& dst, bool failIfExists,
                     bool keepProtected) {
    std::string comment = EntryComment(src);
    if (!CopyEntry(src, dst, failIfExists, keepProtected))
        return false;
    if (!comment.empty())
        SetEntryComment(dst, comment);
    return true;
}

bool MoveWithComment(const std::string& src, const std::string& dst, bool failIfExists,
                     bool keepProtected) {
    // Read first: after the move there is nothing left to read it from.
    std::string comment = EntryComment(src);
    if (!MoveEntry(src, dst, failIfExists, keepProtected))
        return false;
    if (!comment.empty()) {
        SetEntryComment(dst, comment);
        // A directory is only made at dst (its contents follow one by one)
        // and still holds its own comment until its comment file follows.
        if (!PathExists(src))
            TakeComment(src);
    }
    return true;
}

bool DeleteWithComment(const std::string& path, bool allowReadOnly, bool allowSystem,
                       bool allowHidden) {
    if (!DeleteEntry(path, allowReadOnly, allowSystem, allowHidden))
        return false;
    TakeComment(path);
    return true;
}

bool CopyFileWithComment(const std::string& src, const std::string& dst, bool failIfExists) {
    if (IsRealDirectory(src)) {
        SetLastEntryError(EISDIR);
        return false;
    }
    std::string comment = EntryComment(src);
    if (!CopyEntry(src, dst, failIfExists, false))
        return false;
    SetEntryComment(dst, comment);
    return true;
}

bool MoveFileWithComment(const std::string& src, const std::string& dst, bool failIfExists) {
    if (IsRealDirectory(src)) {
        SetLastEntryError(EISDIR);
        return false;
    }
    std::string comment = EntryComment(src);
    if (!MoveEntry(src, dst, failIfExists, false))
        return false;
    SetEntryComment(dst, comment);
    TakeComment(src);
    return true;
}

} // namespace orvo
