// The multi-byte rules of CString: a double-byte character is never split.
// "\xD5\x5C" and "\xD5\x7C" are GBK characters whose second byte is a
// backslash or a vertical bar.
#include <gtest/gtest.h>

#include "base/mbcs.h"
#include "velmora/CString.h"

namespace {

const char kBackslashTrail[] = "\xD5\x5C";  // one GBK character
const char kBarTrail[] = "\xD5\x7C";        // one GBK character

TEST(CStringMbcs, FindSkipsTrailBytes) {
    const CString path = CString("C:\\") + kBackslashTrail + "x";
    EXPECT_EQ(path.Find('\\'), 2);
    EXPECT_EQ(path.Find('\\', 3), -1);
    EXPECT_EQ(path.ReverseFind('\\'), 2);
    EXPECT_EQ(CString(kBarTrail).Find('|'), -1);
    EXPECT_EQ(CString(kBarTrail).Find("|"), -1);
    EXPECT_EQ(CString(kBarTrail).ReverseFind('|'), -1);
    // A substring that starts on a trail byte does not match.
    EXPECT_EQ(CString("\xD5\x41"
                      "B")
                  .Find("AB"),
              -1);
    EXPECT_EQ(CString("A\xD5\x41"
                      "AB")
                  .Find("AB"),
              3);
}

TEST(CStringMbcs, TrimNeverSplitsACharacter) {
    CString s = CString(kBackslashTrail) + "\\";
    s.TrimRight('\\');
    EXPECT_EQ(s, kBackslashTrail);
    s = kBackslashTrail;
    s.TrimRight("\\ ");
    EXPECT_EQ(s, kBackslashTrail);
    s = CString(kBarTrail) + "||";
    s.Trim('|');
    EXPECT_EQ(s, kBarTrail);
    s = CString("\\") + kBackslashTrail;
    s.TrimLeft("\\");
    EXPECT_EQ(s, kBackslashTrail);
}

TEST(CStringMbcs, ReplaceAndRemoveAtCharacterBoundaries) {
    CString s = CString(kBackslashTrail) + "\\";
    EXPECT_EQ(s.Replace('\\', '/'), 1);
    EXPECT_EQ(s, CString(kBackslashTrail) + "/");
    s = CString(kBarTrail) + "|";
    EXPECT_EQ(s.Remove('|'), 1);
    EXPECT_EQ(s, kBarTrail);
}

TEST(CStringMbcs, CaseFoldingLeavesDoubleByteCharactersAlone) {
    // 0xD6 0x41 has an 'A' as trail byte.
    CString s(
        "\xD6\x41"
        "AB");
    s.MakeLower();
    EXPECT_EQ(s,
              "\xD6\x41"
              "ab");
    EXPECT_NE(CString("\xD6\x41").CompareNoCase("\xD6\x61"), 0);
    EXPECT_EQ(CString("\xD6\xD0X").CompareNoCase("\xD6\xD0x"), 0);
}

TEST(CStringMbcs, GbkLiteralsAreCompiledAsGbk) {
    // Source files are UTF-8, narrow literals are GBK.
    EXPECT_EQ(CString("中"), "\xD6\xD0");
}

}  // namespace

namespace {

TEST(FittingLengthTest, NeverCutsADoubleByteCharacter) {
    const char text[] =
        "ab\xD5\x5C"
        "c\xD6\xD0";  // a b 1 char c 1 char: 7 bytes
    const struct {
        int maxBytes;
        int fits;
    } cases[] = {{-1, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 4}, {5, 5}, {6, 5}, {7, 7}, {100, 7}};
    for (const auto& c : cases) EXPECT_EQ(velmora::FittingLength(text, 7, c.maxBytes), c.fits) << c.maxBytes;
    // A lead byte at the very end counts as one byte.
    EXPECT_EQ(velmora::FittingLength("a\xD5", 2, 1), 1);
    EXPECT_EQ(velmora::FittingLength("a\xD5", 2, 2), 2);
    EXPECT_EQ(velmora::FittingLength("", 0, 5), 0);
}

}  // namespace
