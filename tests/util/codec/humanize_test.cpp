#include "velmora/humanize.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ScoreToStr, LevelTable) {
    const struct {
        long long score;
        const char* level;
    } cases[] = {
        {-5, "1级"}, {LLONG_MIN, "1级"}, {0, "1级"}, {999, "1级"}, {1000, "2级"}, {9999, "2级"},
        {10000, "3级"}, {49999, "3级"}, {50000, "4级"}, {199999, "4级"}, {200000, "5级"},
        {499999, "5级"}, {500000, "6级"}, {999999, "6级"}, {1000000, "7级"}, {1999999, "7级"},
        {2000000, "8级"}, {4999999, "8级"}, {5000000, "9级"}, {9999999, "9级"},
        {10000000, "10级"}, {99999999, "10级"}, {100000000, "11级"}, {LLONG_MAX, "11级"},
    };
    for (const auto& c : cases) EXPECT_EQ(ScoreToStr(c.score, 0), c.level) << c.score;
}

TEST(ScoreToStr, WithWealth) {
    EXPECT_EQ(ScoreToStr(1000, 1), "级别：2级 财富：1000Pellicor银币");
    EXPECT_EQ(ScoreToStr(-1, 1), "级别：1级 财富：18446744073709551615Pellicor银币");
    EXPECT_EQ(ScoreToStr(100000000, -3), "级别：11级 财富：100000000Pellicor银币");
}

TEST(UINTSpeedToStr, UnitsAndRounding) {
    const struct {
        unsigned int value;
        const char* text;
    } cases[] = {
        {0, "0B/s"}, {1, "1B/s"}, {1023, "1023B/s"}, {1024, "1KB/s"}, {1500, "1KB/s"},
        {1535, "2KB/s"},  // 1.4990234375 prints as 1.50
        {1536, "2KB/s"}, {1530, "1KB/s"}, {10239, "10KB/s"}, {1048575, "1024KB/s"},
        {1048576, "1.00MB/s"}, {1572864, "1.50MB/s"}, {1184891, "1.13MB/s"},
        {4294967295u, "4096.00MB/s"},  // single precision
    };
    for (const auto& c : cases) EXPECT_EQ(UINTSpeedToStr(c.value), c.text) << c.value;
}

TEST(ULLSizeToStr, UnitsAndRounding) {
    const struct {
        unsigned long long value;
        const char* text;
    } cases[] = {
        {0, "0Byte"}, {1023, "1023Byte"}, {1024, "1.00KB"}, {1152, "1.13KB"}, {1536, "1.50KB"},
        {1048575, "1024.00KB"}, {1048576, "1.00MB"}, {1073741823, "1024.00MB"},
        {1073741824, "1.00GB"}, {1610612736, "1.50GB"}, {1099511627776ull, "1024.00GB"},
        {18446744073709551615ull, "17179869184.00GB"},
        // Only the final single-precision rounding loses digits.
        {(1ull << 40) + 1, "1024.00GB"}, {(1ull << 54) + 3 * (1ull << 30), "16777220.00GB"},  // 2^24 + 3 rounds to 2^24 + 4
    };
    for (const auto& c : cases) EXPECT_EQ(ULLSizeToStr(c.value), c.text) << c.value;
}

TEST(DWTimeToStr, ClockAndDays) {
    const struct {
        unsigned int ms;
        const char* text;
    } cases[] = {
        {0, "00:00:00"}, {999, "00:00:00"}, {1000, "00:00:01"}, {61000, "00:01:01"},
        {3600000, "01:00:00"}, {86399999, "23:59:59"}, {86400000, "1天 00:00:00"},
        {90061000, "1天 01:01:01"}, {863999999, "9天 23:59:59"}, {864000000, "10天 00:00:00"},
        {4294967295u, "49天 17:02:47"},
    };
    for (const auto& c : cases) EXPECT_EQ(DWTimeToStr(c.ms), c.text) << c.ms;
}

}  // namespace
