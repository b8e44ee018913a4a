#pragma once

#include "store/QFieldInfo.h"

namespace orvo {

// The nine columns of a directory listing. Variant A is the reader's table
// and the file lists; variant B, the browse window's view table, makes
// Directory a precedence key so sorting keeps directories together.
extern const QFieldDef kListingFieldsA[9];
extern const QFieldDef kListingFieldsB[9];
inline constexpr int kListingFieldCount = 9;

} // namespace orvo
