// Both builds must print the same bytes. Each case feeds many generated
// inputs through a function and digests the concatenated output; the
// expected digests were taken from one build and must hold on the other.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "digest/md5.h"
#include "velmora/humanize.h"
#include "velmora/transform.h"

namespace {

class OutputDigest {
public:
    OutputDigest() { MD5Init(&m_context); }
    void Add(const CString& text) {
        // Each text ends with a zero so "1" + "23" differs from "12" + "3".
        MD5Update(&m_context, reinterpret_cast<const unsigned char*>(text.GetString()),
                  static_cast<std::uint32_t>(text.GetLength() + 1));
    }
    CString Finish() {
        unsigned char digest[16];
        MD5Final(digest, &m_context);
        return DigestToHexStr(digest);
    }

private:
    MD5Context m_context;
};

// mt19937's raw output is fixed by the standard; its distributions are not.
TEST(SameBytes, FloatFormatting) {
    std::mt19937 rng(2024);
    OutputDigest out;
    for (int i = 0; i < 30000; ++i) {
        const std::uint32_t bits = static_cast<std::uint32_t>(rng());
        float value;
        std::memcpy(&value, &bits, sizeof value);
        out.Add(Transform2Str(value));
        // Values with few digits before the point, where rounding matters.
        const float small = static_cast<float>(rng() % 2000000) / 1024.0f;
        out.Add(Transform2Str(small));
    }
    EXPECT_EQ(out.Finish(), "c54c4cf1a5926b3b6ae2e22a7bc2edf9");
}

TEST(SameBytes, SizesSpeedsAndTimes) {
    std::mt19937_64 rng(77);
    OutputDigest out;
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t wide = rng();
        out.Add(ULLSizeToStr(wide >> (wide % 64)));
        out.Add(UINTSpeedToStr(static_cast<unsigned int>(wide >> (32 + wide % 32))));
        out.Add(DWTimeToStr(static_cast<unsigned int>(wide)));
        out.Add(ScoreToStr(static_cast<long long>(wide) >> (wide % 64), static_cast<int>(wide & 1)));
    }
    EXPECT_EQ(out.Finish(), "c91fdde42352e99ac8fb3c34424b1c90");
}

TEST(SameBytes, Parsing) {
    std::mt19937 rng(5);
    OutputDigest out;
    const char pieces[] = " \t+-0123456789x";
    for (int i = 0; i < 20000; ++i) {
        char text[32];
        const int length = static_cast<int>(rng() % 30);
        for (int k = 0; k < length; ++k) text[k] = pieces[rng() % (sizeof pieces - 1)];
        text[length] = '\0';
        CString line;
        line.Format("%d %I64u %I64u %I64d %u", Transform2Int(text),
                    static_cast<unsigned long long>(Transform2Ulong(text)), Transform2ULL(text),
                    Transform2LL(text), static_cast<unsigned>(Transform2Ushort(text)));
        out.Add(line);
    }
    EXPECT_EQ(out.Finish(), "44e6c3ead7ac4470d9dac80b1b47fe6f");
}

}  // namespace
