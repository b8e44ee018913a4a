#pragma once

#include <string>
#include <string_view>

namespace orvo {

// The MD5 digest of the bytes as 32 lower-case hexadecimal digits: the name
// the shared thumbnail cache gives the thumbnail of a file URI.
std::string Md5Hex(std::string_view bytes);

} // namespace orvo
