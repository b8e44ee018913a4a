#include "browse/RowDrawing.h"

#include "browse/BackgroundLoading.h"
#include "browse/BackgroundPicture.h"
#include "browse/RowMarks.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST(RowDrawingTexts, SizeCells) {
    EXPECT_EQ(SizeCellText(2048, true, false), "2 048 kb");
    EXPECT_EQ(SizeCellText(2048, false, false), "2 048");
    EXPECT_EQ(SizeCellText(0, false, false), "0");
    EXPECT_EQ(SizeCellText(0, true, false), "0"); // not counted, or empty
    EXPECT_EQ(SizeCellText(0, false, true), "");  // the parent entry
}

TEST(RowDrawingTexts, NamesAndBrackets) {
    EXPECT_EQ(DisplayName("photo", "jpg", false, false, true), "photo.jpg");
    EXPECT_EQ(DisplayName("README", "", false, false, true), "README");
    EXPECT_EQ(DisplayName("src", "", true, false, true), "[src]");
    EXPECT_EQ(DisplayName("conf", "d", true, false, true), "[conf.d]");
    EXPECT_EQ(DisplayName("src", "", true, false, false), "src");
    EXPECT_EQ(DisplayName("..", "", true, true, true), "..");
}

TEST(RowDrawingTexts, CutTextEndsWithDotsAndNeverSplitsACharacter) {
    // One unit per byte: "..." takes 3.
    auto bytes = [](std::string_view s) { return static_cast<int>(s.size()); };
    EXPECT_EQ(CutText("short", 5, bytes), "short");
    EXPECT_EQ(CutText("longer name", 8, bytes), "longe...");
    EXPECT_EQ(CutText("longer name", 3, bytes), "...");
    EXPECT_EQ(CutText("longer name", 1, bytes), "...");
    // "é" is two bytes: a cut between them would leave a broken character.
    EXPECT_EQ(CutText("aééé", 6, bytes), "aé...");
    EXPECT_EQ(CutText("aééé", 5, bytes), "a...");
    // Counting characters instead of bytes gives the same answer.
    auto chars = [](std::string_view s) {
        int n = 0;
        for (char c : s)
            n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return n;
    };
    EXPECT_EQ(CutText("ééééé", 4, chars), "é...");
}

TEST(RowDrawingColors, TextAndBackgroundByState) {
    const SystemColors sys{{0, 0, 0}, {255, 255, 255}, {0, 120, 215}, {255, 255, 255}};
    FileGroupStyle red;
    red.found = true;
    red.color = {{200, 0, 0}, true};
    BackgroundTone none;

    RowColors plain = ComputeRowColors(FileGroupStyle{}, {}, sys, none);
    EXPECT_EQ(plain.text, (RgbColor{0, 0, 0}));
    EXPECT_EQ(plain.background, (RgbColor{255, 255, 255}));
    EXPECT_TRUE(plain.fillBackground);
    EXPECT_EQ(ComputeRowColors(red, {}, sys, none).text, (RgbColor{200, 0, 0}));

    RowState selected{true, true, false, false};
    RowColors sel = ComputeRowColors(red, selected, sys, none);
    EXPECT_EQ(sel.text, (RgbColor{255, 255, 255}));
    EXPECT_EQ(sel.background, (RgbColor{0, 120, 215}));
    selected.focusedList = false;
    EXPECT_EQ(ComputeRowColors(red, selected, sys, none).background, (RgbColor{30, 150, 245}));

    RowState dir{false, true, true, false};
    EXPECT_EQ(ComputeRowColors(FileGroupStyle{}, dir, sys, none).background,
              (RgbColor{235, 235, 255}));
    dir.focusedList = false;
    EXPECT_EQ(ComputeRowColors(FileGroupStyle{}, dir, sys, none).background,
              (RgbColor{255, 255, 255}));
}

TEST(RowDrawingColors, DarkPicturesLightenTheTextAndShowThrough) {
    const SystemColors sys{{10, 20, 30}, {255, 255, 255}, {0, 0, 128}, {255, 255, 255}};
    BackgroundTone dark{true, 60, {40, 50, 250}};
    RowColors c = ComputeRowColors(FileGroupStyle{}, {}, sys, dark);
    // 10 + (230 - 40), 20 + (230 - 50), 30 + (230 - 250) clamped at each end.
    EXPECT_EQ(c.text, (RgbColor{200, 200, 10}));
    EXPECT_FALSE(c.fillBackground);
    BackgroundTone bright{true, 140, {0, 0, 0}};
    EXPECT_EQ(ComputeRowColors(FileGroupStyle{}, {}, sys, bright).text, sys.text);
    FileGroupStyle white;
    white.color = {{250, 250, 250}, true};
    EXPECT_EQ(ComputeRowColors(white, {}, sys, BackgroundTone{true, 0, {0, 0, 0}}).text,
              (RgbColor{255, 255, 255}));
    EXPECT_EQ(AddToColor({5, 250, 100}, -10, 10, 0), (RgbColor{0, 255, 100}));
}

