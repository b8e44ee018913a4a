#pragma once

#include "comments/CommentCarrier.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/FileOperationUi.h"
#include "fileops/OpenDirectory.h"
#include "fileops/ProblemsTable.h"
#include "fileops/ProgressFigures.h"
#include "fileops/WalkedTree.h"
#include "platform/FileCopy.h"
#include "store/QTable.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

namespace orvo {

// The clocks a run reads; tests replace them to cross the four-second
// mark without waiting.
class FileOperationClock {
public:
    virtual ~FileOperationClock() = default;
    virtual uint64_t TickMs() const; // monotonic milliseconds
    virtual std::time_t Now() const; // wall clock, for "Will be done at"
    static const FileOperationClock& System();
};

enum class OperationEnd {
    Completed, // every item was worked on (failures the person ignored included)
    Empty,     // nothing to do
    Stopped,   // a path check stopped it, with its message
    Cancelled, // Cancel in the Problems list or No to the space question
    Broken,    // the person stopped it, or chose Abort
};

struct FileOperationResult {
    OperationEnd end = OperationEnd::Completed;
    int failures = 0; // entries that failed and were ignored
    // The directories browse windows should read again.
    std::vector<std::string> refreshDirectories;
};

// Runs a request to its end on the calling thread: the planning (sizes,
// free space, the problems list, the space question), then the transfer.
FileOperationResult
RunFileOperation(const FileOperationRequest& request, FileOperationUi& ui,
                 const FileOperationClock& clock = FileOperationClock::System());

// One run; see RunFileOperation.
class FileOperationRun : private CopyObserver {
public:
    FileOperationRun(FileOperationRequest request, FileOperationUi& ui,
                     const FileOperationClock& clock);
    FileOperationResult Run();

    static constexpr uint64_t kShowAfterMs = 4000;
    static constexpr uint64_t kDisplayIntervalMs = 33;
    // A move across file systems syncs the target and deletes the sources
    // after this many files or bytes.
    static constexpr size_t kLeftSourcesBatch = 4096;
    static constexpr uint64_t kLeftBytesBatch = uint64_t{1} << 30;

private:
    enum class Flow { Next, Stop };

    // Planning (FileOperationPlanning.cpp).
    OperationEnd Plan();
    bool PlanDirectory(const std::string& item);
    void PlanFile(const std::string& item);
    void AddPlanProblem(const std::string& path);

    // Transfer (FileOperationTransfer.cpp).
    // A directory of the target a tree walk writes into.
    struct TargetDirectory {
        int fd = -1;       // open without following a link
        bool made = false; // made by this run: it takes the source's mode and times
        struct stat source {};
    };
    OperationEnd Transfer();
    // The message that stops the run at this item, or null.
    const char* StopReason(const std::string& item, bool isDirectory) const;
    Flow TransferTree(const std::string& item);
    Flow MakeTargetDirectory(const std::string& src, const std::string& dst, int sourceDirectory,
                             int targetDirectory, TargetDirectory& made);
    void FinishTargetDirectory(TargetDirectory& directory);
    void ClearReplacedComment(const std::string& src, const std::string& dst);
    Flow CarryComments(const std::string& src, const std::string& dst);
    Flow WalkTree(const std::string& root, const std::string& target, int targetRoot,
                  const std::string& item, const std::string& itemTarget);
    Flow TransferTreeEntry(const std::string& src, const std::string& dst, bool isDirectory,
                           int sourceDirectory, int targetDirectory, const std::string& item,
                           const std::string& itemTarget, TargetDirectory& made);
    Flow AskAboutUnreadable(const std::string& src, const std::string& dst, int targetDirectory,
                            const std::string& item, const std::string& itemTarget);
    Flow RemoveTree(const std::string& item, bool moving);
    bool RemoveWalkedDirectory(const WalkedTree& tree, uint32_t directory);
    Flow TransferFile(const std::string& item);
    // A move across file systems copied src; it is deleted with its batch
    // once the copies are on the target's disk.
    Flow LeaveSource(const std::string& src, uint64_t size);
    Flow FlushLeftSources();

    // Progress and the person (FileOperationProgress.cpp).
    void Display(const std::string& name, bool force = false);
    // Whether a Display now would show anything (it is time for figures).
    bool DisplayDue();
    void CheckVisibility();
    void ShowWindow();
    void Publish();
    uint64_t MeasureFree() const;
    // Waits while the run is paused; false when it is to stop.
    bool ServeMessages();
    bool Cancelled();
    ErrorAnswer AskError(const std::string& failure);
    // Puts a failure to the person: true to try again; otherwise flow
    // tells how the run goes on (Abort stops it, Ignore goes on).
    bool RetryAfter(const std::string& failure, Flow& flow);
    bool ContinueCopy(uint64_t bytesDone) override;

    FileOperationRequest request_;
    FileOperationUi& ui_;
    const FileOperationClock& clock_;
    ProgressFigures figures_;
    QTable problems_;
    ProblemIndex problemIndex_;
    CommentCarrier comments_;
    // Sources of a move across file systems whose copies are not yet known
    // to be on the target's disk.
    std::vector<std::string> leftSources_;
    uint64_t leftBytes_ = 0;
    // The trees a delete's planning walked, by item, in walk order.
    std::unordered_map<std::string, WalkedTree> plannedRemovals_;
    std::string volumePath_; // where the free space is measured
    std::string currentName_;
    uint64_t free_ = 0;
    uint64_t total_ = 0;
    uint64_t copied_ = 0;
    uint64_t startAll_ = 0;
    uint64_t startTransfer_ = 0;
    uint64_t lastPublish_ = 0;
    bool published_ = false;
    bool sameDriveMove_ = false;
    bool doCheck_ = true;
    bool visible_ = false;
    bool broken_ = false;
    int failures_ = 0;
};

} // namespace orvo
