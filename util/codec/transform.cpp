#include "velmora/transform.h"

#include <cstdint>

#include "util/codec/fixed_decimal.h"

namespace {

// The leading number of a text as the C library's decimal conversions see
// it, with the magnitude kept exact up to 2^64 - 1 and overflow flagged, so
// that every function below applies its own range rule on every build.
struct ParsedNumber {
    bool negative = false;
    bool overflow = false;  // magnitude of 2^64 or more
    std::uint64_t magnitude = 0;
};

bool IsCSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

ParsedNumber ParseLeadingNumber(const char* p) {
    ParsedNumber n;
    while (IsCSpace(*p)) ++p;
    if (*p == '+' || *p == '-') n.negative = *p++ == '-';
    for (; *p >= '0' && *p <= '9'; ++p) {
        const std::uint64_t digit = static_cast<std::uint64_t>(*p - '0');
        if (n.magnitude > (UINT64_MAX - digit) / 10) {
            n.overflow = true;  // keep reading: the whole run of digits is the number
        } else {
            n.magnitude = n.magnitude * 10 + digit;
        }
    }
    return n;
}

// Saturates to [-limit - 1, limit] for a signed type whose maximum is limit.
std::int64_t Saturate(const ParsedNumber& n, std::uint64_t limit) {
    if (n.negative) {
        if (n.overflow || n.magnitude > limit) return -static_cast<std::int64_t>(limit) - 1;
        return -static_cast<std::int64_t>(n.magnitude);
    }
    if (n.overflow || n.magnitude > limit) return static_cast<std::int64_t>(limit);
    return static_cast<std::int64_t>(n.magnitude);
}

// The one body of Transform2Str(unsigned int) and Transform2Str(unsigned long).
CString FormatZeroExtended(unsigned long long value) { return Transform2Str(value); }

}  // namespace

int Transform2Int(CString text) { return static_cast<int>(Saturate(ParseLeadingNumber(text), INT32_MAX)); }

unsigned long Transform2Ulong(CString text) {
    const std::int64_t value = Saturate(ParseLeadingNumber(text), INT64_MAX);
    return static_cast<unsigned long>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu);
}

unsigned long long Transform2ULL(CString text) {
    const ParsedNumber n = ParseLeadingNumber(text);
    if (n.overflow) return UINT64_MAX;
    return n.negative ? 0 - n.magnitude : n.magnitude;
}

long long Transform2LL(CString text) { return Saturate(ParseLeadingNumber(text), INT64_MAX); }

unsigned short Transform2Ushort(CString text) {
    return static_cast<unsigned short>(static_cast<unsigned int>(Transform2Int(text)) & 0xFFFFu);
}

CString Transform2Str(int value) {
    CString text;
    text.Format("%d", value);
    return text;
}

CString Transform2Str(unsigned long long value) {
    CString text;
    text.Format("%I64u", value);
    return text;
}

CString Transform2Str(unsigned int value) { return FormatZeroExtended(value); }

CString Transform2Str(unsigned long value) { return FormatZeroExtended(value); }

CString Transform2Str(unsigned short value) { return Transform2Str(static_cast<int>(value)); }

CString Transform2Str(float value) {
    // On x87 builds a float can live in an 80-bit register; storing it makes
    // sure it is rounded to single precision, as on every other build.
    volatile float stored = value;
    return CString(velmora::FormatFixed2(static_cast<double>(stored)).c_str());
}
