#include "velmora/transform.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "util/codec/fixed_decimal.h"

namespace {

TEST(Transform2Int, LeadingNumberAndSaturation) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"  42abc", 42}, {"abc", 0}, {"", 0}, {"+7", 7}, {"-0", 0}, {"\t\n\v\f\r 12", 12},
        {"12 34", 12}, {"- 5", 0}, {"--5", 0}, {"+-5", 0}, {"0042", 42},
        {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN},
        {"123456789012345678901234567890", INT_MAX},
        {"\xA3\xB1\xA3\xB2", 0},  // full-width digits are not digits
    };
    for (const auto& c : cases) EXPECT_EQ(Transform2Int(c.text), c.value) << c.text;
}

TEST(Transform2Ulong, LowThirtyTwoBitsOfSigned64) {
    const struct {
        const char* text;
        unsigned long value;
    } cases[] = {
        {"4294967295", 4294967295ul}, {"4294967296", 0}, {"4294967297", 1}, {"-1", 4294967295ul},
        {"-4294967296", 0}, {"  12x", 12},
        // Saturated at 2^63 - 1 and -2^63 before the low bits are taken.
        {"99999999999999999999", 4294967295ul}, {"-99999999999999999999", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Transform2Ulong(c.text), c.value) << c.text;
}

TEST(Transform2ULL, NegationModuloAndOverflow) {
    const struct {
        const char* text;
        unsigned long long value;
    } cases[] = {
        {"-1", ULLONG_MAX}, {"18446744073709551616", ULLONG_MAX},
        {"18446744073709551615", ULLONG_MAX}, {"18446744073709551614", ULLONG_MAX - 1},
        {"-18446744073709551615", 1}, {"-18446744073709551616", ULLONG_MAX},
        {"99999999999999999999999", ULLONG_MAX}, {"  +123", 123}, {"x1", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Transform2ULL(c.text), c.value) << c.text;
}

TEST(Transform2LL, Saturation) {
    const struct {
        const char* text;
        long long value;
    } cases[] = {
        {"9223372036854775808", LLONG_MAX}, {"9223372036854775807", LLONG_MAX},
        {"-9223372036854775808", LLONG_MIN}, {"-9223372036854775809", LLONG_MIN},
        {"-18446744073709551617", LLONG_MIN}, {"-42", -42}, {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Transform2LL(c.text), c.value) << c.text;
}

TEST(Transform2Ushort, LowSixteenBitsOfInt) {
    EXPECT_EQ(Transform2Ushort("65537"), 1);
    EXPECT_EQ(Transform2Ushort("-1"), 65535);
    EXPECT_EQ(Transform2Ushort("70000"), 4464);
    EXPECT_EQ(Transform2Ushort("65535"), 65535);
    EXPECT_EQ(Transform2Ushort("99999999999"), 65535);  // INT_MAX first
    EXPECT_EQ(Transform2Ushort("-99999999999"), 0);     // INT_MIN first
}

TEST(Transform2Str, Integers) {
    EXPECT_EQ(Transform2Str(0), "0");
    EXPECT_EQ(Transform2Str(-17), "-17");
    EXPECT_EQ(Transform2Str(INT_MIN), "-2147483648");
    EXPECT_EQ(Transform2Str(0u), "0");
    EXPECT_EQ(Transform2Str(4294967295u), "4294967295");
    EXPECT_EQ(Transform2Str(4294967295ul), "4294967295");
    EXPECT_EQ(Transform2Str(static_cast<unsigned short>(65535)), "65535");
    EXPECT_EQ(Transform2Str(18446744073709551615ull), "18446744073709551615");
}

TEST(Transform2Str, FloatTwoDecimalsHalfAwayFromZero) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.125f, "0.13"}, {-1.125f, "-1.13"}, {2.5f, "2.50"}, {-1.0f, "-1.00"}, {0.0f, "0.00"},
        {0.375f, "0.38"}, {1.005f, "1.00"},  // 1.005f is 1.00499999523...
        {0.994f, "0.99"}, {0.995f, "1.00"}, {9.995f, "9.99"}, {99.999f, "100.00"},
        {1.0e10f, "10000000000.00"}, {16777217.0f, "16777216.00"},
        // Digits past the seventeenth significant one print as zeros.
        {3.0e38f, "300000000549775580000000000000000000000.00"},
        {1.0e-30f, "0.00"}, {-0.001f, "-0.00"}, {-0.0f, "-0.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(Transform2Str(c.value), c.text) << c.text;
    EXPECT_EQ(Transform2Str(INFINITY), "inf");
    EXPECT_EQ(Transform2Str(-INFINITY), "-inf");
    EXPECT_EQ(Transform2Str(NAN), "nan");
}

// The two-step rounding: the double nearest 0.105 lies just below it, but
// its 17-digit expansion is 0.10500000000000000, so the result rounds up
// where rounding the exact value would round down.
TEST(FixedDecimal, SeventeenDigitsComeFirst) {
    EXPECT_EQ(velmora::FormatFixed2(0.105), "0.11");
    EXPECT_EQ(velmora::FormatFixed2(0.155), "0.16");
    EXPECT_EQ(velmora::FormatFixed2(-0.435), "-0.44");
    EXPECT_EQ(velmora::FormatFixed2(2.675), "2.67");  // 2.6749999999999998
    EXPECT_EQ(velmora::FormatFixed2(0.005), "0.01");  // 0.005000000000000000104...
    EXPECT_EQ(velmora::FormatFixed2(1e300).size(), 304u);
    EXPECT_EQ(velmora::FormatFixed2(5e-324), "0.00");
    EXPECT_EQ(velmora::FormatFixed2(123456789.995), "123456790.00");  // 123456789.99500000476...
}

#if !defined(_WIN32)
// Reference from glibc, which rounds exactly to 17 significant digits
// ("%.16e"); the cut at the second decimal is done here on that text.
std::string ReferenceFixed2(double value) {
    char sci[64];
    std::snprintf(sci, sizeof sci, "%.16e", value);
    std::string text(sci);
    const bool negative = text[0] == '-';
    if (negative) text.erase(0, 1);
    const size_t e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);  // 17 digits
    // value = digits * 10^(exponent - 16); express it in thousandths.
    const int power = exponent - 16 + 3;
    if (power >= 0) {
        digits.append(static_cast<size_t>(power), '0');
    } else if (static_cast<size_t>(-power) >= digits.size()) {
        digits = "0";
    } else {
        digits.resize(digits.size() - static_cast<size_t>(-power));
    }
    unsigned long long thousandths = std::stoull(digits);
    unsigned long long hundredths = thousandths / 10 + (thousandths % 10 >= 5 ? 1 : 0);
    char out[64];
    std::snprintf(out, sizeof out, "%s%llu.%02llu", negative ? "-" : "", hundredths / 100, hundredths % 100);
    return out;
}

TEST(FixedDecimal, AgreesWithSeventeenDigitReference) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> exponent(-6.0f, 12.0f);
    for (int i = 0; i < 20000; ++i) {
        float value = std::pow(10.0f, exponent(rng));
        if (rng() & 1) value = -value;
        ASSERT_EQ(Transform2Str(value), ReferenceFixed2(value).c_str()) << value;
    }
    // Values on exact hundredth-and-a-half boundaries.
    for (int k = 0; k < 4000; ++k) {
        const float value = static_cast<float>(k) / 8.0f + 0.005f;
        ASSERT_EQ(Transform2Str(value), ReferenceFixed2(value).c_str()) << value;
    }
}
#endif

}  // namespace