TEST(RowDrawingFonts, GroupStylesAndMarkedRows) {
    EXPECT_FALSE(ComputeRowFont(FileGroupStyle{}, false).derived);
    RowFont marked = ComputeRowFont(FileGroupStyle{}, true);
    EXPECT_TRUE(marked.derived && marked.bold);
    EXPECT_FALSE(marked.shadow);

    FileGroupStyle s;
    s.italic = true;
    s.fontSize = 3;
    s.shadow = true;
    RowFont f = ComputeRowFont(s, false);
    EXPECT_TRUE(f.derived && f.italic && f.shadow);
    EXPECT_FALSE(f.bold);
    EXPECT_EQ(f.heightDelta, 3);
    EXPECT_EQ(f.extraSpacing, 2);
    EXPECT_EQ(f.shadowColor, (RgbColor{128, 128, 128})); // no colour row found
    s.shadowColor = {{1, 2, 3}, true};
    EXPECT_EQ(ComputeRowFont(s, false).shadowColor, (RgbColor{1, 2, 3}));
}

TEST(RowDrawingSizeBar, ShareOfTheTotal) {
    EXPECT_EQ(SizeBarLength(120, 500, false, 0), 0); // not counted
    EXPECT_EQ(SizeBarLength(120, 999, false, 999), 99);
    EXPECT_EQ(SizeBarLength(120, 500, false, 999), 50);
    EXPECT_EQ(SizeBarLength(120, 1, true, 2047), 50);     // 1 kb of a 2 kb listing
    EXPECT_EQ(SizeBarLength(120, 5000, false, 100), 100); // outgrew the total
    EXPECT_EQ(SizeBarLength(15, 5, false, 10), 0);
    EXPECT_EQ(SizeBarLength(1020, 5000000000ULL, false, 10000000000ULL), 499);
}

TEST(RowDrawingMarks, FavoritesFirstThenTheQuickAccessList) {
    RowMarks marks;
    marks.SetQuickAccessPaths({"/home/a/x", "/home/a/y"});
    EXPECT_TRUE(marks.IsMarked("/home/a/x"));
    EXPECT_FALSE(marks.IsMarked("/home/a/X")); // paths compare exactly
    marks.SetMarkedPaths({"/elsewhere"});
    EXPECT_TRUE(marks.IsMarked("/elsewhere"));
    EXPECT_FALSE(marks.IsMarked("/home/a/x")); // the bar counts only without favorites
    marks.ClearMarkedPaths();
    EXPECT_TRUE(marks.IsMarked("/home/a/x"));
}

TEST(BackgroundPictureAnalysis, BrightnessAndAverageColour) {
    RasterImage picture;
    ASSERT_TRUE(picture.Create(40, 30, 24));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            picture.SetPixelColor(x, y, x < 20 ? MakeRgb(0, 0, 0) : MakeRgb(240, 120, 0));
    BackgroundTone tone = AnalyseBackgroundPicture(picture);
    EXPECT_TRUE(tone.present);
    // Half the samples black, half (240, 120, 0) whose mean is 120.
    EXPECT_NEAR(tone.brightness, 60, 8);
    EXPECT_NEAR(tone.average.red, 120, 16);
    EXPECT_NEAR(tone.average.green, 60, 8);
    EXPECT_EQ(tone.average.blue, 0);
    EXPECT_FALSE(AnalyseBackgroundPicture(RasterImage()).present);
}

TEST(BackgroundLoadingRules, IconSharingAndProgress) {
    EXPECT_EQ(IconKeyOf("/d/sub", "", true, false).share, IconShare::Directory);
    IconKey jpg = IconKeyOf("/d/a.JPG", "JPG", false, false);
    EXPECT_EQ(jpg.share, IconShare::Extension);
    EXPECT_EQ(jpg.key, "jpg");
    for (const char* ext : {"lnk", "ICO", "exe", "desktop", ""})
        EXPECT_EQ(IconKeyOf("/d/f", ext, false, false).share, IconShare::Path) << ext;
    EXPECT_EQ(IconKeyOf("/d/run.sh", "sh", false, true).key, "/d/run.sh");

    EXPECT_EQ(LoadingPercent(0, 1000), 0);
    EXPECT_EQ(LoadingPercent(1, 1000), 0);
    EXPECT_EQ(LoadingPercent(999, 1000), 99);
    EXPECT_EQ(LoadingPercent(1000, 1000), 100);
    EXPECT_EQ(LoadingPercent(5, 0), 0);
    EXPECT_EQ(LoadingCaption("/photos", 42, "a.jpg"), "/photos : 42 % done (a.jpg)");
}
