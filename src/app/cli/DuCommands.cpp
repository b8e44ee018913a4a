// orvo du PATH...
#include "app/cli/CliCommand.h"
#include "browse/SizeCounter.h"
#include "platform/DisplayText.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"

#include <cstdio>
#include <sys/stat.h>

namespace orvo::cli {

namespace {

// One line per path: the text the counting mode puts into a directory's
// Comment cell, or a file's size, then a tab and the path.
int Du(const CliArguments& arguments) {
    const std::vector<std::string>& args = arguments.operands;
    if (args.empty())
        return UsageError("du");
    int status = 0;
    for (const std::string& arg : args) {
        std::string path = StripTrailingSlash(arg);
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) {
            status = Fail("no such file or directory: " + arg);
            continue;
        }
        std::string text;
        if (S_ISDIR(st.st_mode)) {
            SizeCountControl control;
            SizeCounter::Result result = SizeCounter::CountTree(path, control);
            uint64_t drive = GetVolumeSpace(MountPointOf(path)).totalBytes;
            text = SizeCountFinalText(result.figures,
                                      SizeCountPercentage(drive, result.figures.bytes), false);
        } else {
            // A symbolic link is an entry of its own: its length, never what it leads to.
            text = NumberText(static_cast<uint64_t>(st.st_size));
        }
        std::printf("%s\t%s\n", text.c_str(), arg.c_str());
    }
    return status;
}

const CliRegistration registration(
    {"du",
     "  orvo du PATH...            the size of each directory as the counting mode shows it:\n"
     "                             bytes, directories, files and share of the disk; a file's size;\n"
     "                             like du -x it stays on the directory's file system",
     &Du});

} // namespace

} // namespace orvo::cli
