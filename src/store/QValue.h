#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// Type tags; the numbers are what archives store.
enum : uint16_t {
    QVT_EMPTY = 1,
    QVT_INT = 2,
    QVT_DWORD = 3,
    QVT_DOUBLE = 4,
    QVT_LPSTR = 5,
    QVT_BOOL = 6,
    QVT_DATE = 7,
    QVT_BLOB = 8,
};

// Condition operators of Matches.
enum QOperator : int {
    QOP_EQUAL = 0,
    QOP_LESS = 1,
    QOP_GREATER = 2,
    QOP_NOT_EQUAL = 3,
    QOP_BEGINS_WITH = 4,
    QOP_CONTAINS = 5,
};

// One typed table cell. Kept to 16 bytes because a listing holds nine per
// file: the string and block payloads are single owned heap blocks, and an
// empty string owns nothing at all.
class QValue {
public:
    QValue() = default;
    QValue(int32_t value, uint16_t type);   // QVT_INT (or another 32-bit tag)
    QValue(uint32_t value, uint16_t type);  // QVT_DWORD
    QValue(double value, uint16_t type);    // QVT_DOUBLE or QVT_DATE
    QValue(bool value, uint16_t type);      // QVT_BOOL
    explicit QValue(std::string_view text); // QVT_LPSTR
    static QValue Blob(std::string_view bytes);
    // A string value that points at text kept alive by someone else (a
    // table's arena) instead of owning a copy. Copies of it own their text.
    static QValue BorrowedString(const char* text);
    // The value a new record gives a column of this type.
    static QValue Default(uint16_t type);

    QValue(const QValue& other);
    QValue(QValue&& other) noexcept
        : payload_(other.payload_), length_(other.length_), type_(other.type_), borrowed_(other.borrowed_) {
        other.Forget();
    }
    QValue& operator=(const QValue& other);
    QValue& operator=(QValue&& other) noexcept {
        if (this != &other) {
            Release();
            payload_ = other.payload_;
            length_ = other.length_;
            type_ = other.type_;
            borrowed_ = other.borrowed_;
            other.Forget();
        }
        return *this;
    }
    ~QValue() { Release(); }

    // Frees a string or block; the tag stays.
    void Release() {
        if (type_ == QVT_LPSTR || type_ == QVT_BLOB) {
            if (!borrowed_ && payload_.p)
                FreeBlock(payload_.p);
            payload_.p = nullptr;
        }
        borrowed_ = false;
        length_ = 0;
    }

    uint16_t Type() const { return type_; }
    uint32_t Length() const { return length_; }

    int32_t AsInt() const { return payload_.i; }
    uint32_t AsDword() const { return payload_.dw; }
    double AsDouble() const { return payload_.d; }
    uint8_t AsBool() const { return payload_.b; }
    // The string of a QVT_LPSTR value ("" for any other tag).
    const char* AsString() const;
    std::string_view AsStringView() const;
    // The bytes of a QVT_BLOB value.
    std::string_view AsBlob() const;

    // Raw payload access for the archive reader, which must keep bool
    // bytes other than 0 and 1 exactly as stored.
    void SetRawBool(uint8_t byte);

    std::string ToText(const char* dateFormat = nullptr) const;
    void SetFromText(std::string_view text, uint16_t type);
    int Compare(const QValue& other, bool caseSensitive) const;
    bool Matches(int op, const QValue& other) const;

    static constexpr const char* kDefaultDateFormat = "%Y %m %d %H:%M";

private:
    void CopyFrom(const QValue& other);
    static void FreeBlock(char* p);
    // After a move: the other value no longer owns its string or block.
    void Forget() {
        if (type_ == QVT_LPSTR || type_ == QVT_BLOB) {
            payload_.p = nullptr;
            length_ = 0;
            borrowed_ = false;
        }
    }
    void SetOwnedBytes(std::string_view bytes, bool terminate);

    union Payload {
        int32_t i;
        uint32_t dw;
        double d;
        uint8_t b;
        char* p;
        uint64_t bits;
    } payload_{.bits = 0};
    uint32_t length_ = 0;
    uint16_t type_ = QVT_EMPTY;
    bool borrowed_ = false;
};

static_assert(sizeof(QValue) == 16, "a listing row holds nine values; keep them small");

} // namespace orvo
