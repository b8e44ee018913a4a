#pragma once

#include "search/SearchEngine.h"
#include "store/QTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo {

// The columns of a results table: those of a directory listing and
// "Sample". "Comment" stays empty.
extern const QFieldDef kSearchResultFields[10];
inline constexpr int kSearchResultFieldCount = 10;

// The results of one search window: a table of rows in the order found,
// with the real sizes the 32-bit Size cells cannot hold.
class SearchResults {
public:
    SearchResults();

    const QTable& Table() const { return table_; }
    int Count() const { return table_.GetRecordCount(); }
    void Clear();
    void Append(const SearchHit& hit);

    std::string Path(int row) const;
    std::string Name(int row) const; // with the extension
    uint64_t Size(int row) const;
    bool IsDirectory(int row) const;

    // Column indexes, for readers of Table().
    enum Column {
        kName,
        kPath,
        kExtension,
        kComment,
        kSize,
        kDate,
        kTime,
        kAttr,
        kDirectory,
        kSample
    };

private:
    QTable table_;
    std::vector<uint64_t> sizes_;
};

} // namespace orvo
