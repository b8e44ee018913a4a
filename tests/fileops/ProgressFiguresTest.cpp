#include "fileops/ProgressFigures.h"

#include "fileops/FileOperationRequest.h"
#include "platform/DisplayText.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST(ProgressFigures, DigitGroups) {
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(999), "999");
    EXPECT_EQ(NumberText(1000), "1 000");
    EXPECT_EQ(NumberText(1234567), "1 234 567");
    EXPECT_EQ(NumberText(18446744073709551615ull), "18 446 744 073 709 551 615");
}

TEST(ProgressFigures, EveryLineOfARunningCopy) {
    ProgressInput in;
    in.copied = 3000000;
    in.total = 10485760;
    in.freeBytes = 1048576000;
    in.elapsedMs = 1999;
    in.now = 1700000000;
    in.kind = OpCopy;
    in.name = "/src/a";
    in.destination = "/dst";
    ProgressFigures f;
    ComputeProgress(in, f);
    EXPECT_EQ(f.freeLine, "Free space on target drive is : 1 024 000 kb");
    EXPECT_EQ(f.totalLine, "Total source space : 10 240 kb");
    EXPECT_EQ(f.leftLine, "Left to copy : 7 310 kb");
    EXPECT_EQ(f.fitLine, "Ok. Will fit.");
    EXPECT_TRUE(f.fits);
    EXPECT_EQ(f.speedLine, "1464 kb per second"); // (3000000 / 2000) * 1000 bytes
    EXPECT_EQ(f.timeCaption, "Time, +-5 seconds");
    EXPECT_EQ(f.timeLeftLine, "5 seconds left...");
    std::time_t end = in.now + 5;
    char expected[16];
    std::strftime(expected, sizeof expected, "%H:%M:%S", std::localtime(&end));
    EXPECT_EQ(f.endTimeLine, std::string("Will be done at ") + expected);
    EXPECT_EQ(f.barMaximum, 10240u);
    EXPECT_EQ(f.barPosition, 2929u);
    EXPECT_EQ(f.caption, "27% Copying /src/a to /dst");

    in.copied = 1000000;
    in.elapsedMs = 999;
    in.total = 126000000;
    in.freeBytes = 1000;
    in.kind = OpMove;
    ComputeProgress(in, f);
    EXPECT_EQ(f.timeLeftLine, "2 minutes, 5 seconds left");
    EXPECT_EQ(f.timeCaption, "Time, calculating");
    EXPECT_EQ(f.fitLine, "WARNING : WILL NOT FIT");
    EXPECT_EQ(f.caption, "! 0% Moving /src/a to /dst");
    in.noFitCheck = true;
    in.kind = OpDelete;
    ComputeProgress(in, f);
    EXPECT_EQ(f.caption, "0% Deleting /src/a");
}

TEST(ProgressFigures, PercentAndOddTotals) {
    EXPECT_EQ(CaptionPercent(0, 1000), 0);
    EXPECT_EQ(CaptionPercent(500, 1000), 49);
    EXPECT_EQ(CaptionPercent(1000, 1000), 99);
    // Nothing counted (no check) or more done than counted.
    EXPECT_EQ(CaptionPercent(5000, 0), 0);
    EXPECT_EQ(CaptionPercent(5000, 1000), 99);

    ProgressInput in;
    in.copied = 5000;
    in.total = 1000; // a file grew after it was counted
    ProgressFigures f;
    ComputeProgress(in, f);
    EXPECT_EQ(f.leftLine, "Left to copy : 0 kb");
    in.total = 0;
    ComputeProgress(in, f);
    EXPECT_EQ(f.barMaximum, 0u);
    EXPECT_EQ(f.timeCaption, "Time, calculating");
    EXPECT_EQ(f.caption, ""); // no name: the caption is left alone
}
