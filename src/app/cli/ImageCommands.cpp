// orvo image info FILE | orvo image convert IN OUT [options] | orvo image thumb ...
#include "app/cli/CliCommand.h"
#include "image/ImageFile.h"
#include "image/ImageTransforms.h"
#include "image/LoadImageGuarded.h"
#include "image/StoredLayout.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>
#include <sched.h>
#include <thread>

namespace orvo::cli {

namespace {

std::optional<int> ParseInt(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(text);
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    auto w = ParseInt(text.substr(0, x)), h = ParseInt(text.substr(x + 1));
    if (!w || !h || *w <= 0 || *h <= 0)
        return false;
    width = *w;
    height = *h;
    return true;
}

// The cores this process may run on (taskset and cgroups narrow it).
unsigned UsableCores() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
    return std::thread::hardware_concurrency();
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int Info(const std::string& path) {
    RasterImage image;
    if (!LoadImage(image, path))
        return Fail(path + ": " + image.LastError());
    std::printf("format: %s\nwidth: %d\nheight: %d\nbits: %d\ndpi: %d %d\ngrey: %s\nframes: %d\n",
                FormatName(image.Format()), image.Width(), image.Height(), image.Bits(),
                image.DpiX(), image.DpiY(), image.IsGreyScale() ? "TRUE" : "FALSE",
                image.FrameCount());
    // The depth above is the one the picture is held and saved in; the
    // file's own layout can be richer (32 bits, alpha, LZW).
    std::string header;
    try {
        header = ReadWholeFile(path); // a TIFF header may point anywhere in the file
    } catch (const std::exception&) {
    }
    const StoredLayout stored = ReadStoredLayout(header);
    if (stored.bitsPerPixel > 0)
        std::printf("stored bits: %d\ncompression: %s\nalpha: %s\n", stored.bitsPerPixel,
                    stored.compression.c_str(), stored.alpha ? "TRUE" : "FALSE");
    return 0;
}

int Convert(const CliArguments& arguments) {
    const std::vector<std::string>& args = arguments.operands;
    if (args.size() != 3)
        return UsageError("image");
    const std::string& in = args[1];
    const std::string& out = args[2];
    std::optional<int> bits, quality;
    int width = 0, height = 0;
    if (const auto* value = arguments.Last("--bits")) {
        bits = ParseInt(value->front());
        if (!bits || (*bits != 1 && *bits != 4 && *bits != 8 && *bits != 24))
            return Fail("--bits takes 1, 4, 8 or 24");
    }
    if (const auto* value = arguments.Last("--size");
        value && !ParseSize(value->front(), width, height))
        return Fail("--size takes WIDTHxHEIGHT, for example 640x480");
    if (const auto* value = arguments.Last("--quality")) {
        quality = ParseInt(value->front());
        if (!quality || *quality > 100)
            return Fail("--quality takes 0 to 100");
    }
    RasterImage image;
    if (!LoadImage(image, in))
        return Fail(in + ": " + image.LastError());
    // Colours before size, as the conversion dialog applies them.
    if (bits && *bits < image.Bits() && !ReduceColors(image, *bits))
        return Fail(in + ": cannot reduce the colours to " + std::to_string(*bits) + " bits");
    if (bits && *bits > image.Bits() && !IncreaseColors(image, *bits))
        return Fail(in + ": cannot raise the colours to " + std::to_string(*bits) + " bits");
    if (width && (width != image.Width() || height != image.Height()) &&
        !Resample(image, width, height, ResampleBilinear))
        return Fail(in + ": cannot resample to " + std::to_string(width) + "x" +
                    std::to_string(height));
    if (quality)
        image.SetJpegQuality(*quality);
    if (!SaveImage(image, out, -1, true))
        return Fail(out + ": " + image.LastError());
    return 0;
}

int Thumbnails(const CliArguments& arguments) {
    int size = 0;
    if (const auto* value = arguments.Last("--size")) {
        auto n = ParseInt(value->front());
        if (!n || *n < 1 || *n > 4096)
            return Fail("--size takes 1 to 4096 pixels");
        size = *n;
    }
    const auto* out = arguments.Last("--out");
    const std::string outDir = out ? out->front() : std::string();
    const std::vector<std::string> inputs(arguments.operands.begin() + 1, arguments.operands.end());
    if (!size || outDir.empty() || inputs.empty())
        return UsageError("image");

    std::atomic<size_t> next{0};
    std::atomic<int> failures{0};
    std::mutex printing;
    auto work = [&] {
        RasterImage picture, cell;
        for (size_t i = next++; i < inputs.size(); i = next++) {
            const std::string& in = inputs[i];
            std::string message;
            const GuardedLoad result = LoadImageGuarded(picture, in, size, size, &message);
            std::string problem;
            if (result == GuardedLoad::Damaged)
                problem = message;
            else if (result == GuardedLoad::UseIcon)
                problem =
                    in + ": no picture (" +
                    (picture.LastError().empty() ? "not an image file" : picture.LastError()) + ")";
            else if (!ComposeOnField(picture, size, size, MakeRgb(255, 255, 255), cell) ||
                     !SaveImageFile(cell, outDir + "/" + BaseName(in) + ".png", ImageFormatPng))
                problem = in + ": " + cell.LastError();
            if (!problem.empty()) {
                ++failures;
                std::lock_guard lock(printing);
                std::fprintf(stderr, "orvo: %s\n", problem.c_str());
            }
        }
    };
    const unsigned threads = std::clamp<unsigned>(UsableCores(), 1, inputs.size());
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
    return failures ? 1 : 0;
}

int Run(const CliArguments& arguments) {
    const std::vector<std::string>& args = arguments.operands;
    if (args.size() == 2 && args[0] == "info")
        return Info(args[1]);
    if (!args.empty() && args[0] == "convert")
        return Convert(arguments);
    if (!args.empty() && args[0] == "thumb")
        return Thumbnails(arguments);
    return UsageError("image");
}

const CliRegistration registration(
    {"image",
     "  orvo image info FILE       format, size, depth, dpi, grey, frames and stored layout\n"
     "  orvo image convert IN OUT [--bits N] [--size WxH] [--quality Q]\n"
     "                             convert a picture (format from OUT's extension)\n"
     "  orvo image thumb --size N --out DIR IN...\n"
     "                             one PNG thumbnail DIR/NAME.png per picture, as the browser "
     "makes them",
     Run,
     {{"--bits", 1, "convert", "1 4 8 24"},
      {"--size", 1, "convert thumb"},
      {"--quality", 1, "convert"},
      {"--out", 1, "thumb", kFileChoice}},
     "info convert thumb"});

} // namespace

} // namespace orvo::cli
