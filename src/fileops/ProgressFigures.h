#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace orvo {

// Every line the "File operation" window shows, as text, so a window and a
// terminal show the same thing.
struct ProgressFigures {
    std::string caption;
    std::string freeLine;   // "Free space on target drive is : ..."
    std::string leftLine;   // "Left to copy : ..." ("Required by source : ..." while planning)
    std::string fitLine;    // "Ok. Will fit." / "WARNING : WILL NOT FIT" / "Calculating space"
    bool fits = true;       // which of the two icons goes beside the fit line
    std::string sourcePath; // the entry being worked on
    std::string targetPath;
    std::string totalLine;   // "Total source space : ..."
    std::string timeCaption; // "Time, calculating" / "Time, +-5 seconds"
    std::string speedLine;
    std::string timeLeftLine;
    std::string endTimeLine;
    uint64_t barMaximum = 0; // kilobytes
    uint64_t barPosition = 0;
    uint64_t copied = 0;
    uint64_t total = 0;
    int percent = 0;
};

// What one run of the progress display starts from.
struct ProgressInput {
    uint64_t copied = 0;
    uint64_t total = 0;
    uint64_t freeBytes = 0;
    uint64_t elapsedMs = 0; // since the transfer began
    std::time_t now = 0;    // local clock, for the end time
    bool noFitCheck = false;
    int kind = 0;
    std::string name; // empty: the caption stays
    std::string destination;
};

// Fills the lines the progress display owns (free, left, total, fit, bar,
// time group and, with a name, the caption). Whole-number arithmetic with
// the divisions first, as the estimate has always been computed.
void ComputeProgress(const ProgressInput& in, ProgressFigures& out);

// The caption's percentage: one less than done, so a counted run ends on
// 99; 0 before anything is done or when nothing was counted.
int CaptionPercent(uint64_t copied, uint64_t total);

} // namespace orvo
