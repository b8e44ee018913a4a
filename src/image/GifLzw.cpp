#include "image/GifLzw.h"

#include "image/ImageCodec.h"

#include <array>
#include <vector>

namespace orvo {

namespace {

constexpr int kMaxBits = 12;
constexpr int kTableSize = 1 << kMaxBits;
constexpr int kHashSize = 5003; // prime, about 120 % of the table
constexpr const char* kCorrupt = "Corrupted GIF file";

class CodeReader {
public:
    CodeReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    // -1 at the end of the data.
    int Next(int bits) {
        while (count_ < bits) {
            if (pos_ == size_)
                return -1;
            acc_ |= static_cast<uint32_t>(data_[pos_++]) << count_;
            count_ += 8;
        }
        int code = static_cast<int>(acc_ & ((1u << bits) - 1));
        acc_ >>= bits;
        count_ -= bits;
        return code;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    uint32_t acc_ = 0;
    int count_ = 0;
};

class CodeWriter {
public:
    void Put(int code, int bits) {
        acc_ |= static_cast<uint32_t>(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            out_.push_back(static_cast<char>(acc_ & 0xFF));
            acc_ >>= 8;
            count_ -= 8;
        }
    }
    std::string Finish() {
        if (count_ > 0)
            out_.push_back(static_cast<char>(acc_ & 0xFF));
        acc_ = 0;
        count_ = 0;
        return std::move(out_);
    }

private:
    std::string out_;
    uint32_t acc_ = 0;
    int count_ = 0;
};

} // namespace

size_t GifLzw::Decode(const uint8_t* data, size_t size, int minCodeSize, uint8_t* out,
                      size_t capacity) {
    if (minCodeSize < 1 || minCodeSize > kMaxBits - 1)
        throw ImageFormatError(kCorrupt);
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::array<uint16_t, kTableSize> prefix{};
    std::array<uint8_t, kTableSize> suffix{};
    std::array<uint8_t, kTableSize + 1> stack{};
    for (int i = 0; i < clear; ++i)
        suffix[i] = static_cast<uint8_t>(i);

    CodeReader in(data, size);
    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    uint8_t first = 0;
    size_t produced = 0;
    while (produced < capacity) {
        const int code = in.Next(codeSize);
        if (code < 0 || code == end)
            break;
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            if (code > clear)
                throw ImageFormatError(kCorrupt);
            first = static_cast<uint8_t>(code);
            out[produced++] = first;
            previous = code;
            continue;
        }
        int depth = 0;
        int walk = code;
        if (code == next && next < kTableSize) {
            stack[depth++] = first; // the string of previous plus its own first pixel
            walk = previous;
        } else if (code >= next) {
            throw ImageFormatError(kCorrupt);
        }
        while (walk >= clear) {
            stack[depth++] = suffix[walk];
            walk = prefix[walk];
        }
        first = static_cast<uint8_t>(walk);
        stack[depth++] = first;
        while (depth > 0 && produced < capacity)
            out[produced++] = stack[--depth];
        if (next < kTableSize) {
            prefix[next] = static_cast<uint16_t>(previous);
            suffix[next] = first;
            ++next;
            if (next == (1 << codeSize) && codeSize < kMaxBits)
                ++codeSize;
        }
        previous = code;
    }
    return produced;
}

std::string GifLzw::Encode(const uint8_t* pixels, size_t count, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    const int initBits = minCodeSize + 1;
    std::vector<int32_t> hashCodes(kHashSize, -1);
    std::vector<uint16_t> hashEntries(kHashSize, 0);
    int hashShift = 0;
    for (long f = kHashSize; f < 65536; f *= 2)
        ++hashShift;
    hashShift = 8 - hashShift;

    CodeWriter out;
    int bits = initBits;
    int maxCode = (1 << bits) - 1;
    int freeEntry = clear + 2;
    bool clearing = false;
    // Writes a code, then widens the codes once the table has outgrown them
    // (or narrows them back after a clear), in step with the decoder.
    auto emit = [&](int code) {
        out.Put(code, bits);
        if (clearing) {
            bits = initBits;
            maxCode = (1 << bits) - 1;
            clearing = false;
        } else if (freeEntry > maxCode) {
            ++bits;
            maxCode = bits == kMaxBits ? kTableSize : (1 << bits) - 1;
        }
    };

    emit(clear);
    if (count == 0) {
        emit(end);
        return out.Finish();
    }
    int entry = pixels[0];
    for (size_t n = 1; n < count; ++n) {
        const int c = pixels[n];
        const int32_t key = (static_cast<int32_t>(c) << kMaxBits) + entry;
        int i = (c << hashShift) ^ entry;
        if (hashCodes[i] == key) {
            entry = hashEntries[i];
            continue;
        }
        bool found = false;
        if (hashCodes[i] >= 0) {
            const int step = i == 0 ? 1 : kHashSize - i;
            do {
                i -= step;
                if (i < 0)
                    i += kHashSize;
                if (hashCodes[i] == key) {
                    found = true;
                    break;
                }
            } while (hashCodes[i] >= 0);
        }
        if (found) {
            entry = hashEntries[i];
            continue;
        }
        emit(entry);
        entry = c;
        if (freeEntry < kTableSize) {
            hashEntries[i] = static_cast<uint16_t>(freeEntry++);
            hashCodes[i] = key;
        } else {
            std::fill(hashCodes.begin(), hashCodes.end(), -1);
            freeEntry = clear + 2;
            clearing = true;
            emit(clear);
        }
    }
    emit(entry);
    emit(end);
    return out.Finish();
}

} // namespace orvo
