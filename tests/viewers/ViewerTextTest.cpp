#include "viewers/ViewerText.h"

#include <gtest/gtest.h>

using namespace std::string_literals;
using namespace orvo;

TEST(ViewerText, ZeroBytesAreHiddenAndMakeTheFileBinary) {
    const ViewerText text = DecodeViewerText("ab\0cd"s);
    EXPECT_EQ(text.text, "abcd");
    EXPECT_TRUE(text.binary);
    EXPECT_FALSE(DecodeViewerText("abcd").binary);
    EXPECT_FALSE(DecodeViewerText("").binary);
}

TEST(ViewerText, BytesThatAreNotUtf8ShowAsLatin1OrWindows1252) {
    // Beside real UTF-8 characters, a stray byte is the Latin-1 character.
    const ViewerText latin = DecodeViewerText("caf\xe9 \xc3\xa9t\xc3\xa9");
    EXPECT_EQ(latin.text, "caf\xc3\xa9 \xc3\xa9t\xc3\xa9");
    EXPECT_TRUE(latin.latin1Bytes);
    // Overlong forms, surrogates and cut sequences are not UTF-8 either;
    // alone in a file they make it Windows-1252 text.
    EXPECT_EQ(DecodeViewerText("\xc0\xaf").text, "\xc3\x80\xc2\xaf");
    EXPECT_EQ(DecodeViewerText("\xed\xa0\x80").text, "\xc3\xad\xc2\xa0\u20ac");
    EXPECT_EQ(DecodeViewerText("a\xe2\x82").text, "a\xc3\xa2\u201a");
    const ViewerText clean = DecodeViewerText("\xf0\x9f\x98\x80 ok");
    EXPECT_EQ(clean.text, "\xf0\x9f\x98\x80 ok");
    EXPECT_FALSE(clean.latin1Bytes);
}

TEST(ViewerText, LineBreaksComeBackAsTheFileHadThem) {
    for (const std::string& file : {"one\r\ntwo\r\n"s, "one\ntwo\n"s, "one\rtwo\r"s, "no break"s}) {
        const ViewerText text = DecodeViewerText(file);
        EXPECT_EQ(text.text.find('\r'), std::string::npos);
        EXPECT_EQ(EncodeViewerText(text.text, text.lineBreak), file);
    }
    // Mixed files are written with the break most of their lines had.
    const ViewerText mixed = DecodeViewerText("a\r\nb\r\nc\nd");
    EXPECT_EQ(mixed.lineBreak, LineBreak::CrLf);
    EXPECT_EQ(EncodeViewerText(mixed.text, mixed.lineBreak), "a\r\nb\r\nc\r\nd");
}

// A save gives every line the break it had, wherever lines were added,
// removed or edited; new lines follow the line above them.
TEST(ViewerText, EditedTextKeepsEachLinesOwnBreak) {
    const std::string file = "a\r\nb\nc\r\nd\re\n"s;
    const ViewerText facts = DecodeViewerText(file);
    EXPECT_EQ(EncodeViewerText(facts.text, facts).bytes, file);
    EXPECT_EQ(EncodeViewerText("a\nb\nX\nc\nd\ne\n", facts).bytes, "a\r\nb\nX\nc\r\nd\re\n");
    EXPECT_EQ(EncodeViewerText("a\nc\nd\ne\n", facts).bytes, "a\r\nc\r\nd\re\n");
    EXPECT_EQ(EncodeViewerText("A\nb\nC\nd\ne\n", facts).bytes, "A\r\nb\nC\r\nd\re\n");
    // Lines moved apart by insertions at both ends still find their own.
    EXPECT_EQ(EncodeViewerText("0\na\nb\nc\nd\nY\ne\n", facts).bytes,
              "0\na\r\nb\nc\r\nd\rY\re\n");
    // A text that gained lines after its unterminated last one.
    const ViewerText open = DecodeViewerText("x\r\ny"s);
    EXPECT_EQ(EncodeViewerText("x\ny\nz", open).bytes, "x\r\ny\r\nz");
}

