// orvo search PLACE... [criteria]
#include "app/cli/CliCommand.h"
#include "platform/DataDirectory.h"
#include "platform/FileStatus.h"
#include "platform/OleDate.h"
#include "search/SearchEngine.h"
#include "settings/OptionsStore.h"
#include "settings/SpecialFiles.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <strings.h>

namespace orvo::cli {

namespace {

template <typename Enum, size_t N>
std::optional<Enum> Pick(const std::string& word, const char* const (&names)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (::strcasecmp(word.c_str(), names[i]) == 0)
            return static_cast<Enum>(i);
    return std::nullopt;
}

std::optional<TimeUnit> ReadTimeUnit(std::string word) {
    if (word.size() > 1 && (word.back() == 's' || word.back() == 'S'))
        word.pop_back();
    const char* const names[] = {"second", "minute", "hour", "day", "week", "month", "year"};
    return Pick<TimeUnit>(word, names);
}

std::optional<SizeUnit> ReadSizeUnit(const std::string& word) {
    const char* const longNames[] = {"bytes", "kbytes", "mbytes"};
    const char* const shortNames[] = {"b", "kb", "mb"};
    if (auto unit = Pick<SizeUnit>(word, longNames))
        return unit;
    return Pick<SizeUnit>(word, shortNames);
}

bool IsNumber(const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// YYYY-MM-DD as a local OLE date (midnight).
std::optional<double> ReadDate(const std::string& text) {
    std::tm tm{};
    char rest = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &rest) !=
            3 ||
        tm.tm_mon < 1 || tm.tm_mon > 12 || tm.tm_mday < 1 || tm.tm_mday > 31)
        return std::nullopt;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    return TmToOleDate(tm);
}

// Prints the hits as they come: the path, or with --long the size, date
// and text sample too.
class PrintingSink : public SearchSink {
public:
    explicit PrintingSink(bool longForm) : long_(longForm) {}

    void Hit(SearchHit&& hit) override {
        line_.assign(hit.path);
        if (long_) {
            line_ += '\t';
            line_ += hit.isDirectory ? std::string("dir") : std::to_string(hit.size);
            line_ += '\t';
            line_ += FormatOleDate(TimeToLocalOleDate(hit.modified), "%Y-%m-%d %H:%M:%S");
            line_ += '\t';
            line_ += EscapeCell(hit.sample);
        }
        line_ += '\n';
        std::fwrite(line_.data(), 1, line_.size(), stdout);
    }

private:
    bool long_;
    std::string line_;
};

int Run(const CliArguments& args) {
    SearchCriteria criteria;
    criteria.placeList = args.operands;
    bool longForm = false;
    for (const CliArguments::Given& option : args.options) {
        const std::string& a = option.name;
        const std::vector<std::string>& v = option.values;
        if (a == "--names") {
            criteria.names = v[0];
        } else if (a == "--text") {
            criteria.textOn = true;
            criteria.text = v[0];
        } else if (a == "--mode") {
            const char* const modes[] = {"simple", "or", "and"};
            auto mode = Pick<TextMode>(v[0], modes);
            if (!mode)
                return Fail("--mode is simple, or or and, not " + v[0]);
            criteria.textMode = *mode;
        } else if (a == "--regex") {
            criteria.wildcard = true;
        } else if (a == "--case") {
            criteria.matchCase = true;
        } else if (a == "--newer") {
            criteria.noOlderThan = true;
            criteria.ageNumber = v[0];
            auto unit = ReadTimeUnit(v[1]);
            if (!IsNumber(criteria.ageNumber) || !unit)
                return Fail("--newer takes a number and seconds, minutes, hours, days, weeks, "
                            "months or years");
            criteria.ageUnit = *unit;
        } else if (a == "--between") {
            auto from = ReadDate(v[0]), to = ReadDate(v[1]);
            if (!from || !to)
                return Fail("--between takes two dates written YYYY-MM-DD");
            criteria.dateBetween = true;
            criteria.dateFrom = *from;
            criteria.dateTo = *to;
        } else if (a == "--size-between") {
            criteria.sizeBetween = true;
            criteria.sizeLow = v[0];
            criteria.sizeHigh = v[1];
            auto unit = ReadSizeUnit(v[2]);
            if (!IsNumber(criteria.sizeLow) || !IsNumber(criteria.sizeHigh) || !unit)
                return Fail("--size-between takes two numbers and bytes, kbytes or mbytes");
            criteria.sizeBetweenUnit = *unit;
        } else if (a == "--size") {
            const char* const relations[] = {"eq", "gt", "lt"};
            auto relation = Pick<SizeRelation>(v[0], relations);
            criteria.sizeCompare = true;
            criteria.sizeNumber = v[1];
            auto unit = ReadSizeUnit(v[2]);
            if (!relation || !IsNumber(criteria.sizeNumber) || !unit)
                return Fail("--size takes eq, gt or lt, a number and bytes, kbytes or mbytes");
            criteria.sizeRelation = *relation;
            criteria.sizeCompareUnit = *unit;
        } else if (a == "--exclude-binaries") {
            criteria.excludeBinaries = true;
        } else if (a == "--follow-links") {
            criteria.followLinks = true;
        } else if (a == "--long") {
            longForm = true;
        }
    }
    if (criteria.placeList.empty())
        return UsageError("search");

    int status = 0;
    std::vector<std::string> places;
    for (const std::string& place : criteria.placeList) {
        if (IsDirectory(place)) {
            places.push_back(place);
        } else {
            Fail("cannot search " + place + ": not a directory");
            status = 1;
        }
    }
    criteria.placeList = places;
    if (places.empty())
        return status;
    if (criteria.excludeBinaries) {
        OptionsStore options;
        options.Load(OptionsFilePath(DataDirectoryPath()));
        criteria.binaryPatterns = GetSpecialFilePatterns(options.Database(), kBinarySpecialGroup);
    }

    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    SearchControl control;
    PrintingSink sink(longForm);
    SearchSummary summary = RunSearch(criteria, control, sink);
    std::fflush(stdout);
    const SearchCounts& c = summary.counts;
    std::fprintf(stderr, "%s\n", SearchCountsLine(c.dirsFound, c.filesFound, c.bytesFound).c_str());
    return std::ferror(stdout) ? Fail("cannot write the hits") : status;
}

const CliRegistration registration(
    {"search",
     "  orvo search PLACE... [--names PATTERNS] [--text TEXT] [--mode simple|or|and] [--regex]\n"
     "              [--case] [--newer N UNIT] [--between DATE DATE] [--size-between LO HI UNIT]\n"
     "              [--size eq|gt|lt N UNIT] [--exclude-binaries] [--follow-links] [--long]\n"
     "                             the files and directories under each PLACE whose names match\n"
     "                             the patterns (\";\" between them), with the text inside; one\n"
     "                             path a line (--long: size, date, text sample), then the counts\n"
     "                             on stderr. UNIT: seconds..years or bytes, kbytes, mbytes",
     Run,
     {{"--names", 1},
      {"--text", 1},
      {"--mode", 1, nullptr, "simple or and"},
      {"--regex"},
      {"--case"},
      {"--newer", 2},
      {"--between", 2},
      {"--size-between", 3},
      {"--size", 3, nullptr, "eq gt lt"},
      {"--exclude-binaries"},
      {"--follow-links"},
      {"--long"}}});

} // namespace

} // namespace orvo::cli
