#include "store/QValue.h"

#include "platform/OleDate.h"
#include "store/Collation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvo {

QValue::QValue(int32_t value, uint16_t type) : type_(type) { payload_.i = value; }
QValue::QValue(uint32_t value, uint16_t type) : type_(type) { payload_.dw = value; }
QValue::QValue(double value, uint16_t type) : type_(type) { payload_.d = value; }
QValue::QValue(bool value, uint16_t type) : type_(type) { payload_.b = value ? 1 : 0; }

QValue::QValue(std::string_view text) : type_(QVT_LPSTR) { SetOwnedBytes(text, true); }

QValue QValue::Blob(std::string_view bytes) {
    QValue v;
    v.type_ = QVT_BLOB;
    v.SetOwnedBytes(bytes, false);
    return v;
}

QValue QValue::BorrowedString(const char* text) {
    QValue v;
    v.type_ = QVT_LPSTR;
    if (text && *text) {
        v.payload_.p = const_cast<char*>(text);
        v.borrowed_ = true;
    }
    return v;
}

QValue QValue::Default(uint16_t type) {
    QValue v;
    v.type_ = type;
    if (type == QVT_BLOB) {
        // A new blob cell holds a zeroed block of 20 bytes.
        static const char zeros[20] = {};
        v.SetOwnedBytes(std::string_view(zeros, sizeof zeros), false);
    }
    return v;
}

QValue::QValue(const QValue& other) { CopyFrom(other); }

QValue& QValue::operator=(const QValue& other) {
    if (this != &other) {
        Release();
        CopyFrom(other);
    }
    return *this;
}

void QValue::CopyFrom(const QValue& other) {
    type_ = other.type_;
    borrowed_ = false;
    if (type_ == QVT_LPSTR) {
        payload_.bits = 0;
        length_ = 0;
        SetOwnedBytes(other.AsStringView(), true);
    } else if (type_ == QVT_BLOB) {
        payload_.bits = 0;
        SetOwnedBytes(other.AsBlob(), false);
    } else {
        payload_ = other.payload_;
        length_ = other.length_;
    }
}

void QValue::SetOwnedBytes(std::string_view bytes, bool terminate) {
    payload_.p = nullptr;
    if (type_ == QVT_BLOB)
        length_ = static_cast<uint32_t>(bytes.size());
    else
        length_ = 0;
    if (bytes.empty())
        return; // empty strings and blocks own nothing
    char* block = static_cast<char*>(std::malloc(bytes.size() + (terminate ? 1 : 0)));
    if (!block)
        throw std::bad_alloc();
    std::memcpy(block, bytes.data(), bytes.size());
    if (terminate)
        block[bytes.size()] = '\0';
    payload_.p = block;
}

void QValue::FreeBlock(char* p) { std::free(p); }

const char* QValue::AsString() const {
    if (type_ == QVT_LPSTR && payload_.p)
        return payload_.p;
    return "";
}

std::string_view QValue::AsStringView() const {
    if (type_ == QVT_LPSTR && payload_.p)
        return std::string_view(payload_.p);
    return {};
}

std::string_view QValue::AsBlob() const {
    if (type_ == QVT_BLOB && payload_.p)
        return std::string_view(payload_.p, length_);
    return {};
}

void QValue::SetRawBool(uint8_t byte) {
    Release();
    type_ = QVT_BOOL;
    payload_.bits = 0;
    payload_.b = byte;
}

namespace {

std::string DoubleText(double d) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", d);
    std::string text(buffer);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

std::string QValue::ToText(const char* dateFormat) const {
    char buffer[32];
    switch (type_) {
    case QVT_INT:
        std::snprintf(buffer, sizeof buffer, "%i", payload_.i);
        return buffer;
    case QVT_DWORD:
        std::snprintf(buffer, sizeof buffer, "%u", payload_.dw);
        return buffer;
    case QVT_DOUBLE:
        return DoubleText(payload_.d);
    case QVT_BOOL:
        return payload_.b == 1 ? "TRUE" : "FALSE";
    case QVT_DATE:
        return FormatOleDate(payload_.d, dateFormat ? dateFormat : kDefaultDateFormat);
    case QVT_LPSTR:
        return std::string(AsStringView());
    case QVT_BLOB: {
        std::string text = "Size = " + std::to_string(static_cast<int32_t>(length_)) + "\r\n";
        for (char c : AsBlob())
            if (c != '\0')
                text.push_back(c);
        return text;
    }
    default:
        return "";
    }
}

void QValue::SetFromText(std::string_view text, uint16_t type) {
    Release();
    uint16_t oldType = type_;
    type_ = type;
    // atoi, strtoul and atof want a terminated string.
    std::string s(text);
    switch (type) {
    case QVT_INT:
        payload_.bits = 0;
        payload_.i = std::atoi(s.c_str());
        break;
    case QVT_DWORD:
        payload_.bits = 0;
        payload_.dw = static_cast<uint32_t>(std::strtoul(s.c_str(), nullptr, 10));
        break;
    case QVT_DOUBLE:
        payload_.d = std::atof(s.c_str());
        break;
    case QVT_BOOL:
        payload_.bits = 0;
        payload_.b = (s.size() == 4 && strncasecmp(s.c_str(), "TRUE", 4) == 0) ? 1 : 0;
        break;
    case QVT_LPSTR:
        SetOwnedBytes(text, true);
        break;
    case QVT_BLOB:
        SetOwnedBytes(text, false);
        break;
    default:
        // Dates have no parser: the payload stays, except that a pointer
        // left over from a released string must not be read as a number.
        if (oldType == QVT_LPSTR || oldType == QVT_BLOB)
            payload_.bits = 0;
        break;
    }
}

int QValue::Compare(const QValue& other, bool caseSensitive) const {
    switch (type_) {
    case QVT_INT:
        return payload_.i < other.payload_.i ? -1 : (payload_.i > other.payload_.i ? 1 : 0);
    case QVT_DWORD:
        return payload_.dw < other.payload_.dw ? -1 : (payload_.dw > other.payload_.dw ? 1 : 0);
    case QVT_DOUBLE:
    case QVT_DATE:
        if (!(payload_.d >= other.payload_.d))
            return -1;
        return payload_.d > other.payload_.d ? 1 : 0;
    case QVT_BOOL:
        if (payload_.b == other.payload_.b)
            return 0;
        // true sorts before false, which puts directories first.
        return payload_.b ? -1 : 1;
    case QVT_LPSTR:
        return CollateStrings(AsStringView(), other.AsStringView(), caseSensitive);
    case QVT_BLOB: {
        auto a = static_cast<int32_t>(length_), b = static_cast<int32_t>(other.length_);
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    default:
        return 0;
    }
}

bool QValue::Matches(int op, const QValue& other) const {
    switch (op) {
    case QOP_EQUAL:
        return Compare(other, false) == 0;
    case QOP_LESS:
        return Compare(other, false) == -1;
    case QOP_GREATER:
        return Compare(other, false) == 1;
    case QOP_NOT_EQUAL:
        return Compare(other, false) != 0;
    case QOP_BEGINS_WITH:
    case QOP_CONTAINS: {
        std::string mine = LowerCaseText(ToText());
        std::string theirs = LowerCaseText(other.ToText());
        if (op == QOP_BEGINS_WITH)
            return mine.compare(0, theirs.size(), theirs) == 0;
        return mine.find(theirs) != std::string::npos;
    }
    default:
        return false;
    }
}

} // namespace orvo
