// orvo comment get PATH | set PATH TEXT | list DIR
#include "app/cli/CliCommand.h"
#include "comments/CommentFile.h"
#include "comments/PathComments.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"

#include <cstdio>

namespace orvo::cli {

namespace {

// Comments belong to what a path leads to; a link that leads nowhere has none.
bool Exists(const std::string& path) {
    return GetFileStatus(path).mode != 0;
}

std::string CommentDirectoryOf(const std::string& path) {
    return IsDirectory(path) ? StripTrailingSlash(path)
                             : ParentDirectoryOf(StripTrailingSlash(path));
}

bool IsDamaged(const std::string& directory) {
    CommentFile file;
    return file.Read(directory) >= 0 && file.IsDamaged();
}

std::string DamagedMessage(const std::string& directory) {
    return CommentFile::PathFor(directory) +
           " cannot be read completely (damaged or truncated); it is left unchanged";
}

int Get(const std::string& path) {
    if (!Exists(path))
        return Fail("no such file or directory: " + path);
    std::string comment = GetComment(path);
    if (!comment.empty())
        std::printf("%s\n", comment.c_str());
    return 0;
}

int Set(const std::string& path, const std::string& text) {
    if (!Exists(path))
        return Fail("no such file or directory: " + path);
    if (SetComment(path, text))
        return 0;
    std::string directory = CommentDirectoryOf(path);
    std::string name(FileNameOf(StripTrailingSlash(path)));
    if (!IsDirectory(path) && !NameCanHaveComment(name))
        return Fail(path + ": an entry named " + name +
                    " cannot have a comment (the name is the key of its directory's own comment)");
    if (IsDamaged(directory))
        return Fail(DamagedMessage(directory) + "; the comment was not stored");
    return Fail("cannot write " + CommentFile::PathFor(directory));
}

int List(const std::string& directory) {
    if (!IsDirectory(directory))
        return Fail("not a directory: " + directory);
    CommentFile file;
    if (file.Read(directory) < 0)
        return 0;
    std::string out;
    for (const CommentEntry& e : file.Entries())
        out += EscapeCell(e.key) + '\t' + EscapeCell(e.comment) + '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return file.IsDamaged() ? Fail(DamagedMessage(StripTrailingSlash(directory))) : 0;
}

int Run(const CliArguments& arguments) {
    const std::vector<std::string>& args = arguments.operands;
    if (args.size() == 2 && args[0] == "get")
        return Get(args[1]);
    if (args.size() == 3 && args[0] == "set")
        return Set(args[1], args[2]);
    if (args.size() == 2 && args[0] == "list")
        return List(args[1]);
    return UsageError("comment");
}

const CliRegistration registration(
    {"comment",
     "  orvo comment get PATH      print the comment of a file or directory\n"
     "  orvo comment set PATH TEXT store a comment (an empty TEXT removes it)\n"
     "  orvo comment list DIR      the entries of DIR's comment file: key, tab, comment",
     Run,
     {},
     "get set list"});

} // namespace

} // namespace orvo::cli
