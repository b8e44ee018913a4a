// PNG, TIFF and JPEG layouts other programs write and this one does not:
// the fixtures are made here with the libraries themselves.
#include "FormatTestSupport.h"
#include "PictureFixtures.h"
#include "image/ImageCodec.h"
#include "image/ImageFile.h"
#include "platform/FileIO.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <vector>

namespace orvo {
namespace {

using test::TempDir;

// Rows top first, samples as the colour type and depth lay them out.
std::string MakePng(int width, int height, int colourType, int depth,
                    const std::vector<std::vector<uint8_t>>& rows, bool interlaced = false,
                    const std::vector<uint8_t>& alphas = {}) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep d, png_size_t n) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(d), n);
        },
        nullptr);
    png_set_IHDR(png, info, width, height, depth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[4] = {{10, 20, 30}, {200, 0, 0}, {0, 200, 0}, {0, 0, 200}};
        png_set_PLTE(png, info, palette, 4);
        if (!alphas.empty())
            png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    }
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const auto& row : rows)
        pointers.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

TEST(PngReader, TransparencyIsCompositedOverGrey) {
    // RGBA: opaque red, fully transparent, half-transparent white.
    const std::string rgba =
        MakePng(3, 1, PNG_COLOR_TYPE_RGBA, 8, {{255, 0, 0, 255, 9, 9, 9, 0, 255, 255, 255, 128}});
    RasterImage image;
    ReadPng(image, rgba);
    ASSERT_EQ(image.Bits(), 24);
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgb(192, 192, 192));
    EXPECT_NEAR(image.GetPixelColor(2, 0).green, (255 * 128 + 192 * 127) / 255, 1);
    EXPECT_EQ(image.TransparentIndex(), 0);
    EXPECT_EQ(image.BackgroundColor(), MakeRgb(192, 192, 192));

    // Grey with alpha becomes 8-bit grey.
    const std::string greyAlpha = MakePng(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{50, 255, 50, 0}});
    image.Destroy();
    ReadPng(image, greyAlpha);
    ASSERT_EQ(image.Bits(), 8);
    EXPECT_EQ(image.GetPixelIndex(0, 0), 50);
    EXPECT_EQ(image.GetPixelIndex(1, 0), 192);

    // The transparent palette entry is the one marked, not entry 0.
    const std::string palette =
        MakePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{1, 2}}, false, {255, 255, 0});
    image.Destroy();
    ReadPng(image, palette);
    EXPECT_EQ(image.TransparentIndex(), 2);
    EXPECT_EQ(image.Palette()[2], MakeRgb(192, 192, 192));
    EXPECT_EQ(image.Palette()[1], MakeRgb(200, 0, 0));
}

TEST(PngReader, DepthsAndInterlacing) {
    RasterImage image;
    // 16-bit samples keep their high byte.
    ReadPng(image, MakePng(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}}));
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(0x12, 0x56, 0x9A));
    // 2-bit palette pixels (no such depth here) become 8-bit indexes.
    image.Destroy();
    ReadPng(image, MakePng(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {{0b00011011}}));
    ASSERT_EQ(image.Bits(), 8);
    EXPECT_EQ(image.GetPixelIndex(3, 0), 3);
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgb(200, 0, 0));
    // 4-bit grey keeps 4 bits with the 16-level grey palette.
    image.Destroy();
    ReadPng(image, MakePng(2, 1, PNG_COLOR_TYPE_GRAY, 4, {{0x3F}}));
    ASSERT_EQ(image.Bits(), 4);
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(51, 51, 51));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgb(255, 255, 255));

    // Every pass of an interlaced file lands on its own rows.
    std::vector<std::vector<uint8_t>> rows;
    for (int y = 0; y < 9; ++y) {
        rows.emplace_back();
        for (int x = 0; x < 9; ++x)
            rows.back().push_back(static_cast<uint8_t>(y * 16 + x));
    }
    image.Destroy();
    ReadPng(image, MakePng(9, 9, PNG_COLOR_TYPE_GRAY, 8, rows, true));
    for (int top = 0; top < 9; ++top)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(image.GetPixelIndex(x, 8 - top), top * 16 + x) << x << "," << top;
}

void SetBasics(TIFF* tif, uint32_t width, uint32_t height, uint16_t samples, uint16_t photometric,
               uint16_t compression) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
}

