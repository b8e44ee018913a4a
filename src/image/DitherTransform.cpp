#include "image/ImageTransformSupport.h"
#include "image/ImageTransforms.h"

namespace orvo {

using transform_detail::ClampByte;
using transform_detail::SetBit;

namespace {

constexpr int kOrderedMatrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

void OrderedRow(const uint8_t* grey, uint8_t* dst, int width, int y) {
    const int* matrix = kOrderedMatrix[y % 4];
    for (int x = 0; x < width; ++x) {
        const int level = grey[x] * 16 / 255;
        if (level == 16 || matrix[x % 4] < level)
            SetBit(dst, x);
    }
}

// Floyd–Steinberg on the grey working image itself: the spread errors are
// added into its bytes (clamped), so later pixels see them.
void DiffuseRow(uint8_t* grey, uint8_t* next, uint8_t* dst, int width) {
    for (int x = 0; x < width; ++x) {
        const int value = grey[x];
        int error;
        if (value > 128) {
            SetBit(dst, x);
            error = value - 255;
        } else {
            error = value;
        }
        if (x + 1 < width)
            grey[x + 1] = ClampByte(grey[x + 1] + error * 7 / 16);
        if (!next)
            continue;
        if (x > 0)
            next[x - 1] = ClampByte(next[x - 1] + error * 3 / 16);
        next[x] = ClampByte(next[x] + error * 5 / 16);
        if (x + 1 < width)
            next[x + 1] = ClampByte(next[x + 1] + error * 1 / 16);
    }
}

} // namespace

bool Dither(RasterImage& image, int method) {
    const int w = image.Width();
    return transform_detail::ToBlackWhite(image, [&](uint8_t* grey, uint8_t* dst, int y) {
        if (method == 1)
            OrderedRow(grey, dst, w, y);
        else
            DiffuseRow(grey, image.Row(y + 1), dst, w); // null after the last row
    });
}

} // namespace orvo
