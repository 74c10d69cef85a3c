#include "velmora/humanize.h"

#include <cstdint>

#include "base/mbcs.h"
#include "velmora/transform.h"

namespace {

const char* LevelText(long long score) {
    static const struct {
        long long minimum;
        const char* text;
    } kLevels[] = {
        {100000000, "11级"}, {10000000, "10级"}, {5000000, "9级"}, {2000000, "8级"}, {1000000, "7级"},
        {500000, "6级"},     {200000, "5级"},    {50000, "4级"},   {10000, "3级"},   {1000, "2级"},
    };
    if (score < 0) return "1级";
    for (const auto& level : kLevels) {
        if (score >= level.minimum) return level.text;
    }
    return "1级";
}

// Whole number from the two-decimal text: the decision looks at the first
// decimal digit of that text only, so 1.4990234375 ("1.50") becomes 2.
CString RoundToWhole(float value) {
    const CString text = Transform2Str(value);
    const int dot = text.Find('.');
    if (dot < 0) return text;
    const CString whole = text.Left(dot);
    const char firstDecimal = dot + 1 < text.GetLength() ? text[dot + 1] : '0';
    if (firstDecimal < '5') return whole;
    CString rounded;
    rounded.Format("%I64d", Transform2LL(whole) + 1);
    return rounded;
}

// Unit scaling: a float conversion rounds once, and scaling by a power of
// two is exact, so the result is the quotient rounded to single precision.
float ScaleDown(unsigned long long value, int shift) {
    return static_cast<float>(value) / static_cast<float>(1ull << shift);
}

// Expands %D (whole days), %H, %M, %S (two digits each) and %% in `format`
// for a span of `seconds`. Anything else is copied, a double-byte character
// as a whole, so its trail byte is never read as '%'.
CString FormatTimeSpan(const char* format, std::uint32_t seconds) {
    const std::uint32_t days = seconds / 86400;
    const std::uint32_t hours = seconds / 3600 % 24;
    const std::uint32_t minutes = seconds / 60 % 60;
    const std::uint32_t secs = seconds % 60;

    const CString pattern(format);
    const int length = pattern.GetLength();
    CString text;
    for (int pos = 0; pos < length;) {
        const int charLength = velmora::CharLengthAt(pattern, length, pos);
        if (charLength == 1 && pattern[pos] == '%' && pos + 1 < length) {
            switch (pattern[pos + 1]) {
                case 'D':
                    text.AppendFormat("%u", static_cast<unsigned>(days));
                    pos += 2;
                    continue;
                case 'H':
                    text.AppendFormat("%02u", static_cast<unsigned>(hours));
                    pos += 2;
                    continue;
                case 'M':
                    text.AppendFormat("%02u", static_cast<unsigned>(minutes));
                    pos += 2;
                    continue;
                case 'S':
                    text.AppendFormat("%02u", static_cast<unsigned>(secs));
                    pos += 2;
                    continue;
                case '%':
                    text += '%';
                    pos += 2;
                    continue;
                default:
                    break;
            }
        }
        text.Append(pattern.GetString() + pos, charLength);
        pos += charLength;
    }
    return text;
}

}  // namespace

CString ScoreToStr(long long score, int withWealth) {
    const char* level = LevelText(score);
    if (withWealth == 0) return CString(level);
    CString text;
    text.Format("级别：%s 财富：%I64uPellicor银币", level, static_cast<unsigned long long>(score));
    return text;
}

CString UINTSpeedToStr(unsigned int bytesPerSecond) {
    if (bytesPerSecond < 1024) return RoundToWhole(static_cast<float>(bytesPerSecond)) + "B/s";
    if (bytesPerSecond < 1048576) return RoundToWhole(ScaleDown(bytesPerSecond, 10)) + "KB/s";
    return Transform2Str(ScaleDown(bytesPerSecond, 20)) + "MB/s";
}

CString ULLSizeToStr(unsigned long long bytes) {
    if (bytes < 1024) return RoundToWhole(static_cast<float>(bytes)) + "Byte";
    if (bytes < (1ull << 20)) return Transform2Str(ScaleDown(bytes, 10)) + "KB";
    if (bytes < (1ull << 30)) return Transform2Str(ScaleDown(bytes, 20)) + "MB";
    return Transform2Str(ScaleDown(bytes, 30)) + "GB";
}

CString DWTimeToStr(unsigned int milliseconds) {
    const std::uint32_t seconds = milliseconds / 1000;
    return FormatTimeSpan(seconds / 86400 == 0 ? "%H:%M:%S" : "%D天 %H:%M:%S", seconds);
}
