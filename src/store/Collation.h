#pragma once

#include <string>
#include <string_view>

namespace orvo {

// Text order of the record store: the collation of the user's locale
// (LC_COLLATE as set by setlocale from the environment). Case-insensitive
// comparison folds both strings to lower case as wide characters first and
// then compares them with wcscoll. Bytes that are not valid in the locale's
// encoding still get a fixed place in the order.
int CollateStrings(std::string_view a, std::string_view b, bool caseSensitive);

// A key whose wcscmp order equals CollateStrings' order (wcsxfrm of the
// folded text), so a sort can convert each string once instead of at
// every comparison.
std::wstring CollationKey(std::string_view text, bool caseSensitive);

// Lower case of a multibyte text, character by character (bytes the locale
// cannot decode are kept as they are).
std::string LowerCaseText(std::string_view text);

} // namespace orvo
