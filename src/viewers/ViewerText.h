#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

inline constexpr const char* kBinaryRefusal = "Binary data, cannot save. Only text data can be";
inline constexpr const char* kCouldNotWrite = "Couldn't write.";
inline constexpr const char* kTextNotFoundTitle = "Text not found";
inline constexpr const char* kTextNotFoundQuestion =
    "The searched string was not found. Start from the beginning of the document ?";
inline constexpr const char* kGoToLinePrompt = "Go to line :";
inline constexpr const char* kQuestionTitle = "Question";

enum class LineBreak { Lf, CrLf, Cr };

// A file as the text viewer shows it: UTF-8 with "\n" line breaks.
struct ViewerText {
    std::string text;
    // The file held zero bytes; they are not shown, and saving would lose
    // them, so the viewer refuses to save.
    bool binary = false;
    // Some bytes were no valid UTF-8 and show as the Latin-1 characters of
    // the same number.
    bool latin1Bytes = false;
    // The line break most lines of the file end with; saving writes it back.
    LineBreak lineBreak = LineBreak::Lf;
};

ViewerText DecodeViewerText(std::string_view bytes);
// The bytes saving writes for a shown text (UTF-8, "\n" turned back into
// the file's line break).
std::string EncodeViewerText(std::string_view shown, LineBreak lineBreak);

// "12 lines.1 234 chars. <Ln 3, Col 7>" (line and column from 1).
std::string TextStatusLine(int lines, uint64_t chars, int line, int column);

// "Are you sure you want to save NAME ?"
std::string SaveQuestion(std::string_view fileName);

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
