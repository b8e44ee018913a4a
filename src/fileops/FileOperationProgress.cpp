#include "fileops/FileOperationRun.h"
#include "fileops/OperationTexts.h"
#include "platform/EntryOperations.h"
#include "platform/MountTable.h"

#include <chrono>
#include <thread>

namespace orvo {

uint64_t FileOperationRun::MeasureFree() const {
    if (volumePath_.empty())
        return 0;
    return GetVolumeSpace(volumePath_).freeBytes;
}

void FileOperationRun::ShowWindow() {
    if (visible_)
        return;
    visible_ = true;
    ui_.ShowWindow();
}

void FileOperationRun::CheckVisibility() {
    if (!visible_ && clock_.TickMs() - startAll_ > kShowAfterMs)
        ShowWindow();
}

void FileOperationRun::Publish() {
    lastPublish_ = clock_.TickMs();
    published_ = true;
    ui_.ShowProgress(figures_);
}

bool FileOperationRun::DisplayDue() {
    uint64_t now = clock_.TickMs();
    if (!visible_ && now - startAll_ > kShowAfterMs)
        ShowWindow();
    return !published_ || now - lastPublish_ >= kDisplayIntervalMs;
}

void FileOperationRun::Display(const std::string& name, bool force) {
    uint64_t now = clock_.TickMs();
    if (!visible_ && now - startAll_ > kShowAfterMs)
        ShowWindow();
    // Nobody reads faster than this; the figures are made only as often
    // as they can be seen.
    if (!force && published_ && now - lastPublish_ < kDisplayIntervalMs)
        return;
    ProgressInput in;
    in.copied = copied_;
    in.total = total_;
    in.freeBytes = MeasureFree();
    in.elapsedMs = now - startTransfer_;
    in.now = clock_.Now();
    // A same-drive move needs no room, and a delete makes room.
    in.noFitCheck = sameDriveMove_ || request_.kind == OpDelete;
    in.kind = request_.kind;
    in.name = name;
    in.destination = request_.destination;
    ComputeProgress(in, figures_);
    Publish();
}

bool FileOperationRun::Cancelled() {
    return ui_.IsCancelled();
}

bool FileOperationRun::ServeMessages() {
    while (ui_.IsPaused() && !ui_.IsCancelled())
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return !ui_.IsCancelled();
}

ErrorAnswer FileOperationRun::AskError(const std::string& failure) {
    int error = LastEntryError();
    ShowWindow();
    Display(currentName_, true);
    return ui_.AskAbortRetryIgnore(figures_.caption, ErrorQuestion(failure, error));
}

bool FileOperationRun::RetryAfter(const std::string& failure, Flow& flow) {
    // A failure caused by the person's own stop is no question.
    if (Cancelled()) {
        flow = Flow::Stop;
        return false;
    }
    switch (AskError(failure)) {
    case ErrorAnswer::Retry:
        return true;
    case ErrorAnswer::Abort:
        broken_ = true;
        flow = Flow::Stop;
        return false;
    case ErrorAnswer::Ignore:
        break;
    }
    ++failures_;
    flow = Flow::Next;
    return false;
}

bool FileOperationRun::ContinueCopy(uint64_t) {
    // A long file: keep the figures moving and answer Pause and Cancel
    // within the file rather than after it.
    if (!ServeMessages())
        return false;
    Display(currentName_);
    return true;
}

} // namespace orvo
