#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvo {

// A record-store file that cannot be read: damaged, truncated, or not the
// kind of object the caller asked for. The message is shown to the user.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the reader copies little-endian integers as they are");

// Reads the primitive items of an archive from bytes in memory. Every read
// checks what is left, so a file that lies about a length ends in an
// ArchiveError, never in a read past the end or an oversized allocation.
class ArchiveReader {
public:
    explicit ArchiveReader(std::string_view bytes) : data_(bytes) {}

    uint8_t U8() {
        Need(1);
        return static_cast<uint8_t>(data_[pos_++]);
    }
    uint16_t U16() {
        Need(2);
        uint16_t v;
        std::memcpy(&v, data_.data() + pos_, 2); // archives are little-endian, as is the host
        pos_ += 2;
        return v;
    }
    uint32_t U32() {
        Need(4);
        uint32_t v;
        std::memcpy(&v, data_.data() + pos_, 4);
        pos_ += 4;
        return v;
    }
    double F64() {
        Need(8);
        double v;
        std::memcpy(&v, data_.data() + pos_, 8);
        pos_ += 8;
        return v;
    }
    // A length-prefixed text; the wide form (0xFF FE FF ...) is converted
    // to UTF-8.
    std::string Text();
    std::string Bytes(size_t n);
    // The next n bytes without copying them (valid while the input lives).
    std::string_view View(size_t n);

    size_t Remaining() const { return data_.size() - pos_; }
    size_t Position() const { return pos_; }
    // Throws unless count items of at least minSize bytes each can still
    // follow: counts read from the file are checked before anything is
    // allocated for them.
    void CheckCount(uint64_t count, size_t minSize, const char* what) const;

private:
    void Need(size_t n) const {
        if (n > Remaining())
            Truncated(n);
    }
    [[noreturn]] void Truncated(size_t n) const;
    uint64_t TextLength(bool& wide);

    std::string_view data_;
    size_t pos_ = 0;
};

} // namespace orvo
