#include "fileops/FileOperationRun.h"

#include "fileops/OperationTexts.h"
#include "platform/FileCopy.h"
#include "platform/PathText.h"

#include <algorithm>
#include <chrono>

namespace orvo {

uint64_t FileOperationClock::TickMs() const {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::time_t FileOperationClock::Now() const {
    return std::time(nullptr);
}

const FileOperationClock& FileOperationClock::System() {
    static const FileOperationClock clock;
    return clock;
}

FileOperationResult RunFileOperation(const FileOperationRequest& request, FileOperationUi& ui,
                                     const FileOperationClock& clock) {
    return FileOperationRun(request, ui, clock).Run();
}

namespace {

std::string NormalPath(const std::string& path) {
    return StripTrailingSlash(path);
}

} // namespace

FileOperationRun::FileOperationRun(FileOperationRequest request, FileOperationUi& ui,
                                   const FileOperationClock& clock)
    : request_(std::move(request)), ui_(ui), clock_(clock) {
    if (!request_.destination.empty())
        request_.destination = NormalPath(request_.destination);
    for (std::string& item : request_.items)
        item = NormalPath(item);
    // A delete has no target drive; the space shown is that of what it
    // frees.
    if (!request_.destination.empty())
        volumePath_ = request_.destination;
    else if (!request_.items.empty())
        volumePath_ = ParentDirectoryOf(request_.items.front());
    figures_.caption = kFileOperationCaption;
    InitProblemsTable(problems_);
}

FileOperationResult FileOperationRun::Run() {
    FileOperationResult result;
    result.end = Plan();
    if (result.end == OperationEnd::Completed)
        result.end = Transfer();
    // A stopped move still finishes what it moved: no file is left twice.
    FlushLeftSources();
    comments_.Flush();
    // A copy that ends is on the target's disk, not only in the page cache:
    // one sync for the whole run, as a file-by-file one costs too much.
    if (request_.kind == OpCopy &&
        (result.end == OperationEnd::Completed || result.end == OperationEnd::Broken))
        SyncFileSystemOf(request_.destination);
    if (result.end == OperationEnd::Broken) {
        ShowWindow();
        ui_.ShowMessage(figures_.caption, kUserBroke);
    }
    result.failures = failures_;

    // The destination, and the directories things were moved or deleted
    // from (every one of them, not only the first item's).
    auto add = [&result](const std::string& directory) {
        if (!directory.empty() &&
            std::find(result.refreshDirectories.begin(), result.refreshDirectories.end(),
                      directory) == result.refreshDirectories.end())
            result.refreshDirectories.push_back(directory);
    };
    if (result.end != OperationEnd::Empty) {
        add(request_.destination);
        if (request_.kind != OpCopy)
            for (const std::string& item : request_.items)
                add(ParentDirectoryOf(item));
    }
    return result;
}

} // namespace orvo
