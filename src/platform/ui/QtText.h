#pragma once

#include <QString>

#include <string_view>

namespace orvo {

// The core's texts are UTF-8 bytes; this is how every window shows one.
// (Paths handed back to the file system go through QFile::encodeName and
// decodeName instead, so names that are not UTF-8 survive the round trip.)
inline QString ToQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace orvo
