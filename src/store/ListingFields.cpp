#include "store/ListingFields.h"

namespace orvo {

const QFieldDef kListingFieldsA[9] = {
    {"Name", QVT_LPSTR, 0xC06},      {"Path", QVT_LPSTR, 0xC04},  {"Extension", QVT_LPSTR, 0xC06},
    {"Comment", QVT_LPSTR, 0xC04},   {"Size", QVT_DWORD, 0xC06},  {"Date", QVT_DATE, 0xC06},
    {"Time", QVT_DATE, 0xC06},       {"Attr", QVT_LPSTR, 0xC06},  {"Directory", QVT_BOOL, 0xC04},
};

const QFieldDef kListingFieldsB[9] = {
    {"Name", QVT_LPSTR, 0xC06},      {"Path", QVT_LPSTR, 0xC06},  {"Extension", QVT_LPSTR, 0xC06},
    {"Comment", QVT_LPSTR, 0xC06},   {"Size", QVT_DWORD, 0xC06},  {"Date", QVT_DATE, 0xC06},
    {"Time", QVT_DATE, 0xC06},       {"Attr", QVT_LPSTR, 0xC06},  {"Directory", QVT_BOOL, 0xC05},
};

} // namespace orvo