TEST(ViewerText, EightBitFilesStayInTheirEncoding) {
    std::string every;
    for (int c = 1; c < 256; ++c)
        if (c != '\r' && c != '\n')
            every += static_cast<char>(c);
    const ViewerText all = DecodeViewerText(every);
    EXPECT_EQ(all.encoding, TextEncoding::Windows1252);
    const EncodedText same = EncodeViewerText(all.text, all);
    EXPECT_TRUE(same.encodingKept);
    EXPECT_EQ(same.bytes, every);

    const ViewerText latin = DecodeViewerText("\x93Gr\xfc\xdf\x94");
    EXPECT_EQ(latin.text, "\u201cGr\u00fc\u00df\u201d");
    EXPECT_EQ(EncodeViewerText("\u20ac \u00e9", latin).bytes, "\x80 \xe9");

    // What the encoding cannot hold is written as UTF-8, flagged for a question.
    const EncodedText wide = EncodeViewerText("\u00e9 \u4e2d", latin);
    EXPECT_FALSE(wide.encodingKept);
    EXPECT_EQ(wide.bytes, "\u00e9 \u4e2d");
    // Stray bytes in UTF-8 cannot come back as they were.
    const ViewerText stray = DecodeViewerText("caf\xe9 \xc3\xa9t\xc3\xa9");
    EXPECT_EQ(stray.encoding, TextEncoding::Utf8WithStrayBytes);
    EXPECT_FALSE(EncodeViewerText(stray.text, stray).encodingKept);
    EXPECT_TRUE(EncodeViewerText("\u00e9", DecodeViewerText("\xc3\xa9")).encodingKept);
}

TEST(ViewerText, StatusLineAndQuestions) {
    EXPECT_EQ(TextStatusLine(1, 0, 1, 1), "1 lines.0 chars. <Ln 1, Col 1>");
    EXPECT_EQ(TextStatusLine(12, 1234, 3, 7), "12 lines.1 234 chars. <Ln 3, Col 7>");
    EXPECT_EQ(SaveQuestion("a.txt"), "Are you sure you want to save a.txt ?");
    EXPECT_EQ(ReadLineNumber("12abc"), 12);
    EXPECT_EQ(ReadLineNumber("line"), 0);
    EXPECT_EQ(ReadLineNumber("99999999999999"), 1000000000);
}

TEST(ViewerText, PlainSearchWithAndWithoutCase) {
    const std::string text = "one ABC two abc \xc3\x89t\xc3\xa9";
    TextMatch m = FindInViewerText(text, 0, "abc", false, false);
    ASSERT_TRUE(m.found);
    EXPECT_EQ(m.start, 4u);
    EXPECT_EQ(m.end, 7u);
    m = FindInViewerText(text, 0, "abc", true, false);
    ASSERT_TRUE(m.found);
    EXPECT_EQ(m.start, 12u);
    EXPECT_FALSE(FindInViewerText(text, 13, "abc", true, false).found);
    EXPECT_FALSE(FindInViewerText(text, 0, "", false, false).found);
    // Offsets stay those of the shown text after folding.
    m = FindInViewerText(text, 0, "t\xc3\xa9", false, false);
    ASSERT_TRUE(m.found);
    EXPECT_EQ(m.start, 18u);
}

TEST(ViewerText, WholeWordsAndWildcards) {
    const std::string text = "cat concat cat_x cats cat";
    TextMatch m = FindInViewerText(text, 1, "cat", true, false, true);
    ASSERT_TRUE(m.found);
    EXPECT_EQ(m.start, 22u);
    m = FindInViewerText(text, 0, "c?t*x", true, true);
    ASSERT_TRUE(m.found);
    EXPECT_EQ(m.start, 0u);
    EXPECT_EQ(m.end, 16u);
    m = FindInViewerText(text, 1, "C[o]N", false, true);
    ASSERT_TRUE(m.found);
    EXPECT_EQ(m.start, 4u);
    EXPECT_FALSE(FindInViewerText(text, 1, "C[o]N", true, true).found);
    EXPECT_FALSE(FindInViewerText(text, 5, "c[o]n", true, true).found);
}
