#include "browse/ThumbnailMaker.h"

#include "browse/ThumbnailCache.h"
#include "image/ImageFile.h"
#include "image/ImageTransforms.h"
#include "store/Collation.h"

#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

// Extensions whose decoders we have: a file of one of them that does not
// decode is damaged. (mng and tga count as pictures but are not decoded.)
bool IsDecodedFormat(const std::string& extension) {
    static const char* const kDecoded[] = {"jpg", "jpe", "gif", "bmp", "png", "tif", "tiff"};
    const std::string lower = LowerCaseText(extension);
    for (const char* e : kDecoded)
        if (lower == e)
            return true;
    return false;
}

std::string DamagedText(const std::string& path) {
    return "Damaged image causing exception found : " + path +
           ". Exception handled. Press ok. to continue.";
}

bool Fit(RasterImage& picture, int edge) {
    if (picture.Width() <= edge && picture.Height() <= edge)
        return true;
    return ResampleToFit(picture, edge, edge, ResampleBilinear, false, true);
}

} // namespace

GuardedLoad MakeThumbnail(const std::string& path, int edge, RasterImage& out,
                          std::string* message) {
    out.Destroy();
    const std::string extension = ExtensionOfPath(path);
    struct stat st {};
    if (edge <= 0 || !IsImageExtension(extension) || ::stat(path.c_str(), &st) != 0 ||
        !S_ISREG(st.st_mode))
        return GuardedLoad::UseIcon;
    const int folderEdge =
        ThumbnailCache::IsInsideCache(path) ? 0 : ThumbnailCache::FolderEdge(edge);
    const int64_t mtime = static_cast<int64_t>(st.st_mtime);
    if (folderEdge && ThumbnailCache::Load(path, mtime, folderEdge, out))
        return Fit(out, edge) ? GuardedLoad::Loaded : GuardedLoad::UseIcon;

    std::string guardedMessage;
    GuardedLoad outcome = LoadImageGuarded(out, path, folderEdge ? folderEdge : edge,
                                           folderEdge ? folderEdge : edge, &guardedMessage);
    if (outcome == GuardedLoad::Damaged) {
        if (message)
            *message = guardedMessage;
        return outcome;
    }
    if (outcome == GuardedLoad::UseIcon) {
        // A readable, non-empty file of a format we decode that still gives
        // no picture is damaged; the user hears of it (once, the window
        // sees to that). Empty files are placeholders, not damage.
        if (st.st_size > 0 && IsDecodedFormat(extension) && ::access(path.c_str(), R_OK) == 0) {
            if (message)
                *message = DamagedText(path);
            return GuardedLoad::Damaged;
        }
        return outcome;
    }
    if (folderEdge)
        ThumbnailCache::Store(path, mtime, static_cast<uint64_t>(st.st_size), folderEdge, out);
    return Fit(out, edge) ? GuardedLoad::Loaded : GuardedLoad::UseIcon;
}

} // namespace orvo