std::string WriteTiffFile(const TempDir& dir, void (*fill)(TIFF*)) {
    const std::string path = dir.File("fixture.tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    fill(tif);
    TIFFClose(tif);
    return ReadWholeFile(path);
}

TEST(TiffReader, PagesAndAMissingPage) {
    TempDir dir;
    const std::string pages = WriteTiffFile(dir, [](TIFF* tif) {
        for (uint8_t page = 0; page < 3; ++page) {
            SetBasics(tif, 2, 1, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_NONE);
            uint8_t row[2] = {static_cast<uint8_t>(page * 10), 255};
            TIFFWriteScanline(tif, row, 0, 0);
            TIFFWriteDirectory(tif);
        }
    });
    RasterImage image;
    image.SetFrameIndex(2);
    ReadTiff(image, pages);
    EXPECT_EQ(image.FrameCount(), 3);
    EXPECT_EQ(image.GetPixelIndex(0, 0), 20);
    image.Destroy();
    image.SetFrameIndex(3);
    EXPECT_THROW(
        {
            try {
                ReadTiff(image, pages);
            } catch (const ImageFormatError& e) {
                EXPECT_STREQ(e.what(), "Error: page not present in TIFF file");
                throw;
            }
        },
        ImageFormatError);
}

TEST(TiffReader, LzwFilesOfOtherProgramsOpen) {
    struct Case {
        const char* file;
        const char* expected;
        int bits;
    };
    for (const Case& c :
         {Case{"rgb.tif", "bitfields/expected.ppm", 24},
          Case{"rgb-predictor.tif", "bitfields/expected.ppm", 24},
          Case{"rgba.tif", "bitfields/expected.ppm", 24}, Case{"palette.tif", "lzw/palette.ppm", 8},
          Case{"grey.tif", "lzw/grey.ppm", 8}}) {
        SCOPED_TRACE(c.file);
        RasterImage image;
        ASSERT_TRUE(
            LoadImageBytes(image, test::Fixture(std::string("lzw/") + c.file), ImageFormatTiff))
            << image.LastError();
        EXPECT_EQ(image.Bits(), c.bits);
        EXPECT_EQ(test::Compare(test::ReadPpm(test::Fixture(c.expected)), image, 0), "");
    }
}

TEST(TiffReader, TilesAndCmykGoThroughTheRgbaReader) {
    TempDir dir;
    // 40 × 20 in 16 × 16 tiles: the right and bottom tiles are partial.
    const std::string tiled = WriteTiffFile(dir, [](TIFF* tif) {
        SetBasics(tif, 40, 20, 3, PHOTOMETRIC_RGB, COMPRESSION_NONE);
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16u);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, 16u);
        std::vector<uint8_t> tile(16 * 16 * 3);
        for (uint32_t ty = 0; ty < 20; ty += 16)
            for (uint32_t tx = 0; tx < 40; tx += 16) {
                for (uint32_t r = 0; r < 16; ++r)
                    for (uint32_t c = 0; c < 16; ++c) {
                        uint8_t* p = &tile[(r * 16 + c) * 3];
                        p[0] = static_cast<uint8_t>(tx + c); // red: x
                        p[1] = static_cast<uint8_t>(ty + r); // green: y from the top
                        p[2] = 7;
                    }
                TIFFWriteTile(tif, tile.data(), tx, ty, 0, 0);
            }
    });
    RasterImage image;
    ReadTiff(image, tiled);
    ASSERT_EQ(image.Bits(), 24);
    for (int top : {0, 15, 16, 19})
        for (int x : {0, 15, 16, 39})
            ASSERT_EQ(image.GetPixelColor(x, 19 - top), MakeRgb(x, top, 7)) << x << "," << top;

    // Separated (CMYK) strips of 3 rows over 5 rows: the last strip is short.
    const std::string cmyk = WriteTiffFile(dir, [](TIFF* tif) {
        SetBasics(tif, 2, 5, 4, PHOTOMETRIC_SEPARATED, COMPRESSION_NONE);
        TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 3u);
        for (uint32_t y = 0; y < 5; ++y) {
            uint8_t row[8] = {0, 0, 0, static_cast<uint8_t>(y * 50), 255, 0, 0, 0};
            TIFFWriteScanline(tif, row, y, 0);
        }
    });
    image.Destroy();
    ReadTiff(image, cmyk);
    for (int top = 0; top < 5; ++top) {
        const uint8_t level = static_cast<uint8_t>(255 - top * 50);
        EXPECT_EQ(image.GetPixelColor(0, 4 - top), MakeRgb(level, level, level)) << top;
        EXPECT_EQ(image.GetPixelColor(1, 4 - top), MakeRgb(0, 255, 255)) << top;
    }
}

TEST(JpegReader, CmykAndScaledDecoding) {
    // Adobe-style inverted CMYK: stored value 255 means no ink.
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 16;
    cinfo.image_height = 16;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(16 * 4);
    for (int x = 0; x < 16; ++x) {
        row[4 * x] = 255; // no cyan: full red
        row[4 * x + 1] = 0;
        row[4 * x + 2] = 0;
        row[4 * x + 3] = 255; // no black
    }
    while (cinfo.next_scanline < 16) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);

    RasterImage image;
    ReadJpeg(image, bytes);
    ASSERT_EQ(image.Bits(), 24);
    const RgbQuad c = image.GetPixelColor(5, 5);
    EXPECT_GT(c.red, 245);
    EXPECT_LT(c.green, 10);
    EXPECT_LT(c.blue, 10);

    image.Destroy();
    ReadJpeg(image, bytes, 8);
    EXPECT_EQ(image.Width(), 2);
    int width = 0, height = 0;
    EXPECT_TRUE(PeekJpegSize(bytes, width, height));
    EXPECT_EQ(width, 16);
    EXPECT_FALSE(PeekJpegSize("not a jpeg", width, height));
}

} // namespace
} // namespace orvo
