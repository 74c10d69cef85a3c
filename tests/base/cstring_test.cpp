#include "velmora/CString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

void ExpectInvalidArg(void (*action)()) {
    try {
        action();
        FAIL() << "no error raised";
    } catch (const CStringError& e) {
        EXPECT_EQ(e.GetHResult(), static_cast<std::int32_t>(0x80070057u));
    }
}

TEST(CString, ConstructionAndLength) {
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_STREQ(CString(nullptr).GetString(), "");
    EXPECT_EQ(CString("abc").GetLength(), 3);
    EXPECT_EQ(CString("abcdef", 2), "ab");
    EXPECT_EQ(CString('x', 3), "xxx");
    // Embedded zero bytes are part of the length.
    const CString withZero("a\0b", 3);
    EXPECT_EQ(withZero.GetLength(), 3);
    EXPECT_EQ(withZero.GetString()[3], '\0');
}

TEST(CString, MisuseRaisesInvalidArgument) {
    ExpectInvalidArg([] { CString s("abc", -1); });
    ExpectInvalidArg([] { CString s('a', -2); });
    ExpectInvalidArg([] { CString("abc").GetAt(3); });
    ExpectInvalidArg([] { CString("abc").GetAt(-1); });
    ExpectInvalidArg([] { CString s; s.GetBufferSetLength(-1); });
    ExpectInvalidArg([] { CString s; s.GetBuffer(-5); });
    ExpectInvalidArg([] {
        CString s;
        s.GetBuffer(4);
        s.ReleaseBuffer(5);
    });
    ExpectInvalidArg([] { CString s; s.Append("x", -1); });
}

TEST(CString, CopiesShareUntilWritten) {
    CString a("shared text");
    CString b = a;
    EXPECT_EQ(a.GetString(), b.GetString());
    b.SetAt(0, 'S');
    EXPECT_EQ(a, "shared text");
    EXPECT_EQ(b, "Shared text");
    CString c = a;
    c.GetBuffer()[1] = 'H';
    EXPECT_EQ(a, "shared text");
    EXPECT_EQ(c, "sHared text");
}

TEST(CString, SelfReferencingOperations) {
    CString s("abc");
    s += s;
    EXPECT_EQ(s, "abcabc");
    s.Append(s.GetString() + 3, 3);
    EXPECT_EQ(s, "abcabcabc");
    s = s.GetString() + 6;
    EXPECT_EQ(s, "abc");
    s.Format("%s-%s", s.GetString(), s.GetString());
    EXPECT_EQ(s, "abc-abc");
    s.Insert(1, s.GetString());
    EXPECT_EQ(s, "aabc-abcbc-abc");
}

TEST(CString, ConcatenationAndComparison) {
    const CString a("ab");
    EXPECT_EQ(a + "cd", "abcd");
    EXPECT_EQ("x" + a, "xab");
    EXPECT_EQ(a + 'c', "abc");
    EXPECT_EQ('c' + a, "cab");
    EXPECT_EQ(a + a, "abab");
    EXPECT_LT(CString("a"), CString("b"));
    EXPECT_GT(CString("b"), "a");
    EXPECT_LT(CString("a").Compare("ab"), 0);
    EXPECT_EQ(CString("ABC").CompareNoCase("abc"), 0);
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    EXPECT_NE(CString("abc"), "abd");
}

TEST(CString, FormatIncludingI64) {
    CString s;
    s.Format("%d|%s|%.1x", -5, "t", 11);
    EXPECT_EQ(s, "-5|t|b");
    s.Format("%I64u", 18446744073709551615ull);
    EXPECT_EQ(s, "18446744073709551615");
    s.Format("%I64d", -9223372036854775807ll - 1);
    EXPECT_EQ(s, "-9223372036854775808");
    s.Format("%%I64u=%I64u %5I64d", 7ull, 42ll);
    EXPECT_EQ(s, "%I64u=7    42");
    s.AppendFormat("[%02X]", 0xAB);
    EXPECT_EQ(s, "%I64u=7    42[AB]");
    // A long result is not cut at any internal size.
    s.Format("%s", std::string(5000, 'q').c_str());
    EXPECT_EQ(s.GetLength(), 5000);
}

