#include "browse/DirectoryListing.h"

#include "platform/DirectoryReader.h"
#include "platform/FileStatus.h"
#include "platform/OleDate.h"
#include "platform/PathText.h"
#include "store/ListingFields.h"

#include <cerrno>

namespace orvo {

namespace {

enum Column : uint32_t {
    kName,
    kPath,
    kExtension,
    kComment,
    kSize,
    kDate,
    kTime,
    kAttr,
    kDirectory
};

void UseListingColumns(QTable& table) {
    table.SetFields(kListingFieldsA, kListingFieldCount);
    table.MutableColumns()[kDirectory].SetFlags(table.Columns()[kDirectory].GetFlags() |
                                                QFF_PRECEDENCE);
}

} // namespace

DirectoryListing::DirectoryListing() {
    UseListingColumns(*this);
}

void DirectoryListing::TakeRows(QTable& fresh, std::string directoryPath,
                                std::unordered_map<std::string, uint64_t> largeSizes) {
    // Taking a new table's contents lets the old rows' memory go with them:
    // rows live in their table's arena, which only a new table starts afresh.
    std::string name = GetName();
    uint32_t created = GetCreated();
    TakeContentsFrom(fresh);
    SetName(std::move(name));
    SetCreated(created);
    directoryPath_ = std::move(directoryPath);
    largeSizes_ = std::move(largeSizes);
    mayHang_.clear();
    readError_ = 0;
}

void DirectoryListing::TakeListing(DirectoryListing& other) {
    const int error = other.readError_;
    std::unordered_set<std::string> mayHang = std::move(other.mayHang_);
    TakeRows(other, other.directoryPath_, std::move(other.largeSizes_));
    mayHang_ = std::move(mayHang);
    readError_ = error;
}

bool DirectoryListing::MayHang(std::string_view path) const {
    return !mayHang_.empty() && mayHang_.count(std::string(path)) > 0;
}

uint32_t DirectoryListing::SizeCell(uint64_t size) {
    return size > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
}

int DirectoryListing::ReadDirectory(const std::string& path, const std::string& mask, int flags) {
    QTable fresh;
    UseListingColumns(fresh);
    std::unordered_map<std::string, uint64_t> largeSizes;
    std::string directory = StripTrailingSlash(path);
    std::string rowPath = directory == "/" ? "/" : directory + "/";
    const size_t base = rowPath.size();

    bool read = ForEachDirectoryEntry(directory, [&](const DirectoryEntry& e) {
        QRecord* row = fresh.AppendArenaRecord(kListingFieldCount);
        NameParts parts = SplitExtension(e.name);
        rowPath.resize(base);
        rowPath.append(e.name);
        double date = TimeToLocalOleDate(e.modified);
        char attr[4];
        WriteAttributeText(e.name, e.mode, attr);
        bool isDirectory = e.IsDirectory();
        // A directory's size is its counted content (filled in later), not
        // the size of its entry table.
        uint64_t size = isDirectory ? 0 : e.size;

        row->ValueRef(kName) = fresh.ArenaString(parts.stem);
        row->ValueRef(kPath) = fresh.ArenaString(rowPath);
        row->ValueRef(kExtension) = fresh.ArenaString(parts.extension);
        row->ValueRef(kComment) = QValue(std::string_view());
        row->ValueRef(kSize) = QValue(SizeCell(size), QVT_DWORD);
        row->ValueRef(kDate) = QValue(date, QVT_DATE);
        row->ValueRef(kTime) = QValue(date, QVT_DATE);
        row->ValueRef(kAttr) = fresh.ArenaString(std::string_view(attr, 4));
        row->ValueRef(kDirectory) = QValue(isDirectory, QVT_BOOL);
        if (size >= 0xFFFFFFFFull)
            largeSizes.emplace(rowPath, size);
    });
    int error = read ? 0 : (errno ? errno : EIO);
    TakeRows(fresh, directory, std::move(largeSizes));
    readError_ = error;
    return 1;
}

void DirectoryListing::SetFullSize(const std::string& path, uint64_t size) {
    if (size >= 0xFFFFFFFFull)
        largeSizes_[path] = size;
    else
        largeSizes_.erase(path);
}

uint64_t DirectoryListing::FullSize(const QRecord& row) const {
    const QValue& size = row.GetValue("Size");
    if (size.AsDword() != 0xFFFFFFFFu || largeSizes_.empty())
        return size.AsDword();
    auto it = largeSizes_.find(std::string(row.GetValue("Path").AsStringView()));
    return it == largeSizes_.end() ? size.AsDword() : it->second;
}

void ReadComputer(DirectoryListing& listing, std::vector<int>& driveTypes,
                  const std::vector<MountedVolume>& volumes) {
    QTable fresh;
    UseListingColumns(fresh);
    driveTypes.clear();
    for (const MountedVolume& v : volumes) {
        QRecord row = fresh.NewRecord();
        row.SetValue("Name", QValue(std::string_view(v.mountPoint + " " + v.DisplayName())));
        row.SetValue("Path", QValue(std::string_view(v.mountPoint)));
        row.SetValue("Directory", QValue(true, QVT_BOOL));
        fresh.AddRecord(row);
        driveTypes.push_back(v.driveType);
    }
    listing.TakeRows(fresh, std::string(kComputerPath));
    for (const MountedVolume& v : volumes)
        if (v.mayHang)
            listing.mayHang_.insert(v.mountPoint);
}

void ReadComputer(DirectoryListing& listing, std::vector<int>& driveTypes) {
    ReadComputer(listing, driveTypes, ListMountedVolumes());
}

} // namespace orvo
