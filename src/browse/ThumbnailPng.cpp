#include "browse/ThumbnailPng.h"

#include <csetjmp>
#include <cstring>
#include <png.h>
#include <zlib.h>

namespace orvo {

namespace {

// No text in a thumbnail needs more; a chunk that inflates beyond it is
// cut there rather than allowed to fill the memory.
constexpr size_t kMaxText = 64 * 1024;

uint32_t BigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

bool Inflate(std::string_view compressed, std::string& out) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return false;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    zs.avail_in = static_cast<uInt>(compressed.size());
    char buffer[4096];
    int status = Z_OK;
    while (status == Z_OK && out.size() < kMaxText) {
        zs.next_out = reinterpret_cast<Bytef*>(buffer);
        zs.avail_out = sizeof buffer;
        status = inflate(&zs, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - zs.avail_out);
        if (status == Z_BUF_ERROR && zs.avail_in == 0)
            break;
    }
    inflateEnd(&zs);
    if (out.size() > kMaxText)
        out.resize(kMaxText);
    return status == Z_STREAM_END || status == Z_OK;
}

// Splits "a\0rest" into a and rest; false without the terminator.
bool TakeField(std::string_view& data, std::string_view& field) {
    const size_t zero = data.find('\0');
    if (zero == std::string_view::npos)
        return false;
    field = data.substr(0, zero);
    data.remove_prefix(zero + 1);
    return true;
}

bool ReadTextChunk(std::string_view type, std::string_view data, std::string& key,
                   std::string& text) {
    std::string_view keyword;
    if (!TakeField(data, keyword))
        return false;
    key.assign(keyword);
    if (type == "tEXt") {
        text.assign(data.substr(0, kMaxText));
        return true;
    }
    if (type == "zTXt")
        return data.size() >= 1 && data[0] == 0 && Inflate(data.substr(1), text);
    // iTXt: compression flag, method, language tag, translated keyword, text.
    if (data.size() < 2)
        return false;
    const bool compressed = data[0] != 0;
    data.remove_prefix(2);
    std::string_view language, translated;
    if (!TakeField(data, language) || !TakeField(data, translated))
        return false;
    if (!compressed) {
        text.assign(data.substr(0, kMaxText));
        return true;
    }
    return Inflate(data, text);
}

struct PngWriter {
    std::string out;
    static void Write(png_structp png, png_bytep data, png_size_t length) {
        static_cast<PngWriter*>(png_get_io_ptr(png))
            ->out.append(reinterpret_cast<char*>(data), length);
    }
    static void Flush(png_structp) {}
    static void Error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
    static void Warning(png_structp, png_const_charp) {}
};

} // namespace

std::string EncodeThumbnailPng(const RasterImage& picture, const PngTexts& texts) {
    if (picture.IsEmpty() || picture.Bits() != 24)
        return {};
    PngWriter writer;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngWriter::Error,
                                              PngWriter::Warning);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    std::vector<png_text> chunks(texts.size());
    std::vector<png_bytep> rows(static_cast<size_t>(picture.Height()));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &writer, PngWriter::Write, PngWriter::Flush);
    // Thumbnails are written while the user waits and read back many times;
    // the fastest compression costs a few per cent of size.
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()),
                 static_cast<png_uint_32>(picture.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    for (size_t i = 0; i < texts.size(); ++i) {
        chunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
        chunks[i].key = const_cast<char*>(texts[i].first.c_str());
        chunks[i].text = const_cast<char*>(texts[i].second.c_str());
        chunks[i].text_length = texts[i].second.size();
    }
    if (!chunks.empty())
        png_set_text(png, info, chunks.data(), static_cast<int>(chunks.size()));
    png_write_info(png, info);
    png_set_bgr(png);
    // The picture's rows are stored bottom-up.
    for (int y = 0; y < picture.Height(); ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(picture.Row(picture.Height() - 1 - y));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::move(writer.out);
}

PngTexts ReadPngTexts(std::string_view bytes) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PngTexts texts;
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0)
        return texts;
    size_t pos = 8;
    size_t textBytes = 0;
    while (bytes.size() - pos >= 12) {
        const auto* head = reinterpret_cast<const unsigned char*>(bytes.data() + pos);
        const uint32_t length = BigEndian32(head);
        const std::string_view type = bytes.substr(pos + 4, 4);
        if (length > bytes.size() - pos - 12)
            break;
        if (type == "tEXt" || type == "zTXt" || type == "iTXt") {
            std::string key, text;
            if (ReadTextChunk(type, bytes.substr(pos + 8, length), key, text)) {
                textBytes += text.size();
                if (textBytes > 4 * kMaxText)
                    break;
                texts.emplace_back(std::move(key), std::move(text));
            }
        }
        if (type == "IEND")
            break;
        pos += 12 + static_cast<size_t>(length);
    }
    return texts;
}

} // namespace orvo
