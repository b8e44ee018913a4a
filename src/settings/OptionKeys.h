#pragma once

namespace orvo {

// Keys of the three option tables, spelled exactly as stored files hold
// them (misspellings included: renaming a key would orphan existing rows).
// Lookups ignore letter case.

// "Bool options"
inline constexpr const char* kBracketDirectoriesKey = "Enclosing directories in brackets";
inline constexpr const char* kUseColorsKey = "Use colors";
inline constexpr const char* kHideCommentFileKey = "Dont show DirInfo";
inline constexpr const char* kAllProblemsAtStartKey = "All the problems at start";
inline constexpr const char* kShowTipsKey = "Show Tips";
inline constexpr const char* kShowOnActionTipsKey = "Show on-action tips";
inline constexpr const char* kConvertDroppedImageKey = "Run conversion when image dropped";
inline constexpr const char* kShowQuickAccessBarKey = "Show Quick Acces Bar";

// "String options"
inline constexpr const char* kBackgroundImagePathKey = "Background image path";
// The background path value that selects the program's own image.
inline constexpr const char* kDefaultBackgroundValue = "Default";

// "Integer options"
inline constexpr const char* kTipPositionKey = "Tip of day position";

} // namespace orvo
