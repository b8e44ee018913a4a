#pragma once

#include "store/QDataBase.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The name of the special group whose files a text search can skip.
inline constexpr const char* kBinarySpecialGroup = "Binary";

// The file-name patterns of a "Special files" group (matched ignoring
// case): its "File name" cell split at the commas, in order, blanks around
// each pattern and empty pieces dropped. Empty when there is no such group.
std::vector<std::string> GetSpecialFilePatterns(const QDataBase& db, std::string_view group);
std::vector<std::string> GetSpecialFilePatterns(std::string_view group);

} // namespace orvo
