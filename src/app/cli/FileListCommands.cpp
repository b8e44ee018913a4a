// orvo list export FILE [--fields F,...] [--separator S] | status FILE | add FILE PATH...
// (file-list documents, ".orl"; `orvo ls` is ListCommands.cpp)
#include "app/cli/CliCommand.h"
#include "browse/DirectoryListing.h"
#include "browse/FileListRows.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "store/ArchiveReader.h"
#include "store/Collation.h"
#include "workspace/FileListDocument.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace orvo::cli {

namespace {

// Sets the export switch a field name stands for; false for an unknown name.
bool SetField(ListExportOptions& options, const std::string& field) {
    const std::string f = LowerCaseText(field);
    bool* flag = f == "id"           ? &options.id
                 : f == "fields"     ? &options.fields
                 : f == "title"      ? &options.title
                 : f == "extension"  ? &options.extension
                 : f == "comment"    ? &options.comment
                 : f == "size"       ? &options.size
                 : f == "date"       ? &options.dateTime
                 : f == "attributes" ? &options.attributes
                                     : nullptr;
    if (!flag)
        return false;
    *flag = true;
    return true;
}

// LoadFileList with the file's name in every message.
void LoadList(const std::string& file, DirectoryListing& list) {
    try {
        LoadFileList(file, list);
    } catch (const ArchiveError& e) {
        const std::string message = e.what();
        if (message.compare(0, file.size(), file) == 0)
            throw;
        throw ArchiveError(file + ": not a valid file list (" + message + ")");
    }
}

int Export(const CliArguments& args) {
    if (args.operands.size() != 2)
        return UsageError("list");
    const std::string& file = args.operands[1];
    ListExportOptions options;
    if (const auto* fields = args.Last("--fields")) {
        options = ListExportOptions{.title = false, .extension = false, .comment = false};
        const std::string& value = fields->front();
        size_t start = 0;
        while (start <= value.size()) {
            size_t comma = value.find(',', start);
            if (comma == std::string::npos)
                comma = value.size();
            std::string field = value.substr(start, comma - start);
            if (!field.empty() && !SetField(options, field))
                return Fail("unknown field '" + field +
                            "' (ID, Fields, Title, Extension, Comment, Size, Date, Attributes)");
            start = comma + 1;
        }
    }
    if (const auto* separator = args.Last("--separator"))
        options.separator = separator->front();
    DirectoryListing list;
    LoadList(file, list);
    const std::string text = ExportListText(list, options);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

int Status(const std::string& file) {
    DirectoryListing list;
    LoadList(file, list);
    const ListStatus status = CheckListStatus(list);
    std::string out;
    for (const std::string& path : status.changed)
        out += "changed " + path + "\n";
    for (const std::string& path : status.dead)
        out += "dead " + path + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int Add(const std::string& file, const std::vector<std::string>& given) {
    DirectoryListing list;
    // A file that is there but cannot be read as a list is refused, never
    // replaced by a new list.
    if (PathExists(file))
        LoadList(file, list);
    std::vector<std::string> paths;
    for (const std::string& path : given) {
        std::error_code error;
        std::filesystem::path absolute = std::filesystem::absolute(path, error);
        if (error)
            return Fail("cannot make an absolute path of " + path + ": " + error.message());
        paths.push_back(StripTrailingSlash(absolute.lexically_normal().string()));
    }
    AddListPaths(list, paths);
    SaveFileList(file, list);
    return 0;
}

int Run(const CliArguments& arguments) {
    const std::vector<std::string>& args = arguments.operands;
    if (args.size() >= 2 && args[0] == "export")
        return Export(arguments);
    if (args.size() == 2 && args[0] == "status")
        return Status(args[1]);
    if (args.size() >= 3 && args[0] == "add")
        return Add(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    return UsageError("list");
}

const CliRegistration registration(
    {"list",
     "  orvo list export FILE.orl [--fields F,F,...] [--separator S]\n"
     "                             a file list as the List exporting dialog writes it (rows\n"
     "                             joined by CR LF); fields: ID, Fields, Title, Extension,\n"
     "                             Comment, Size, Date, Attributes (default Title, Extension,\n"
     "                             Comment; separator a tab)\n"
     "  orvo list status FILE.orl  `changed PATH` and `dead PATH` lines, as the ORL Status dialog\n"
     "  orvo list add FILE.orl PATH...\n"
     "                             adds the paths to a file list (made when it does not exist)",
     Run,
     {{"--fields", 1, "export", "ID Fields Title Extension Comment Size Date Attributes"},
      {"--separator", 1, "export"}},
     "export status add"});

} // namespace

} // namespace orvo::cli
