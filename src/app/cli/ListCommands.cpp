// orvo ls DIR [--sort COLUMN] [--desc]
#include "app/cli/CliCommand.h"
#include "browse/DirectoryListing.h"
#include "browse/ViewRebuilder.h"
#include "platform/DataDirectory.h"
#include "platform/OleDate.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionsStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace orvo::cli {

namespace {

// The window hides the comment file when its option says so; a missing
// options file means the defaults of a new one.
bool HideCommentFile() {
    OptionsStore options;
    options.Load(OptionsFilePath(DataDirectoryPath()));
    return GetBoolOption(options.Database(), kHideCommentFileKey);
}

void AppendDigits(std::string& out, int value, int width) {
    char digits[12];
    int n = 0;
    unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    for (int i = n; i < width; ++i)
        out.push_back('0');
    while (n)
        out.push_back(digits[--n]);
}

// "%Y-%m-%d" and "%H:%M-%S" without strftime, which dominates a listing of
// a hundred thousand rows otherwise.
void AppendDate(std::string& out, double date) {
    std::tm tm = OleDateToTm(date);
    AppendDigits(out, tm.tm_year + 1900, 4);
    out.push_back('-');
    AppendDigits(out, tm.tm_mon + 1, 2);
    out.push_back('-');
    AppendDigits(out, tm.tm_mday, 2);
}

void AppendTime(std::string& out, double date) {
    std::tm tm = OleDateToTm(date);
    AppendDigits(out, tm.tm_hour, 2);
    out.push_back(':');
    AppendDigits(out, tm.tm_min, 2);
    out.push_back('-');
    AppendDigits(out, tm.tm_sec, 2);
}

void AppendEscaped(std::string& out, std::string_view text) {
    if (text.find_first_of("\r\n\t") == std::string_view::npos)
        out.append(text);
    else
        out += EscapeCell(std::string(text));
}

void PrintView(const DirectoryListing& listing, const QTable& view) {
    const int name = view.FieldIndex("Name"), extension = view.FieldIndex("Extension"),
              comment = view.FieldIndex("Comment"), date = view.FieldIndex("Date"),
              time = view.FieldIndex("Time"), attr = view.FieldIndex("Attr");
    std::string out;
    out.reserve(1 << 20);
    for (int r = 0; r < view.GetRecordCount(); ++r) {
        const QRecord& row = *view.GetRecord(r);
        AppendEscaped(out, row.GetValueAt(name).AsStringView());
        if (std::string_view ext = row.GetValueAt(extension).AsStringView(); !ext.empty()) {
            out.push_back('.');
            AppendEscaped(out, ext);
        }
        out.push_back('\t');
        AppendEscaped(out, row.GetValueAt(comment).AsStringView());
        out.push_back('\t');
        out += std::to_string(listing.FullSize(row));
        out.push_back('\t');
        AppendDate(out, row.GetValueAt(date).AsDouble());
        out.push_back('\t');
        AppendTime(out, row.GetValueAt(time).AsDouble());
        out.push_back('\t');
        out.append(row.GetValueAt(attr).AsStringView());
        out.push_back('\n');
        if (out.size() > (1 << 20) - 4096) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

int Run(const CliArguments& args) {
    const auto* sort = args.Last("--sort");
    const std::string sortColumn = sort ? sort->front() : std::string();
    const bool descending = args.Has("--desc");
    if (args.operands.size() != 1 || (descending && sortColumn.empty()))
        return UsageError("ls");
    const std::string& directory = args.operands[0];

    DirectoryListing listing;
    QTable view;
    ViewRebuilder::UseViewColumns(view);
    if (directory == kComputerPath) {
        std::vector<int> driveTypes;
        ReadComputer(listing, driveTypes);
    } else {
        listing.ReadDirectory(directory);
        if (listing.ReadFailed())
            return Fail("cannot read the directory \"" + directory +
                        "\": " + std::strerror(listing.ReadError()));
    }

    int column = -1;
    if (!sortColumn.empty()) {
        for (int c = 0; c < view.GetFieldCount(); ++c)
            if (::strcasecmp(view.Columns()[c].GetName().c_str(), sortColumn.c_str()) == 0)
                column = c;
        if (column < 0)
            return Fail("no column \"" + sortColumn +
                        "\" (Name, Path, Extension, Comment, Size, Date, Time, Attr, Directory)");
    }

    ViewRebuilder::Input input;
    input.hideCommentFile = HideCommentFile();
    ViewRebuilder::Rebuild(listing, view, input);
    // A header click sorts the rows below the parent entry.
    if (column >= 0)
        view.Sort(view.Columns()[column].GetName(), !descending, 1);
    PrintView(listing, view);
    return std::ferror(stdout) ? Fail("cannot write the listing") : 0;
}

const CliRegistration registration(
    {"ls",
     "  orvo ls DIR [--sort COLUMN [--desc]]\n"
     "                             the view of DIR (\"Computer/\": the drives) as a browse\n"
     "                             window shows it: name, comment, size, date, time, attributes",
     Run,
     {{"--sort", 1, nullptr, "Name Path Extension Comment Size Date Time Attr Directory"},
      {"--desc"}}});

} // namespace

} // namespace orvo::cli
