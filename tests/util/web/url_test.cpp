// URL encoding and decoding, UTF-8 shape tests and GBK/UTF-8 conversion.
// The GBK expectations hold on Windows under code page 936 and on Linux.
#include "velmora/url.h"

#include <gtest/gtest.h>

#include <string>

#include "util/web/utf8.h"

namespace {

CString Bytes(const std::string& bytes) { return CString(bytes.data(), static_cast<int>(bytes.size())); }

std::string ToStd(const CString& text) {
    return std::string(text.GetString(), static_cast<size_t>(text.GetLength()));
}

const std::string kZhongGbk = "\xD6\xD0";       // 中 in GBK
const std::string kZhongUtf8 = "\xE4\xB8\xAD";  // 中 in UTF-8
const std::string kWenGbk = "\xCE\xC4";         // 文
const std::string kWenUtf8 = "\xE6\x96\x87";

TEST(UrlEncodeTest, KeepsAlnumTurnsSpaceToPlusEscapesEverythingElse) {
    EXPECT_EQ("a+b%26c", ToStd(UrlEncode("a b&c")));
    EXPECT_EQ("+", ToStd(UrlEncode("\t")));
    EXPECT_EQ("++++++", ToStd(UrlEncode(" \t\n\v\f\r")));
    EXPECT_EQ("%D6%D0", ToStd(UrlEncode(Bytes(kZhongGbk))));
    EXPECT_EQ("a%2Eb", ToStd(UrlEncode("a.b")));
    EXPECT_EQ("%2D%5F%7E%2B%25", ToStd(UrlEncode("-_~+%")));
    EXPECT_EQ("", ToStd(UrlEncode("")));
    EXPECT_EQ("AZaz09%FF%80%7F", ToStd(UrlEncode(Bytes("AZaz09\xFF\x80\x7F"))));
}

TEST(UrlEncodeTest, StopsAtEmbeddedZero) {
    EXPECT_EQ("ab", ToStd(UrlEncode(Bytes(std::string("ab\0cd", 5)))));
}

TEST(UrlEncodeTest, EveryByteRoundTripsThroughTheShareAzDecoder) {
    // Bytes 1..255 (0 would end the text): the encoder's output decodes back.
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const CString encoded = UrlEncode(Bytes(all));
    EXPECT_EQ(255 * 3 - 62 * 2 - 6 * 2, encoded.GetLength());
    std::string expected = all;
    for (char& c : expected) {
        if (c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') c = ' ';
    }
    EXPECT_EQ(expected, ToStd(URLDecodeANSI_ShareAz(encoded)));
}

TEST(UrlDecodeTest, DecodesEscapesAndConvertsUtf8Runs) {
    EXPECT_EQ(kZhongGbk, ToStd(UrlDecode("%E4%B8%AD")));
    EXPECT_EQ(kZhongGbk, ToStd(UrlDecode("%D6%D0")));  // not UTF-8: kept
    EXPECT_EQ("AB", ToStd(UrlDecode("%41%42")));
    EXPECT_EQ("a+b", ToStd(UrlDecode("a+b")));
    EXPECT_EQ("%2b", ToStd(UrlDecode("%252b")));
    EXPECT_EQ("x" + kZhongGbk + kWenGbk + "y", ToStd(UrlDecode("x%E4%B8%AD%E6%96%87y")));
}

TEST(UrlDecodeTest, MalformedEscapesStayPlain) {
    EXPECT_EQ("100%", ToStd(UrlDecode("100%")));
    EXPECT_EQ("%4", ToStd(UrlDecode("%4")));
    EXPECT_EQ("%zz", ToStd(UrlDecode("%zz")));
    EXPECT_EQ("%4g", ToStd(UrlDecode("%4g")));
    EXPECT_EQ("%%41", ToStd(UrlDecode("%%%341")));
    EXPECT_EQ("", ToStd(UrlDecode("")));
}

TEST(UrlDecodeTest, DecodedZeroEndsOnlyItsOwnRun) {
    EXPECT_EQ("ab", ToStd(UrlDecode("a%00b")));
    EXPECT_EQ("aAc", ToStd(UrlDecode("a%41%00%42c")));
}

TEST(UrlDecodeTest, RunsAreConvertedSeparately) {
    // Neither decoded run is UTF-8 on its own, so all bytes pass unchanged.
    EXPECT_EQ("\xE4\xB8x\xAD", ToStd(UrlDecode("%E4%B8x%AD")));
    // Raw UTF-8 in a plain run is converted as well.
    EXPECT_EQ(kZhongGbk + "A", ToStd(UrlDecode(Bytes(kZhongUtf8 + "%41"))));
    // A plain run that is not UTF-8 stays even next to a decoded one that is.
    EXPECT_EQ(kWenGbk + kZhongGbk, ToStd(UrlDecode(Bytes(kWenGbk + "%E4%B8%AD"))));
}

TEST(ShareAzDecodeTest, DecodesEscapesAndPlusKeepingBytes) {
    EXPECT_EQ("a bA", ToStd(URLDecodeANSI_ShareAz("a+b%41")));
    EXPECT_EQ(kZhongUtf8, ToStd(URLDecodeANSI_ShareAz("%E4%B8%AD")));
    EXPECT_EQ(std::string("\x04"), ToStd(URLDecodeANSI_ShareAz("%4g")));  // g is consumed
    EXPECT_EQ("", ToStd(URLDecodeANSI_ShareAz("")));
    EXPECT_EQ("", ToStd(URLDecodeANSI_ShareAz(nullptr)));
}

TEST(ShareAzDecodeTest, BadEscapeEndsTheDecode) {
    EXPECT_EQ("", ToStd(URLDecodeANSI_ShareAz("%00abc")));
    EXPECT_EQ("ab", ToStd(URLDecodeANSI_ShareAz("ab%zzcd")));
    EXPECT_EQ("ab", ToStd(URLDecodeANSI_ShareAz("ab%")));
    EXPECT_EQ("ab", ToStd(URLDecodeANSI_ShareAz("ab%4")));
    EXPECT_EQ("ab", ToStd(URLDecodeANSI_ShareAz("ab%-1cd")));  // negative: below 1
    EXPECT_EQ("ab", ToStd(URLDecodeANSI_ShareAz("ab%  cd")));
    EXPECT_EQ("ab", ToStd(URLDecodeANSI_ShareAz("ab%+ cd")));
}

TEST(ShareAzDecodeTest, EscapeReadLikeScanfHex) {
    // Leading white space is skipped and a plus sign accepted.
    EXPECT_EQ("a\x0F", ToStd(URLDecodeANSI_ShareAz("a% f")));
    EXPECT_EQ("a\x0Fz", ToStd(URLDecodeANSI_ShareAz("a%+fz")));
    EXPECT_EQ("\xFF", ToStd(URLDecodeANSI_ShareAz("%fF")));
}

TEST(ShareAzDecodeTest, AllThreeNamesAgree) {
    for (const char* input : {"a+b%41", "%00abc", "ab%zzcd", "%4g", "%E4%B8%AD", "x% 1+", ""}) {
        const std::string expected = ToStd(URLDecodeANSI_ShareAz(input));
        EXPECT_EQ(expected, ToStd(URLDecodeUnicode_ShareAz(input))) << input;
        EXPECT_EQ(expected, ToStd(URLDecode_ShareAz(input))) << input;
    }
}

TEST(Utf8ShapeTest, CharLengthFollowsTheSequenceRules) {
    struct Case {
        const char* bytes;
        int expected;
    };
    const Case cases[] = {
        {"\xF0\x90\x80\x80", 4},
        {"\xF0\x80\x80\x80", -1},
        {"\xE0\x9F\x80", -1},
        {"\xE0\xA0\x80", 3},
        {"\xC1\x81", -1},
        {"\xF4\x90\x80\x80", 4},
        {"\xED\xA0\x80", 3},
        {"\xF7\xBF\xBF\xBF", 4},
        {"\xF8\x80\x80\x80", -1},
        {"\xC2\x80", 2},
        {"\xDF\xBF", 2},
        {"\xC0\x80", -1},
        {"\x80", -1},
        {"\x7F", 1},
        {"A", 1},
        {"", -1},
        {"\xE4\xB8", -1},
        {"\xF1\x80\x80", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, velmora::UTF8CharLength(c.bytes)) << testing::PrintToString(c.bytes);
    }
}

TEST(Utf8ShapeTest, TextNeedsAMultiByteSequenceAndNoBadOne) {
    EXPECT_FALSE(velmora::IsUTF8Text(""));
    EXPECT_FALSE(velmora::IsUTF8Text("plain ascii text that is longer than a word"));
    EXPECT_TRUE(velmora::IsUTF8Text(Bytes("abcdefghijklmnop" + kZhongUtf8)));
    EXPECT_FALSE(velmora::IsUTF8Text(Bytes("abcdefghijklmnop" + kZhongUtf8 + "\x80")));
    EXPECT_FALSE(velmora::IsUTF8Text(Bytes(kZhongGbk)));
    // Only the text before an embedded zero counts.
    EXPECT_FALSE(velmora::IsUTF8Text(Bytes(std::string("abcdefghij\0", 11) + kZhongUtf8)));
    EXPECT_TRUE(velmora::IsUTF8Text(Bytes(kZhongUtf8 + std::string("\0\xFF", 2))));
}

TEST(CodePageTest, Utf8ToGbConvertsOnlyWellFormedUtf8) {
    CString text = Bytes(kZhongUtf8 + "-" + kWenUtf8);
    UTF8ToGB(text);
    EXPECT_EQ(kZhongGbk + "-" + kWenGbk, ToStd(text));

    for (const std::string& untouched : {std::string(""), std::string("ascii only"), kZhongGbk,
                                         kZhongUtf8 + "\xC0\x80", std::string("\xE4\xB8")}) {
        CString same = Bytes(untouched);
        UTF8ToGB(same);
        EXPECT_EQ(untouched, ToStd(same));
    }
}

TEST(CodePageTest, Utf8ToGbLongMixedText) {
    std::string utf8;
    std::string gbk;
    for (int i = 0; i < 300; ++i) {
        utf8 += "path/segment-" + std::to_string(i) + kZhongUtf8 + kWenUtf8 + " ";
        gbk += "path/segment-" + std::to_string(i) + kZhongGbk + kWenGbk + " ";
    }
    CString text = Bytes(utf8);
    UTF8ToGB(text);
    EXPECT_EQ(gbk, ToStd(text));
    EXPECT_EQ(utf8, ToStd(GBKToUTF8(Bytes(gbk))));
}

TEST(CodePageTest, GbkToUtf8) {
    EXPECT_EQ(kZhongUtf8 + "a" + kWenUtf8, ToStd(GBKToUTF8(Bytes(kZhongGbk + "a" + kWenGbk))));
    EXPECT_EQ("plain", ToStd(GBKToUTF8("plain")));
    EXPECT_EQ("", ToStd(GBKToUTF8("")));
    EXPECT_EQ(kZhongUtf8, ToStd(GBKToUTF8(Bytes(kZhongGbk + std::string("\0x", 2)))));
}

TEST(CodePageTest, UrlEncodeGbkToUtf8EscapesOnlyHighBytes) {
    EXPECT_EQ("%E4%B8%AD", ToStd(UrlEncode_GBKToUTF8(Bytes(kZhongGbk))));
    EXPECT_EQ("a b/c", ToStd(UrlEncode_GBKToUTF8("a b/c")));
    EXPECT_EQ("%7F", ToStd(UrlEncode_GBKToUTF8("\x7F")));
    EXPECT_EQ("100%&x=\t", ToStd(UrlEncode_GBKToUTF8("100%&x=\t")));
    EXPECT_EQ("", ToStd(UrlEncode_GBKToUTF8("")));
}

}  // namespace
