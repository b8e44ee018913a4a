#include "store/ArchiveReader.h"

#include <cstring>

namespace orvo {

void ArchiveReader::Truncated(size_t n) const {
    throw ArchiveError("The file ends too early (offset " + std::to_string(pos_) +
                           ", " + std::to_string(n) + " more bytes expected).");
}

void ArchiveReader::CheckCount(uint64_t count, size_t minSize, const char* what) const {
    if (minSize == 0)
        minSize = 1;
    if (count > Remaining() / minSize)
        throw ArchiveError(std::string("The file is damaged: it claims ") + std::to_string(count) +
                           " " + what + " but only " + std::to_string(Remaining()) +
                           " bytes follow (offset " + std::to_string(pos_) + ").");
}

std::string_view ArchiveReader::View(size_t n) {
    Need(n);
    std::string_view v = data_.substr(pos_, n);
    pos_ += n;
    return v;
}

std::string ArchiveReader::Bytes(size_t n) {
    Need(n);
    std::string s(data_.substr(pos_, n));
    pos_ += n;
    return s;
}

uint64_t ArchiveReader::TextLength(bool& wide) {
    uint8_t b = U8();
    if (b < 0xFF)
        return b;
    uint16_t w = U16();
    if (w == 0xFFFE) {
        // The wide form: the marker, then the length again in the same
        // variable form, counting 2-byte characters.
        if (wide)
            throw ArchiveError("The file is damaged: a text length is marked wide twice.");
        wide = true;
        return TextLength(wide);
    }
    if (w < 0xFFFF)
        return w;
    return U32();
}

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

std::string ArchiveReader::Text() {
    bool wide = false;
    uint64_t length = TextLength(wide);
    if (!wide) {
        Need(length);
        return Bytes(static_cast<size_t>(length));
    }
    if (length > Remaining() / 2)
        Need(Remaining() + 1);
    std::string out;
    out.reserve(static_cast<size_t>(length));
    for (uint64_t i = 0; i < length; ++i) {
        uint32_t unit = U16();
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < length) {
            size_t save = pos_;
            uint32_t low = U16();
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
            pos_ = save;
        }
        if (unit >= 0xD800 && unit < 0xE000)
            unit = 0xFFFD; // an unpaired surrogate has no UTF-8 form
        AppendUtf8(out, unit);
    }
    return out;
}

} // namespace orvo
