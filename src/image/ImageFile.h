#pragma once

#include "image/RasterImage.h"
#include "platform/FileIO.h"

#include <string>
#include <string_view>

namespace orvo {

// Extensions shown as pictures (thumbnails, information, viewer navigation).
inline constexpr const char* ImageExtensionList = "jpg;jpe;gif;bmp;ico;tif;tiff;png;mng;tga";
// Whether an extension (without the dot, any case) is in ImageExtensionList.
bool IsImageExtension(std::string_view extension);

// The format number an extension names; everything unknown is BMP.
ImageFormat FormatOfExtension(std::string_view extension);
// The extension part of a path's file name, without the dot ("" when none).
std::string ExtensionOfPath(std::string_view path);
const char* FormatName(ImageFormat format); // "BMP", "GIF", ...

// The bytes of a picture file; false with the reason for a file that cannot
// be read, is no regular file (a pipe would never end) or is too large.
bool ReadImageBytes(const std::string& path, std::string& bytes, std::string& error);

// Decodes the file as the given format; when that fails, every other
// format in turn. On failure the image is empty and LastError tells why
// (the text of the named format's failure).
bool LoadImageFile(RasterImage& image, const std::string& path, int format);
// The same for bytes already in memory.
bool LoadImageBytes(RasterImage& image, std::string_view bytes, int format);
// Bytes the program carries with it; none sets "Unable to load resource!".
bool LoadImageResource(RasterImage& image, std::string_view bytes, int format);
// Encodes and replaces the file in one step, so a failure keeps the old one.
bool SaveImageFile(RasterImage& image, const std::string& path, int format,
                   ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

// The viewer-level calls: a negative format means the one of the path's
// extension. With adjust set a GIF target is first reduced to 8 bits and a
// JPEG target raised to 24 bits.
bool LoadImage(RasterImage& image, const std::string& path, int format = -1);
bool SaveImage(RasterImage& image, const std::string& path, int format = -1, bool adjust = false,
               ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

} // namespace orvo
