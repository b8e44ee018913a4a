#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

enum class KeyFileStyle {
    // freedesktop.org key files (desktop entries, mimeapps.list): names are
    // case-sensitive and values carry the escapes \s \n \t \r \\.
    Desktop,
    // Windows INI files (.url shortcuts): names ignore case, values are raw.
    WindowsIni,
};

// The value of one key in one [group] of an INI-style text. Localised
// forms (Key[de]) are not the key.
std::optional<std::string> KeyFileValue(std::string_view text, std::string_view group,
                                        std::string_view key,
                                        KeyFileStyle style = KeyFileStyle::Desktop);

// Every key of one [group] of a desktop-style text, localised forms
// (Key[de]) included, decoded as KeyFileValue decodes them; of a key given
// twice the first value counts.
std::map<std::string, std::string, std::less<>> KeyFileGroup(std::string_view text,
                                                             std::string_view group);

} // namespace orvo
