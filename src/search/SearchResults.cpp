#include "search/SearchResults.h"

#include "platform/OleDate.h"

namespace orvo {

const QFieldDef kSearchResultFields[10] = {
    {"Name", QVT_LPSTR, 0xC06},    {"Path", QVT_LPSTR, 0xC04}, {"Extension", QVT_LPSTR, 0xC06},
    {"Comment", QVT_LPSTR, 0xC04}, {"Size", QVT_DWORD, 0xC06}, {"Date", QVT_DATE, 0xC06},
    {"Time", QVT_DATE, 0xC06},     {"Attr", QVT_LPSTR, 0xC06}, {"Directory", QVT_BOOL, 0xC04},
    {"Sample", QVT_LPSTR, 0xC04},
};

SearchResults::SearchResults() : table_(kSearchResultFields, kSearchResultFieldCount) {}

void SearchResults::Clear() {
    table_.RemoveAll();
    sizes_.clear();
}

void SearchResults::Append(const SearchHit& hit) {
    QRecord* row = table_.AppendArenaRecord(kSearchResultFieldCount);
    row->ValueRef(kName) = table_.ArenaString(hit.name);
    row->ValueRef(kPath) = table_.ArenaString(hit.path);
    row->ValueRef(kExtension) = table_.ArenaString(hit.extension);
    row->ValueRef(kComment) = QValue(std::string_view());
    row->ValueRef(kSize) =
        QValue(hit.size > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(hit.size), QVT_DWORD);
    const double date = TimeToLocalOleDate(hit.modified);
    row->ValueRef(kDate) = QValue(date, QVT_DATE);
    row->ValueRef(kTime) = QValue(date, QVT_DATE);
    row->ValueRef(kAttr) = table_.ArenaString(hit.attributes);
    row->ValueRef(kDirectory) = QValue(hit.isDirectory, QVT_BOOL);
    row->ValueRef(kSample) = table_.ArenaString(hit.sample);
    sizes_.push_back(hit.size);
}

std::string SearchResults::Path(int row) const {
    return table_.GetText(kPath, row);
}

std::string SearchResults::Name(int row) const {
    std::string name = table_.GetText(kName, row);
    std::string extension = table_.GetText(kExtension, row);
    return extension.empty() ? name : name + "." + extension;
}

uint64_t SearchResults::Size(int row) const {
    return sizes_[static_cast<size_t>(row)];
}

bool SearchResults::IsDirectory(int row) const {
    return table_.GetValue(kDirectory, row).AsBool() == 1;
}

} // namespace orvo
