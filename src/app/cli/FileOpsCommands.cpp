// orvo cp SRC... DESTDIR | mv SRC... DESTDIR | rm PATH...: the program's
// own copy, move and delete, with their problem checks and comments.
#include "app/cli/CliCommand.h"
#include "fileops/FileOperationRun.h"
#include "fileops/OperationTexts.h"
#include "fileops/TerminalOperationUi.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>

namespace orvo::cli {

namespace {

std::atomic<bool> gInterrupted{false};

void OnInterrupt(int) {
    gInterrupted = true;
}

// What a person means by a path on the command line: relative to here,
// without "." and ".." steps or a trailing "/".
std::string FullPath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    if (ec)
        return path;
    return StripTrailingSlash(full.lexically_normal().string());
}

struct Parsed {
    std::vector<std::string> paths;
    TerminalAnswers answers;
    bool ok = true;
};

Parsed ParseArguments(const CliArguments& args) {
    Parsed p;
    p.paths = args.operands;
    // The last of --yes and --skip counts, as a later word overrides.
    for (const CliArguments::Given& option : args.options) {
        if (option.name == "--yes") {
            p.answers.problems = TerminalAnswers::Problems::ExecuteAll;
            p.answers.continueWithoutSpace = true;
        } else if (option.name == "--skip") {
            p.answers.problems = TerminalAnswers::Problems::SkipAll;
        } else if (option.name == "--on-error" && option.values[0] == "abort") {
            p.answers.errors = TerminalAnswers::Errors::Abort;
        } else if (option.name == "--on-error" && option.values[0] == "ignore") {
            p.answers.errors = TerminalAnswers::Errors::Ignore;
        } else {
            std::fprintf(stderr, "orvo: --on-error takes abort or ignore, not %s\n",
                         option.values[0].c_str());
            p.ok = false;
        }
    }
    return p;
}

int Operate(const char* name, int kind, const CliArguments& args) {
    Parsed parsed = ParseArguments(args);
    size_t needed = kind == OpDelete ? 1 : 2;
    if (!parsed.ok || parsed.paths.size() < needed)
        return UsageError(name);

    FileOperationRequest request;
    request.kind = kind;
    if (kind != OpDelete) {
        request.destination = FullPath(parsed.paths.back());
        parsed.paths.pop_back();
        if (!IsDirectory(request.destination))
            return Fail(kNotADirectory);
    }
    int status = 0;
    for (const std::string& path : parsed.paths) {
        std::string full = FullPath(path);
        if (!PathExists(full)) {
            Fail("no such file or directory: " + path);
            status = 1;
            continue;
        }
        request.items.push_back(full);
    }
    if (request.items.empty())
        return status;

    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    ::sigaction(SIGINT, &action, nullptr);
    TerminalOperationUi ui(stdin, stderr, parsed.answers, &gInterrupted);
    FileOperationResult result = RunFileOperation(request, ui);
    ui.FinishProgress();
    switch (result.end) {
    case OperationEnd::Completed:
    case OperationEnd::Empty:
        break;
    case OperationEnd::Cancelled:
        return Fail("cancelled; nothing was changed");
    case OperationEnd::Stopped:
    case OperationEnd::Broken:
        return 1; // the run said why
    }
    if (result.failures > 0)
        return Fail(std::to_string(result.failures) +
                    (result.failures == 1 ? " entry" : " entries") + " could not be done");
    return status;
}

int RunCopy(const CliArguments& args) {
    return Operate("cp", OpCopy, args);
}
int RunMove(const CliArguments& args) {
    return Operate("mv", OpMove, args);
}
int RunDelete(const CliArguments& args) {
    return Operate("rm", OpDelete, args);
}

// The three share their options; the text is each command's own, as the
// usage of one command is printed alone after a mistake.
#define ORVO_ANSWER_OPTIONS                                                                        \
    "                             --yes: go ahead with every listed problem (and when space\n"     \
    "                             looks short), --skip: with none of them; failures are asked\n"   \
    "                             unless --on-error=abort or --on-error=ignore answers them"

const char* const kCopyUsage = "  orvo cp [--yes|--skip] [--on-error=abort|ignore] SRC... DESTDIR\n"
                               "                             copy files and trees into DESTDIR, "
                               "comments included;\n" ORVO_ANSWER_OPTIONS;
const char* const kMoveUsage = "  orvo mv [--yes|--skip] [--on-error=abort|ignore] SRC... DESTDIR\n"
                               "                             move files and trees into DESTDIR, "
                               "comments included;\n" ORVO_ANSWER_OPTIONS;
const char* const kDeleteUsage =
    "  orvo rm [--yes|--skip] [--on-error=abort|ignore] PATH...\n"
    "                             delete files and trees; hidden and special files are\n"
    "                             listed first;\n" ORVO_ANSWER_OPTIONS;

const std::vector<CliOption> kAnswerOptions = {
    {"--yes"}, {"--skip"}, {"--on-error", 1, nullptr, "abort ignore"}};

const CliRegistration copy({"cp", kCopyUsage, RunCopy, kAnswerOptions});
const CliRegistration move({"mv", kMoveUsage, RunMove, kAnswerOptions});
const CliRegistration remove({"rm", kDeleteUsage, RunDelete, kAnswerOptions});

} // namespace

} // namespace orvo::cli
