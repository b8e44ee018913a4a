#include "image/ImageFile.h"

#include "image/ImageCodec.h"
#include "image/ImageTransforms.h"
#include "platform/FileIO.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <new>

namespace orvo {

namespace {

constexpr const char* kUnsupported = "Unsupported operation for this format";

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Back to the state of a fresh image, keeping what the caller chose
// (frame to load, JPEG quality).
void ResetForLoad(RasterImage& image) {
    image.Destroy();
    image.ClearLastError();
    image.SetTransparentIndex(-1);
    image.SetBackgroundColor(RgbQuad{});
    image.SetFrameCount(0);
    image.SetFrameDelay(0);
    image.SetInterlaced(false);
    image.SetDpi(72, 72);
}

bool DecodeAs(RasterImage& image, std::string_view bytes, int format) {
    ResetForLoad(image);
    try {
        switch (format) {
        case ImageFormatBmp:
            ReadBmp(image, bytes);
            break;
        case ImageFormatGif:
            ReadGif(image, bytes);
            break;
        case ImageFormatJpeg:
            ReadJpeg(image, bytes);
            break;
        case ImageFormatPng:
            ReadPng(image, bytes);
            break;
        case ImageFormatIco:
            ReadIco(image, bytes);
            break;
        case ImageFormatTiff:
            ReadTiff(image, bytes);
            break;
        default:
            throw ImageFormatError(kUnsupported);
        }
    } catch (const ImageFormatError& e) {
        image.Destroy();
        image.SetLastError(e.what());
        return false;
    } catch (const std::bad_alloc&) {
        image.Destroy();
        image.SetLastError("Can't allocate memory");
        return false;
    }
    image.SetFormat(static_cast<ImageFormat>(format));
    return true;
}

} // namespace

bool LoadImageBytes(RasterImage& image, std::string_view bytes, int format) {
    if (DecodeAs(image, bytes, format))
        return true;
    // The named format's complaint says most about a damaged file.
    const std::string firstError = image.LastError();
    for (int other = 0; other < ImageFormatCount; ++other)
        if (other != format && DecodeAs(image, bytes, other))
            return true;
    ResetForLoad(image);
    image.SetLastError(firstError);
    return false;
}

namespace {

std::string Encode(const RasterImage& image, int format) {
    switch (format) {
    case ImageFormatBmp:
        return WriteBmp(image);
    case ImageFormatGif:
        return WriteGif(image);
    case ImageFormatJpeg:
        return WriteJpeg(image);
    case ImageFormatPng:
        return WritePng(image);
    case ImageFormatIco:
        return WriteIco(image);
    case ImageFormatTiff:
        return WriteTiff(image);
    default:
        throw ImageFormatError(kUnsupported);
    }
}

std::string WriteFailureText(const FileError& e, int format) {
    if (format != ImageFormatGif)
        return e.what();
    const bool couldNotOpen = e.Error() == ENOENT || e.Error() == EACCES || e.Error() == EROFS ||
                              e.Error() == EISDIR || e.Error() == ENOTDIR || e.Error() == EPERM;
    return couldNotOpen ? "Can't open GIF for writing" : "Write Error in GIF file";
}

} // namespace

bool IsImageExtension(std::string_view extension) {
    const std::string wanted = Lower(extension);
    std::string_view list = ImageExtensionList;
    while (!list.empty()) {
        const size_t end = std::min(list.find(';'), list.size());
        if (list.substr(0, end) == wanted)
            return true;
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return false;
}

ImageFormat FormatOfExtension(std::string_view extension) {
    const std::string e = Lower(extension);
    if (e == "gif")
        return ImageFormatGif;
    if (e == "jpg" || e == "jpe" || e == "jpeg")
        return ImageFormatJpeg;
    if (e == "png")
        return ImageFormatPng;
    if (e == "ico")
        return ImageFormatIco;
    if (e == "tif" || e == "tiff")
        return ImageFormatTiff;
    return ImageFormatBmp;
}

std::string ExtensionOfPath(std::string_view path) {
    return std::string(SplitExtension(FileNameOf(path)).extension);
}

const char* FormatName(ImageFormat format) {
    static const char* const names[] = {"BMP", "GIF", "JPEG", "PNG", "ICO", "TIFF"};
    return format >= 0 && format < ImageFormatCount ? names[format] : "unknown";
}

bool ReadImageBytes(const std::string& path, std::string& bytes, std::string& error) {
    // An uncompressed picture at the size guard takes 1.4 GB.
    constexpr uintmax_t kMaxFileSize = uintmax_t(2) << 30;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!ec && std::filesystem::exists(status)) {
        if (!std::filesystem::is_regular_file(status)) {
            error = path + ": not a regular file";
            return false;
        }
        if (std::filesystem::file_size(path, ec) > kMaxFileSize && !ec) {
            error = path + ": too large for a picture";
            return false;
        }
    }
    try {
        bytes = ReadWholeFile(path);
    } catch (const FileError& e) {
        error = e.what();
        return false;
    } catch (const std::bad_alloc&) {
        error = "Can't allocate memory";
        return false;
    }
    return true;
}

bool LoadImageFile(RasterImage& image, const std::string& path, int format) {
    std::string bytes, error;
    if (!ReadImageBytes(path, bytes, error)) {
        ResetForLoad(image);
        image.SetLastError(error);
        return false;
    }
    return LoadImageBytes(image, bytes, format);
}

bool LoadImageResource(RasterImage& image, std::string_view bytes, int format) {
    if (bytes.empty()) {
        ResetForLoad(image);
        image.SetLastError("Unable to load resource!");
        return false;
    }
    return LoadImageBytes(image, bytes, format);
}

bool SaveImageFile(RasterImage& image, const std::string& path, int format,
                   ReadOnlyFiles readOnly) {
    image.ClearLastError();
    std::string bytes;
    try {
        bytes = Encode(image, format);
    } catch (const ImageFormatError& e) {
        image.SetLastError(e.what());
        return false;
    } catch (const std::bad_alloc&) {
        image.SetLastError("Can't allocate memory");
        return false;
    }
    try {
        WriteFileAtomically(path, bytes, false, readOnly);
    } catch (const FileError& e) {
        image.SetLastError(WriteFailureText(e, format));
        return false;
    }
    image.SetFormat(static_cast<ImageFormat>(format));
    return true;
}

bool LoadImage(RasterImage& image, const std::string& path, int format) {
    if (format < 0)
        format = FormatOfExtension(ExtensionOfPath(path));
    return LoadImageFile(image, path, format);
}

bool SaveImage(RasterImage& image, const std::string& path, int format, bool adjust,
               ReadOnlyFiles readOnly) {
    if (format < 0)
        format = FormatOfExtension(ExtensionOfPath(path));
    if (adjust && !image.IsEmpty()) {
        if (format == ImageFormatGif && image.Bits() > 8)
            ReduceColors(image, 8);
        else if (format == ImageFormatJpeg && image.Bits() < 24)
            IncreaseColors(image, 24);
    }
    return SaveImageFile(image, path, format, readOnly);
}

} // namespace orvo
