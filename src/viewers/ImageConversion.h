#pragma once

#include "image/RasterImage.h"

#include <array>
#include <string>
#include <string_view>

namespace orvo {

// The formats the "Image conversion" dialog offers, in the order of its
// buttons; the extension is the lower-case name.
inline constexpr std::array<const char*, 7> kConversionFormats = {"JPG", "TIF", "BMP", "PNG",
                                                                  "GIF", "TGA", "ICO"};
// The colour depths of its colour buttons.
inline constexpr std::array<int, 4> kConversionDepths = {1, 4, 8, 24};

// The button of an extension (any case), -1 for none.
int ConversionFormatIndex(std::string_view extension);
// directory/stem.extension of a path whose extension is replaced.
std::string PathWithExtension(std::string_view path, std::string_view extension);
// A number typed into a question: its leading decimal number, 0 for text
// that is none.
double ReadTypedNumber(std::string_view text);

// The dialogs work on a copy of the caller's picture (or, without one, on
// an empty picture of their own) and change the caller's picture only when
// they end with OK, in one step.
class ConversionBase {
public:
    explicit ConversionBase(RasterImage* source);
    ConversionBase(const ConversionBase&) = delete;
    ConversionBase& operator=(const ConversionBase&) = delete;

    const RasterImage& Source() const { return *source_; }
    const RasterImage& Working() const { return working_; }

protected:
    RasterImage own_;
    RasterImage* source_;
    RasterImage working_;
};

// "Image conversion": format, JPEG quality, size, resolution, the one-click
// transformations and the colour depth.
class ImageConversion : public ConversionBase {
public:
    ImageConversion(RasterImage* source, std::string fileName);

    // The fields of the dialog.
    std::string fileName;
    int format = -1; // index in kConversionFormats, -1 when none is chosen
    int jpegQuality = 75;
    int width = 0;
    int height = 0;
    int dpiX = 0;
    int dpiY = 0;
    double percent = 100.0;
    int depth = 0; // one of kConversionDepths, 0 when none is chosen

    // A format button: the file name takes its extension.
    void ChooseFormat(int index);
    // The lower-case extension of the chosen format, "" for none.
    std::string FormatExtension() const;
    // The file Save as writes: the name with the chosen format's extension,
    // or else that of the file shown (currentPath), or "bmp". A name whose
    // extension already is that one in other letters keeps it as typed. A
    // name without a directory goes into besideDirectory, the source's,
    // whatever directory the program runs in. "" when no name was given.
    std::string SaveAsTarget(std::string_view currentPath, std::string_view besideDirectory) const;
    // The percent field: width and height follow from the source's size.
    void SetPercent(double value);

    // The size step: the working picture takes the resolution fields and is
    // resampled (bilinear) to the size fields.
    bool ApplySize();
    // The colour step: the working picture is reduced or raised to the
    // chosen depth (24 when none is chosen).
    bool ApplyColours();

    bool Flip();
    bool Mirror();
    bool GreyScale();
    bool Negative();
    bool Rotate(double degrees);
    bool Threshold(int level);
    // 1: ordered dither, any other value error diffusion.
    bool Dither(int method);
    // Back to a fresh copy of the source.
    void UndoAll();

    // OK: the steps the fields still ask for, then the source becomes the
    // working picture. A size equal to the source's is never resampled.
    void Commit();
};

// "Image colors conversion": light, contrast and channel offsets with a
// preview. The preview works on a copy no larger than previewLimit pixels a
// side (0: the full picture), so the sliders stay quick on a photo; OK
// applies the settings to the full picture.
class ImageColorsConversion : public ConversionBase {
public:
    explicit ImageColorsConversion(RasterImage* source, int previewLimit = 0);

    int light = 255;    // 0-512, brightness = light - 255
    int contrast = 100; // 0-1000, percent
    int red = 128;      // 0-255, offset = value - 128
    int green = 128;
    int blue = 128;

    // The preview picture (Working()) from the current settings.
    void Preview();
    void Commit();

    // The settings applied to any picture: light and contrast, then the
    // offsets, written as the pixel-colour setter writes (palette pictures
    // take the nearest entry of their palette).
    void ApplyTo(RasterImage& image) const;

private:
    RasterImage previewSource_;
};

} // namespace orvo
