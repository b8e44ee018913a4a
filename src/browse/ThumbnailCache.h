#pragma once

#include "image/RasterImage.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// The desktop's shared thumbnail cache ($XDG_CACHE_HOME/thumbnails): one
// PNG per file, named by the MD5 of the file's URI, in a folder per size
// ("normal" 128, "large" 256, "x-large" 512, "xx-large" 1024 pixels). A
// thumbnail counts only while its Thumb::URI names the file and its
// Thumb::MTime equals the file's modification time, so thumbnails made by
// other programs serve us and ours serve them.
class ThumbnailCache {
public:
    // $XDG_CACHE_HOME/thumbnails, else ~/.cache/thumbnails; empty when
    // neither variable gives an absolute directory.
    static std::string RootDirectory();
    // The edge of the smallest cache folder holding thumbnails of at least
    // edge pixels; 0 when edge is beyond all of them.
    static int FolderEdge(int edge);
    // "file://" and the path, escaped as the desktop libraries escape it.
    static std::string FileUri(std::string_view path);
    // Where the thumbnail of a URI lives for a folder edge; empty without a root.
    static std::string ThumbnailPath(std::string_view uri, int folderEdge);

    // The cached thumbnail of a file, 24 bits. False when there is none,
    // when it belongs to another file or another version of it, or when it
    // is damaged.
    static bool Load(const std::string& path, int64_t mtime, int folderEdge, RasterImage& out);
    // Stores a thumbnail for the file, replacing any older one in one step
    // (readable by the user only, as the cache asks). False when the cache
    // cannot be written; nothing half-written is left behind.
    static bool Store(const std::string& path, int64_t mtime, uint64_t size, int folderEdge,
                      const RasterImage& thumbnail);
    // Whether a path lies inside the cache itself, whose files are never
    // given thumbnails of their own.
    static bool IsInsideCache(std::string_view path);
};

} // namespace orvo
