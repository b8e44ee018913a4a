#include "browse/ThumbnailCache.h"

#include "browse/Md5.h"
#include "browse/ThumbnailPng.h"
#include "image/ImageFile.h"
#include "image/ImageTransforms.h"
#include "platform/FileIO.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

// A cached thumbnail larger than this is not a thumbnail.
constexpr off_t kMaxThumbnailFile = 16 * 1024 * 1024;

struct Folder {
    int edge;
    const char* name;
};
constexpr Folder kFolders[] = {
    {128, "normal"}, {256, "large"}, {512, "x-large"}, {1024, "xx-large"}};

const char* FolderName(int edge) {
    for (const Folder& f : kFolders)
        if (f.edge == edge)
            return f.name;
    return nullptr;
}

// The characters a file URI keeps as they are (the set GLib leaves
// unescaped in paths); everything else becomes %XX.
bool KeptInUri(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    static constexpr std::string_view kKept = "!$&'()*+,-./:=@_~";
    return kKept.find(static_cast<char>(c)) != std::string_view::npos;
}

bool MakeDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::string ThumbnailCache::RootDirectory() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && cache[0] == '/')
        return std::string(cache) + "/thumbnails";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.cache/thumbnails";
    return {};
}

int ThumbnailCache::FolderEdge(int edge) {
    for (const Folder& f : kFolders)
        if (edge <= f.edge)
            return f.edge;
    return 0;
}

std::string ThumbnailCache::FileUri(std::string_view path) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string uri = "file://";
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (KeptInUri(c)) {
            uri += ch;
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

std::string ThumbnailCache::ThumbnailPath(std::string_view uri, int folderEdge) {
    const char* folder = FolderName(folderEdge);
    std::string root = RootDirectory();
    if (!folder || root.empty())
        return {};
    return root + "/" + folder + "/" + Md5Hex(uri) + ".png";
}

bool ThumbnailCache::IsInsideCache(std::string_view path) {
    const std::string root = RootDirectory();
    return !root.empty() && path.size() > root.size() && path.substr(0, root.size()) == root &&
           path[root.size()] == '/';
}

bool ThumbnailCache::Load(const std::string& path, int64_t mtime, int folderEdge,
                          RasterImage& out) {
    const std::string uri = FileUri(path);
    const std::string file = ThumbnailPath(uri, folderEdge);
    struct stat st {};
    if (file.empty() || ::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_size > kMaxThumbnailFile)
        return false;
    std::string bytes;
    try {
        bytes = ReadWholeFile(file);
    } catch (const FileError&) {
        return false;
    }
    bool uriMatches = false, mtimeMatches = false;
    for (const auto& [key, text] : ReadPngTexts(bytes)) {
        if (key == "Thumb::URI")
            uriMatches = text == uri;
        else if (key == "Thumb::MTime")
            mtimeMatches = text == std::to_string(mtime);
    }
    if (!uriMatches || !mtimeMatches)
        return false;
    if (!LoadImageBytes(out, bytes, ImageFormatPng) || out.Format() != ImageFormatPng)
        return false;
    if (out.Bits() != 24 && !IncreaseColors(out, 24))
        return false;
    return true;
}

bool ThumbnailCache::Store(const std::string& path, int64_t mtime, uint64_t size, int folderEdge,
                           const RasterImage& thumbnail) {
    const std::string uri = FileUri(path);
    const std::string file = ThumbnailPath(uri, folderEdge);
    if (file.empty())
        return false;
    const std::string bytes =
        EncodeThumbnailPng(thumbnail, {{"Thumb::URI", uri},
                                       {"Thumb::MTime", std::to_string(mtime)},
                                       {"Thumb::Size", std::to_string(size)},
                                       {"Software", "Orvo Browser"}});
    const std::string folder = file.substr(0, file.rfind('/'));
    if (bytes.empty() || !MakeDirectories(folder))
        return false;
    // Written beside its place and renamed over it, so that no reader (this
    // program's other windows or another program) sees a partial file.
    std::string temp = folder + "/.orvo-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC); // mode 0600
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), file.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

} // namespace orvo
