#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

inline constexpr const char* kBinaryRefusal = "Binary data, cannot save. Only text data can be";
inline constexpr const char* kCouldNotWrite = "Couldn't write.";
inline constexpr const char* kTextNotFoundTitle = "Text not found";
inline constexpr const char* kTextNotFoundQuestion =
    "The searched string was not found. Start from the beginning of the document ?";
inline constexpr const char* kGoToLinePrompt = "Go to line :";
inline constexpr const char* kQuestionTitle = "Question";

enum class LineBreak { Lf, CrLf, Cr };

enum class TextEncoding {
    Utf8,
    // Bytes that are not UTF-8, as many as or more than the characters that
    // are: an 8-bit file, read and written as Windows-1252 (a superset of Latin-1's
    // printable characters; its five unused bytes stand for themselves).
    Windows1252,
    // UTF-8 with fewer stray bytes than characters; the strays show as the Latin-1
    // characters of the same number and cannot be written back as they were.
    Utf8WithStrayBytes
};

// A file as the text viewer shows it: UTF-8 with "\n" line breaks.
struct ViewerText {
    std::string text;
    // The file held zero bytes; they are not shown, and saving would lose
    // them, so the viewer refuses to save.
    bool binary = false;
    // Some bytes were no valid UTF-8 (see encoding for how they show).
    bool latin1Bytes = false;
    TextEncoding encoding = TextEncoding::Utf8;
    // The line break most lines of the file end with; lines saving cannot
    // match to one of the file's get it.
    LineBreak lineBreak = LineBreak::Lf;
    // Each line's own break, in order, and a fingerprint of every shown
    // line (one more than breaks: the last line has none), so that a save
    // gives unchanged lines the break they had.
    std::vector<LineBreak> breaks;
    std::vector<uint64_t> linePrints;
};

ViewerText DecodeViewerText(std::string_view bytes);

struct EncodedText {
    std::string bytes;
    // False when the file's encoding cannot hold every character of the
    // text (or its stray bytes cannot be written back); the bytes are then
    // UTF-8, and the user is to be asked before they are written.
    bool encodingKept = true;
};

// The bytes saving writes for a shown text (UTF-8 with "\n" breaks): in the
// file's encoding, each line with the break the file gave it as far as the
// lines can be matched, the file's usual break elsewhere.
EncodedText EncodeViewerText(std::string_view shown, const ViewerText& file);
// Every line ends with the one given break; UTF-8 kept.
std::string EncodeViewerText(std::string_view shown, LineBreak lineBreak);

// "12 lines.1 234 chars. <Ln 3, Col 7>" (line and column from 1).
std::string TextStatusLine(int lines, uint64_t chars, int line, int column);

// "Are you sure you want to save NAME ?"
std::string SaveQuestion(std::string_view fileName);
// Asked before a save that cannot keep the file's encoding writes UTF-8.
std::string EncodingQuestion(std::string_view fileName, TextEncoding encoding);

// A match of the viewer's search, as byte offsets of the shown text.
struct TextMatch {
    size_t start = 0;
    size_t end = 0;
    bool found = false;
};

// Looks for what at or after byte offset from. Plain search compares bytes
// with matchCase, characters folded to lower case without it, and with
// wholeWords only takes a match with no letter, digit or "_" right before
// or after it; with wildcard what is a pattern ("*", "?", "[...]") matched
// at the earliest place.
TextMatch FindInViewerText(std::string_view text, size_t from, std::string_view what,
                           bool matchCase, bool wildcard, bool wholeWords = false);

// A line number as typed: its leading whole number, 0 for text that is none.
int ReadLineNumber(std::string_view typed);

// The text last searched in any text viewer while the program runs.
std::string& LastSearchedText();

} // namespace orvo
