#pragma once

#include <string>

namespace orvo {

// The sentences a file operation shows, word for word as users know them.
inline constexpr const char* kFileOperationCaption = "File operation";
inline constexpr const char* kCalculatingSpace = "Calculating space";
inline constexpr const char* kCalculatingCaption = "Calculating space, searching for problems...";
inline constexpr const char* kProblemCaption = "!!! Problem";
inline constexpr const char* kDeleteProblems =
    "These files are to be deleted, but they are hidden or system!\r\n"
    "Are you sure you want to delete them ?";
inline constexpr const char* kCopyProblems =
    "These files are to be overwritten during copy operation.\r\n"
    "Are you sure you want to overwrite them ?";
inline constexpr const char* kMoveProblems =
    "These files are to be overwritten during move operation.\r\n"
    "Are you sure you want to overwrite them ?";
inline constexpr const char* kSpaceQuestion =
    "There is no enough free space on destination drive to copy all the files. "
    "Do you want to continue ?";
inline constexpr const char* kCopyToItself = "Can't copy a directory to itself. Stopping.";
inline constexpr const char* kSameDirectory =
    "Destination directory is the same as source directory. Stopping.";
inline constexpr const char* kUserBroke = "User has broken the operation.";
inline constexpr const char* kNotADirectory = "The destination is not a directory. Stopping.";
inline constexpr const char* kNoSpaceSentence = "\n\n\nThere is not enough space on target drive.";
inline constexpr const char* kContinueQuestion = "\n\n\nContinue ?";

// "Are you sure you want to stop CAPTION ?", asked when the person cancels.
std::string StopQuestion(const std::string& caption);
// "I couldn't VERB PATH !" and the long form naming both ends.
std::string CouldNotText(const std::string& verb, const std::string& path);
std::string CouldNotText(const std::string& verb, const std::string& src, const std::string& dst);
// The error question: the failure, the space sentence when the disk is
// full, and "Continue ?".
std::string ErrorQuestion(std::string failure, int error);

} // namespace orvo