TEST(CString, TrimVariants) {
    EXPECT_EQ(CString(" \t\r\n a b \v\f").Trim(), "a b");
    EXPECT_EQ(CString("xxaxx").Trim('x'), "a");
    EXPECT_EQ(CString("xxaxx").TrimLeft('x'), "axx");
    EXPECT_EQ(CString("xxaxx").TrimRight('x'), "xxa");
    EXPECT_EQ(CString("\\ /a\\b/ \\").Trim(" \\/"), "a\\b");
    EXPECT_EQ(CString("   ").Trim(), "");
    EXPECT_EQ(CString("").TrimRight("abc"), "");
}

TEST(CString, Substrings) {
    const CString s("hello");
    EXPECT_EQ(s.Left(2), "he");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Left(99), "hello");
    EXPECT_EQ(s.Right(3), "llo");
    EXPECT_EQ(s.Right(99), "hello");
    EXPECT_EQ(s.Mid(1), "ello");
    EXPECT_EQ(s.Mid(1, 2), "el");
    EXPECT_EQ(s.Mid(4, 10), "o");
    EXPECT_EQ(s.Mid(9), "");
    EXPECT_EQ(s.Mid(-3, 2), "he");
}

TEST(CString, SearchAndEdit) {
    CString s("a.b.c");
    EXPECT_EQ(s.Find('.'), 1);
    EXPECT_EQ(s.Find('.', 2), 3);
    EXPECT_EQ(s.Find('z'), -1);
    EXPECT_EQ(s.Find(".c"), 3);
    EXPECT_EQ(s.Find(""), 0);
    EXPECT_EQ(s.ReverseFind('.'), 3);
    EXPECT_EQ(s.ReverseFind("a."), 0);
    EXPECT_EQ(s.Replace('.', '/'), 2);
    EXPECT_EQ(s, "a/b/c");
    EXPECT_EQ(s.Replace("/", "::"), 2);
    EXPECT_EQ(s, "a::b::c");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Remove(':'), 4);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(s.Delete(1), 2);
    EXPECT_EQ(s, "ac");
    EXPECT_EQ(s.Delete(1, 50), 1);
    EXPECT_EQ(s.Delete(5, 1), 1);
    EXPECT_EQ(s.Insert(99, "yz"), 3);
    EXPECT_EQ(s, "ayz");
    EXPECT_EQ(s.Insert(0, '<'), 4);
    EXPECT_EQ(s, "<ayz");
    EXPECT_EQ(CString("MiXeD 09").MakeLower(), "mixed 09");
    EXPECT_EQ(CString("MiXeD").MakeUpper(), "MIXED");
}

TEST(CString, BufferAccess) {
    CString s;
    char* p = s.GetBuffer(10);
    std::strcpy(p, "written");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "written");
    EXPECT_EQ(s.GetLength(), 7);
    p = s.GetBufferSetLength(3);
    EXPECT_EQ(std::string(p, 3), "wri");
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, "wr");
    CString empty;
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(CString, GrowsLinearlyByAppending) {
    CString s;
    for (int i = 0; i < 100000; ++i) s += static_cast<char>('a' + i % 26);
    EXPECT_EQ(s.GetLength(), 100000);
    EXPECT_EQ(s[99999], static_cast<char>('a' + 99999 % 26));
}

TEST(CString, ReferenceCountsAreSafeAcrossThreads) {
    const CString shared("shared between threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared] {
            for (int i = 0; i < 20000; ++i) {
                CString copy = shared;
                CString other(copy);
                other = copy;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(shared, "shared between threads");
}

}  // namespace
