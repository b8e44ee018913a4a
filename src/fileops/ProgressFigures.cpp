#include "fileops/ProgressFigures.h"

#include "fileops/FileOperationRequest.h"
#include "platform/DisplayText.h"

#include <cmath>

namespace orvo {

int CaptionPercent(uint64_t copied, uint64_t total) {
    // Nothing counted (a run without the check) has no meaningful share;
    // more done than counted (files grew meanwhile) still reads 99.
    if (copied == 0 || total == 0)
        return 0;
    if (copied >= total)
        return 99;
    double p = std::trunc(100.0 / (static_cast<double>(total) / static_cast<double>(copied))) - 1;
    return p < 0 ? 0 : static_cast<int>(p);
}

void ComputeProgress(const ProgressInput& in, ProgressFigures& out) {
    // Files that grew after they were counted must not make the rest wrap.
    uint64_t left = in.copied >= in.total ? 0 : in.total - in.copied;
    out.copied = in.copied;
    out.total = in.total;
    out.freeLine = "Free space on target drive is : " + NumberText(in.freeBytes >> 10) + " kb";
    out.totalLine = "Total source space : " + NumberText(in.total >> 10) + " kb";
    out.leftLine = "Left to copy : " + NumberText(left >> 10) + " kb";
    out.fits = left < in.freeBytes || in.noFitCheck;
    out.fitLine = out.fits ? "Ok. Will fit." : "WARNING : WILL NOT FIT";
    out.barMaximum = in.total >> 10;
    out.barPosition = in.copied >> 10;

    uint64_t speed = (in.copied / (in.elapsedMs + 1)) * 1000;
    out.speedLine = std::to_string(speed >> 10) + " kb per second";
    uint64_t seconds = left / (speed + 1) + 1;
    out.timeCaption = in.copied >= 3000000 ? "Time, +-5 seconds" : "Time, calculating";
    if (seconds >= 60)
        out.timeLeftLine = std::to_string(seconds / 60) + " minutes, " +
                           std::to_string(seconds % 60) + " seconds left";
    else
        out.timeLeftLine = std::to_string(seconds) + " seconds left...";
    std::time_t end = in.now + static_cast<std::time_t>(seconds);
    struct tm local {};
    char buffer[32] = "";
    if (::localtime_r(&end, &local))
        std::strftime(buffer, sizeof buffer, "%H:%M:%S", &local);
    out.endTimeLine = std::string("Will be done at ") + buffer;

    out.percent = CaptionPercent(in.copied, in.total);
    if (in.name.empty())
        return;
    std::string caption = out.fits ? "" : "! ";
    caption += std::to_string(out.percent) + "% ";
    if (in.kind == OpDelete)
        caption += "Deleting " + in.name;
    else if (in.kind == OpCopy)
        caption += "Copying " + in.name + " to " + in.destination;
    else
        caption += "Moving " + in.name + " to " + in.destination;
    out.caption = std::move(caption);
}

} // namespace orvo
