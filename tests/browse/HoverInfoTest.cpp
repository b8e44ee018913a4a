#include "browse/HoverInfo.h"

#include "../platform/TestDirectory.h"
#include "image/ImageFile.h"
#include "platform/OleDate.h"

#include <gtest/gtest.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

HoverFacts FileFacts() {
    std::tm tm{};
    tm.tm_year = 124;
    tm.tm_mon = 2;
    tm.tm_mday = 15;
    tm.tm_hour = 9;
    HoverFacts f;
    f.date = TmToOleDate(tm);
    f.now = f.date + 2.5 / 24;
    f.comment = "holiday";
    f.sizeText = "2 048";
    f.attr = "-a--";
    f.typeName = "JPEG image";
    return f;
}

} // namespace

TEST(HoverInfo, PartsInOrder) {
    HoverFacts f = FileFacts();
    EXPECT_EQ(HoverInfoText(f), "Comment : holiday\n"
                                "------------------------------------\n"
                                "Modified : 2024-03-15 (Fri 2 hours ago) 09:00-00\n"
                                "Size      : 2 048\n"
                                "Attr      : ,Archive\n"
                                "Type     : JPEG image");
    f.preview = HoverFacts::Preview::Image;
    f.imageWidth = 640;
    f.imageHeight = 480;
    f.dpiX = 72;
    f.dpiY = 96;
    f.bits = 8;
    EXPECT_NE(HoverInfoText(f).find("JPEG image\n-----Quick view :\nImage : 640 x 480, X Dpi : 72, "
                                    "Y Dpi : 96, 8 Bits per pixel"),
              std::string::npos);
    f.preview = HoverFacts::Preview::Text;
    f.text = "first line\n";
    f.wholeText = true;
    EXPECT_NE(HoverInfoText(f).find("-----Quick view :\nfirst line\n<---END OF FILE"),
              std::string::npos);
    f.wholeText = false;
    EXPECT_EQ(HoverInfoText(f).find("END OF FILE"), std::string::npos);

    f.preview = HoverFacts::Preview::Media;
    EXPECT_EQ(HoverInfoText(f).substr(HoverInfoText(f).find("JPEG image")),
              "JPEG image\n-----Quick view :\nPlaying...");

    f.comment = std::string(101, 'c');
    EXPECT_EQ(HoverInfoText(f).rfind("Comment : \nccc", 0), 0u);
    f.comment = std::string(100, 'c');
    EXPECT_EQ(HoverInfoText(f).rfind("Comment : ccc", 0), 0u);

    EXPECT_EQ(AttributeWords("rahs"), " ReadOnly,Archive,Hidden,System");
    EXPECT_EQ(AttributeWords("--h-"), ",Hidden");
    EXPECT_EQ(AttributeWords("----"), "");
    EXPECT_EQ(AttributeWords(""), "");

    HoverFacts drive;
    drive.isDrive = true;
    drive.drive = "/media/usb";
    drive.freeBytes = 1500000;
    drive.totalBytes = 8000000000ULL;
    EXPECT_EQ(HoverInfoText(drive), "Drive /media/usb, Free 1 500 000 bytes of 8 000 000 000");
}

TEST(HoverInfo, TextAndPictureFacts) {
    TestDirectory dir;
    HoverFacts f;
    ASSERT_TRUE(ReadTextFacts(dir.Write("short.txt", "hello"), 10, f));
    EXPECT_EQ(f.text, "hello");
    EXPECT_TRUE(f.wholeText);
    ASSERT_TRUE(ReadTextFacts(dir.Write("exact.txt", "0123456789"), 10, f));
    EXPECT_TRUE(f.wholeText);
    ASSERT_TRUE(ReadTextFacts(dir.Write("long.txt", "a\xC3\xA9\xC3\xA9\xE2\x82\xAC"), 5, f));
    EXPECT_EQ(f.text, "a\xC3\xA9\xC3\xA9");
    EXPECT_FALSE(f.wholeText);
    ASSERT_TRUE(ReadTextFacts(dir.Write("cut.txt", "a\xC3\xA9\xE2\x82\xAC"), 5, f));
    EXPECT_EQ(f.text, "a\xC3\xA9"); // the euro sign would be cut
    EXPECT_FALSE(ReadTextFacts(dir / "gone.txt", 10, f));

    RasterImage picture;
    ASSERT_TRUE(picture.Create(33, 21, 8));
    picture.SetDpi(150, 300);
    ASSERT_TRUE(SaveImage(picture, dir / "p.bmp"));
    HoverFacts p;
    ASSERT_TRUE(ReadImageFacts(dir / "p.bmp", p));
    EXPECT_EQ(p.preview, HoverFacts::Preview::Image);
    EXPECT_EQ(p.imageWidth, 33);
    EXPECT_EQ(p.imageHeight, 21);
    EXPECT_EQ(p.bits, 8);
    EXPECT_EQ(p.dpiX, 150);
    EXPECT_EQ(p.dpiY, 300);
    EXPECT_FALSE(ReadImageFacts(dir.Write("fake.bmp", "no"), p));
}
