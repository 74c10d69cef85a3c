// The code-page layer under the conversions: long texts that cross its
// internal chunk and segment boundaries, output that outgrows its first
// buffer, and (on Linux, where the substitutes are ours) what replaces
// bytes and characters that cannot be converted.
#include "base/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Convert(bool (*convert)(const char*, int, CString&), const std::string& in) {
    CString out = "untouched";
    EXPECT_TRUE(convert(in.data(), static_cast<int>(in.size()), out));
    return std::string(out.GetString(), static_cast<size_t>(out.GetLength()));
}

TEST(CodePageLayerTest, LongTextsRoundTripAcrossChunks) {
    // Runs of Chinese longer than one conversion chunk, ASCII runs short
    // and long, and a GBK character whose second byte is ASCII (0x81 0x40).
    std::string gbk;
    std::string utf8;
    for (int i = 0; i < 3000; ++i) {
        gbk += "\xD6\xD0\xCE\xC4";
        utf8 += "\xE4\xB8\xAD\xE6\x96\x87";
        if (i % 700 == 0) {
            gbk += std::string(40, 'a') + "\x81\x40" + "b";
            utf8 += std::string(40, 'a') + "\xE4\xB8\x82" + "b";
        }
    }
    EXPECT_EQ(utf8, Convert(velmora::AnsiToUtf8, gbk));
    EXPECT_EQ(gbk, Convert(velmora::Utf8TextToAnsi, utf8));
}

TEST(CodePageLayerTest, OutputThatOutgrowsItsFirstBufferIsKept) {
    // 0x80 is the euro sign in code page 936: one byte grows to three.
    const std::string euros(5000, '\x80');
    std::string expected;
    for (int i = 0; i < 5000; ++i) expected += "\xE2\x82\xAC";
    EXPECT_EQ(expected, Convert(velmora::AnsiToUtf8, euros));
}

TEST(CodePageLayerTest, Utf8TextToAnsiRefusesTextsThatAreNotUtf8) {
    for (const std::string& text : {std::string(""), std::string("ascii"), std::string("\xD6\xD0"),
                                    std::string("\xE4\xB8\xAD\xC0\x80")}) {
        CString out = "untouched";
        EXPECT_FALSE(velmora::Utf8TextToAnsi(text.data(), static_cast<int>(text.size()), out));
        EXPECT_EQ(CString("untouched"), out);
    }
}

#if !defined(_WIN32)
TEST(CodePageLayerTest, IconvSubstitutesOneQuestionMarkPerCharacter) {
    // Characters GBK lacks, an encoded surrogate, a value past U+10FFFF.
    EXPECT_EQ("a?b", Convert(velmora::Utf8TextToAnsi,
                             "a\xF0\x9F\x98\x80"
                             "b"));
    EXPECT_EQ("\xD6\xD0?", Convert(velmora::Utf8TextToAnsi, "\xE4\xB8\xAD\xED\xA0\x80"));
    EXPECT_EQ("?", Convert(velmora::Utf8TextToAnsi, "\xF4\x90\x80\x80"));
    // A byte GBK refuses becomes '?' and the next byte is read on its own,
    // so an ASCII byte after a bad lead byte is kept.
    EXPECT_EQ("? ", Convert(velmora::AnsiToUtf8, "\x81\x20"));
    EXPECT_EQ("a?", Convert(velmora::AnsiToUtf8, "a\x81"));
    EXPECT_EQ("\xE4\xB8\xAD?\x7F", Convert(velmora::AnsiToUtf8, "\xD6\xD0\x81\x7F"));
}
#endif

}  // namespace
