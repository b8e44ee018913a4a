#include "comments/CommentFile.h"
#include "fileops/CTreeFinder.h"
#include "fileops/FileOperationRun.h"
#include "fileops/OperationTexts.h"
#include "platform/DisplayText.h"
#include "platform/EntryChecks.h"
#include "platform/FileStatus.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"

#include <sys/stat.h>

namespace orvo {

namespace {

bool IsHiddenOrSystem(std::string_view name, mode_t mode) {
    bool special = !S_ISREG(mode) && !S_ISDIR(mode) && !S_ISLNK(mode);
    return (!name.empty() && name.front() == '.') || special;
}

std::string RequiredLine(uint64_t total) {
    return "Required by source : " + NumberText(total >> 10) + " kb";
}

} // namespace

void FileOperationRun::AddPlanProblem(const std::string& path) {
    AddProblem(problems_, path);
}

OperationEnd FileOperationRun::Plan() {
    const int kind = request_.kind;
    if (request_.items.empty() || (kind != OpCopy && kind != OpMove && kind != OpDelete))
        return OperationEnd::Empty;
    // Callers check the destination; one that did not gets the callers'
    // own sentence rather than a directory made out of nothing.
    if (kind != OpDelete && !IsDirectory(request_.destination)) {
        ShowWindow();
        ui_.ShowMessage(figures_.caption, kNotADirectory);
        return OperationEnd::Stopped;
    }
    free_ = MeasureFree();
    startAll_ = clock_.TickMs();
    startTransfer_ = startAll_;
    copied_ = 0;
    total_ = 1;
    Display("", true);
    total_ = 0;
    figures_.fitLine = kCalculatingSpace;
    figures_.caption = kCalculatingCaption;
    Publish();

    const std::string& first = request_.items.front();
    sameDriveMove_ = kind == OpMove && SameFileSystem(first, request_.destination);
    doCheck_ = request_.checkFirst != 0;
    if (sameDriveMove_ && request_.items.size() == 1 &&
        !PathExists(JoinPath(request_.destination, FileNameOf(first))))
        doCheck_ = false;

    if (doCheck_) {
        for (const std::string& item : request_.items) {
            if (!ServeMessages())
                return OperationEnd::Broken;
            // The run will stop at this item: what it and the items after
            // it would touch is no problem of this run.
            bool isDirectory = IsRealDirectory(item);
            if (StopReason(item, isDirectory))
                break;
            if (isDirectory) {
                if (!PlanDirectory(item))
                    return OperationEnd::Broken;
            } else {
                PlanFile(item);
            }
            figures_.leftLine = RequiredLine(total_);
            Publish();
        }
    }

    if (problems_.GetRecordCount() > 0) {
        const char* description = kind == OpDelete ? kDeleteProblems
                                  : kind == OpCopy ? kCopyProblems
                                                   : kMoveProblems;
        ShowWindow();
        figures_.caption = kProblemCaption;
        Publish();
        if (!ui_.AskProblems(problems_, description))
            return OperationEnd::Cancelled;
    }
    problemIndex_.Build(problems_);
    figures_.leftLine = RequiredLine(total_);
    Publish();

    free_ = MeasureFree();
    if (total_ > free_ && kind != OpDelete && !sameDriveMove_) {
        // Once with nothing done, so the fit line carries the warning.
        copied_ = 0;
        ProgressInput in;
        in.total = total_;
        in.freeBytes = free_;
        in.now = clock_.Now();
        in.kind = kind;
        in.destination = request_.destination;
        ComputeProgress(in, figures_);
        ShowWindow();
        Publish();
        if (!ui_.AskYesNo(figures_.caption, kSpaceQuestion))
            return OperationEnd::Cancelled;
    }
    return OperationEnd::Completed;
}

bool FileOperationRun::PlanDirectory(const std::string& item) {
    CTreeFinder finder;
    if (!finder.Start(item, true, false))
        return true; // nothing readable adds nothing
    const int kind = request_.kind;
    const std::string target = JoinPath(request_.destination, FileNameOf(item));
    // Whether the target of each level's directory exists: below a target
    // directory that is not there, no target can be, and nothing is asked
    // of the file system.
    // A link is never a directory here: nothing is written through one.
    std::vector<char> targetThere{0,
                                  static_cast<char>(kind != OpDelete && IsRealDirectory(target))};
    // A file or link where the tree's directory would go: the person
    // decides whether it is replaced or the tree left alone.
    if (kind != OpDelete && !targetThere[1] && PathExists(target))
        AddPlanProblem(target);
    const size_t rootLength = item.size();
    WalkedTree* removals = nullptr;
    if (kind == OpDelete) {
        removals = &plannedRemovals_[item];
        removals->Reset(item);
    }
    // Whether each level lies inside a dot-directory (the item counts):
    // what such a directory holds is hidden as the directory is, so a
    // "Skip all" keeps .git/ as it keeps .gitignore.
    std::vector<char> hiddenLevel{0, static_cast<char>(FileNameOf(item).starts_with('.'))};
    while (finder.FindNext()) {
        if (Cancelled())
            return false;
        size_t depth = static_cast<size_t>(finder.Depth());
        bool parentThere = depth < targetThere.size() && targetThere[depth];
        const bool inHidden = depth < hiddenLevel.size() && hiddenLevel[depth];
        const std::string& name = finder.GetFileName();
        std::string entryTarget;
        if (parentThere)
            entryTarget = target + finder.GetFilePath().substr(rootLength);
        uint64_t size = 0;
        if (finder.IsDirectory()) {
            targetThere.resize(depth + 2);
            targetThere[depth + 1] = parentThere && IsRealDirectory(entryTarget);
            if (parentThere && !targetThere[depth + 1] && PathExists(entryTarget))
                AddPlanProblem(entryTarget);
            const bool hidden = inHidden || name.front() == '.';
            hiddenLevel.resize(depth + 2);
            hiddenLevel[depth + 1] = hidden;
            // Listed too, so that a kept dot-directory keeps its empty
            // directories (a fresh repository's refs/ holds nothing else).
            if (kind == OpDelete && hidden)
                AddPlanProblem(finder.GetFilePath());
        } else {
            size = finder.GetLength();
            total_ += size;
            if (name != kCommentFileName) {
                if (kind == OpDelete) {
                    if (inHidden || name.front() == '.' || finder.IsSpecial())
                        AddPlanProblem(finder.GetFilePath());
                } else if (parentThere && PathExists(entryTarget)) {
                    AddPlanProblem(entryTarget);
                }
            }
        }
        if (removals)
            removals->Add(finder, size);
        CheckVisibility();
    }
    return true;
}

void FileOperationRun::PlanFile(const std::string& item) {
    struct stat st {};
    if (::lstat(item.c_str(), &st) != 0)
        return; // a missing item adds nothing
    total_ += static_cast<uint64_t>(st.st_size);
    std::string_view name = FileNameOf(item);
    if (request_.kind == OpDelete) {
        if (IsHiddenOrSystem(name, st.st_mode) && name != kCommentFileName)
            AddPlanProblem(item);
    } else {
        // A comment file given as an item is a file like any other here.
        std::string target = JoinPath(request_.destination, name);
        if (PathExists(target))
            AddPlanProblem(target);
    }
    CheckVisibility();
}

} // namespace orvo
