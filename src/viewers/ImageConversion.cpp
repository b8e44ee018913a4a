#include "viewers/ImageConversion.h"

#include "image/ImageFile.h"
#include "image/ImageTransforms.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace orvo {

int ConversionFormatIndex(std::string_view extension) {
    for (size_t i = 0; i < kConversionFormats.size(); ++i) {
        std::string_view name = kConversionFormats[i];
        bool same = name.size() == extension.size();
        for (size_t c = 0; same && c < name.size(); ++c)
            same = std::toupper(static_cast<unsigned char>(extension[c])) == name[c];
        if (same)
            return static_cast<int>(i);
    }
    return -1;
}

std::string PathWithExtension(std::string_view path, std::string_view extension) {
    const std::string_view name = FileNameOf(path);
    const std::string_view stem = SplitExtension(name).stem;
    std::string result(path.substr(0, path.size() - name.size()));
    result.append(stem);
    result += '.';
    result.append(extension);
    return result;
}

namespace {

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

// The path with the extension, unless it already ends in it, letter case
// aside: IMG_0001.JPG saved as JPEG stays IMG_0001.JPG, not a second file.
std::string PathKeepingExtensionCase(std::string_view path, std::string_view extension) {
    if (Lowered(SplitExtension(FileNameOf(path)).extension) == Lowered(extension))
        return std::string(path);
    return PathWithExtension(path, extension);
}

} // namespace

double ReadTypedNumber(std::string_view text) {
    const std::string copy(text);
    const double value = std::strtod(copy.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

ConversionBase::ConversionBase(RasterImage* source) : source_(source ? source : &own_) {
    working_ = *source_;
}

ImageConversion::ImageConversion(RasterImage* source, std::string name)
    : ConversionBase(source), fileName(std::move(name)) {
    format = ConversionFormatIndex(ExtensionOfPath(fileName));
    jpegQuality = source_->JpegQuality();
    width = source_->Width();
    height = source_->Height();
    dpiX = source_->DpiX();
    dpiY = source_->DpiY();
    const int bits = source_->Bits();
    depth = std::find(kConversionDepths.begin(), kConversionDepths.end(), bits) !=
                    kConversionDepths.end()
                ? bits
                : 0;
}

void ImageConversion::ChooseFormat(int index) {
    if (index < 0 || index >= static_cast<int>(kConversionFormats.size()))
        return;
    format = index;
    fileName = PathKeepingExtensionCase(fileName, FormatExtension());
}

std::string ImageConversion::SaveAsTarget(std::string_view currentPath,
                                          std::string_view besideDirectory) const {
    if (SplitExtension(FileNameOf(fileName)).stem.empty())
        return {};
    std::string extension = FormatExtension();
    if (extension.empty())
        extension = ExtensionOfPath(currentPath);
    if (extension.empty())
        extension = ExtensionOfPath(fileName);
    if (extension.empty())
        extension = "bmp";
    const bool bare = fileName.front() != '/' && !besideDirectory.empty();
    const std::string name = bare ? JoinPath(besideDirectory, fileName) : fileName;
    return PathKeepingExtensionCase(name, Lowered(extension));
}

std::string ImageConversion::FormatExtension() const {
    if (format < 0 || format >= static_cast<int>(kConversionFormats.size()))
        return {};
    return Lowered(kConversionFormats[static_cast<size_t>(format)]);
}

void ImageConversion::SetPercent(double value) {
    percent = value;
    width = static_cast<int>(source_->Width() * percent * 0.01);
    height = static_cast<int>(source_->Height() * percent * 0.01);
}

bool ImageConversion::ApplySize() {
    if (working_.IsEmpty())
        return false;
    working_.SetDpi(dpiX, dpiY);
    return Resample(working_, width, height, ResampleBilinear);
}

bool ImageConversion::ApplyColours() {
    if (working_.IsEmpty())
        return false;
    const int target = depth > 0 ? depth : 24;
    if (target < working_.Bits())
        return ReduceColors(working_, target);
    if (target > working_.Bits())
        return IncreaseColors(working_, target);
    return true;
}

bool ImageConversion::Flip() {
    return orvo::Flip(working_);
}
bool ImageConversion::Mirror() {
    return orvo::Mirror(working_);
}
bool ImageConversion::GreyScale() {
    return orvo::GreyScale(working_);
}
bool ImageConversion::Negative() {
    return orvo::Negative(working_);
}
bool ImageConversion::Rotate(double degrees) {
    return orvo::Rotate(working_, degrees);
}
bool ImageConversion::Threshold(int level) {
    return orvo::Threshold(working_, level);
}
bool ImageConversion::Dither(int method) {
    return orvo::Dither(working_, method);
}
void ImageConversion::UndoAll() {
    working_ = *source_;
}

void ImageConversion::Commit() {
    if ((depth > 0 ? depth : 24) != source_->Bits())
        ApplyColours();
    if (width != source_->Width() || height != source_->Height())
        ApplySize();
    *source_ = working_;
}

ImageColorsConversion::ImageColorsConversion(RasterImage* source, int previewLimit)
    : ConversionBase(source) {
    if (previewLimit > 0 && (source_->Width() > previewLimit || source_->Height() > previewLimit)) {
        previewSource_ = *source_;
        ResampleToFit(previewSource_, previewLimit, previewLimit, ResampleNearest, false, true);
        working_ = previewSource_;
    }
}

void ImageColorsConversion::ApplyTo(RasterImage& image) const {
    if (image.IsEmpty())
        return;
    if (light != 255 || contrast != 100)
        Light(image, light - 255, contrast);
    const int dr = red - 128, dg = green - 128, db = blue - 128;
    if (dr == 0 && dg == 0 && db == 0)
        return;
    auto shift = [](uint8_t c, int d) { return static_cast<uint8_t>(std::clamp(c + d, 0, 255)); };
    if (image.Bits() == 24) {
        for (int y = 0; y < image.Height(); ++y) {
            uint8_t* p = image.Row(y);
            for (int x = 0; x < image.Width(); ++x, p += 3) {
                p[0] = shift(p[0], db);
                p[1] = shift(p[1], dg);
                p[2] = shift(p[2], dr);
            }
        }
        return;
    }
    // A pixel's result depends on its palette entry alone: work it out once
    // per entry.
    std::vector<uint8_t> map(static_cast<size_t>(image.PaletteSize()));
    const RgbQuad* palette = image.Palette();
    for (size_t i = 0; i < map.size(); ++i)
        map[i] = image.NearestPaletteIndex(MakeRgb(
            shift(palette[i].red, dr), shift(palette[i].green, dg), shift(palette[i].blue, db)));
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t index = image.GetPixelIndex(x, y);
            if (index < map.size())
                image.SetPixelIndex(x, y, map[index]);
        }
}

void ImageColorsConversion::Preview() {
    working_ = previewSource_.IsEmpty() ? *source_ : previewSource_;
    ApplyTo(working_);
}

void ImageColorsConversion::Commit() {
    RasterImage result = *source_;
    ApplyTo(result);
    source_->TransferFrom(result);
}

} // namespace orvo
