#include <gtest/gtest.h>

#include <vector>

#include "app/runcmd/CommandText.h"
#include "gbk_text.h"

namespace {

std::vector<CStringW> Split(const char16_t* source, const char16_t* separators, bool trim) {
    std::vector<CStringW> pieces;
    SplitString(source, separators, pieces, trim);
    return pieces;
}

std::vector<CStringW> Pieces(std::initializer_list<const char16_t*> texts) {
    std::vector<CStringW> pieces;
    for (const char16_t* text : texts) pieces.emplace_back(text);
    return pieces;
}

TEST(GetFileTitleFromPathTest, NameBetweenLastBackslashAndLastFullStop) {
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\Tools\\my.app.EXE", "my.app"},
        {"C:\\Data\\report.txt", "report"},
        {"C:\\Tools\\ed.exe", "ed"},
        {"\\\\server\\share\\tool.exe", "tool"},
        // A full stop only in a directory name: no title.
        {"C:\\app.data\\tool", ""},
        // No extension at all.
        {"C:\\Tools\\tool", ""},
        // No backslash, or only one at the very start.
        {"tool.exe", ""},
        {"\\tool.exe", ""},
        // Nothing between the separator and the extension.
        {"C:\\Tools\\.exe", ""},
        {"", ""},
        // GBK names: the title keeps its double-byte characters whole.
        {"C:\\测试\\程序.exe", "程序"},
        // 0x81 0x5C is one GBK character whose second byte looks like a
        // backslash; it is not a separator.
        {"C:\\dir\\a\x81\x5C"
         "b.exe",
         "a\x81\x5C"
         "b"},
    };
    for (const auto& c : cases) EXPECT_EQ(GetFileTitleFromPath(W(c.path)), W(c.title)) << c.path;
}

TEST(HasExeExtensionTest, LastFourBytesInAnyCase) {
    EXPECT_TRUE(HasExeExtension(u"C:\\Tools\\my.app.EXE"));
    EXPECT_TRUE(HasExeExtension(u"C:\\a.exe"));
    EXPECT_TRUE(HasExeExtension(u"C:\\a.ExE"));
    EXPECT_TRUE(HasExeExtension(u".exe"));
    EXPECT_TRUE(HasExeExtension(u"C:\\程序.exe"));
    EXPECT_FALSE(HasExeExtension(u"C:\\Data\\report.txt"));
    EXPECT_FALSE(HasExeExtension(u"C:\\a.exe "));
    EXPECT_FALSE(HasExeExtension(u"C:\\a.exes"));
    EXPECT_FALSE(HasExeExtension(u"C:\\aexe"));
    EXPECT_FALSE(HasExeExtension(u"exe"));
    EXPECT_FALSE(HasExeExtension(u""));
}

TEST(CommandNameTest, TrimsOnlyTheFourBlankCharactersAtTheEnds) {
    EXPECT_EQ(TrimCommandName(u"  edit2  "), CStringW(u"edit2"));
    EXPECT_EQ(TrimCommandName(u"\t\r\nedit2\r\n\t "), CStringW(u"edit2"));
    EXPECT_EQ(TrimCommandName(u"my tool"), CStringW(u"my tool"));
    EXPECT_EQ(TrimCommandName(u" \t \t "), CStringW());
    EXPECT_EQ(TrimCommandName(u""), CStringW());
    // Vertical tab and form feed are not blanks of a command name.
    EXPECT_EQ(TrimCommandName(u"\vname\f"), CStringW(u"\vname\f"));
    EXPECT_EQ(TrimCommandName(u" 记事本 "), CStringW(u"记事本"));
}

TEST(CommandKeyPathTest, NameGoesIntoAppPathsUnchanged) {
    EXPECT_EQ(BuildCommandKeyPath(u"edit2"),
              CStringW(u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\edit2.exe"));
    EXPECT_EQ(BuildCommandKeyPath(u"tools\\ed"),
              CStringW(u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tools\\ed.exe"));
    // The name is data, never a format.
    EXPECT_EQ(BuildCommandKeyPath(u"%s%n%d"),
              CStringW(u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\%s%n%d.exe"));
    EXPECT_EQ(CStringW(kAppPathsRunKey), BuildCommandKeyPath(u"run"));
}

TEST(SplitStringTest, RunsOfSeparatorsCountAsOne) {
    EXPECT_EQ(Split(u"A\\\\B\\", u"\\", true), Pieces({u"A", u"B"}));
    EXPECT_EQ(Split(u"\\\\A\\B", u"\\", false), Pieces({u"A", u"B"}));
    EXPECT_EQ(Split(u"a,b;;c", u",;", false), Pieces({u"a", u"b", u"c"}));
    EXPECT_EQ(Split(u"", u"\\", true), Pieces({}));
    EXPECT_EQ(Split(u"\\\\\\", u"\\", true), Pieces({}));
    EXPECT_EQ(Split(u"abc", u"", true), Pieces({u"abc"}));
    EXPECT_EQ(Split(u"abc", nullptr, false), Pieces({u"abc"}));
}

TEST(SplitStringTest, TrimFlagTrimsSourceAndPieces) {
    // The source loses " |*\r\n\t" at its ends, each piece " \r\n\t".
    EXPECT_EQ(Split(u" |*a | b *|\t", u"\\", true), Pieces({u"a | b"}));
    EXPECT_EQ(Split(u" a \\ b \\  \\c", u"\\", true), Pieces({u"a", u"b", u"c"}));
    EXPECT_EQ(Split(u" a \\ b ", u"\\", false), Pieces({u" a ", u" b "}));
    // A piece of blanks only disappears with trimming, stays without.
    EXPECT_EQ(Split(u"a\\ \t \\b", u"\\", true), Pieces({u"a", u"b"}));
    EXPECT_EQ(Split(u"a\\ \\b", u"\\", false), Pieces({u"a", u" ", u"b"}));
}

TEST(SplitStringTest, AppendsToWhatTheArrayHeld) {
    std::vector<CStringW> pieces = Pieces({u"kept"});
    SplitString(u"x\\y", u"\\", pieces, true);
    EXPECT_EQ(pieces, Pieces({u"kept", u"x", u"y"}));
}

TEST(SplitStringTest, NoOtherCharacterIsTakenForASeparator) {
    // U+4E5C and U+1F65C (a surrogate pair) have 0x5C, a backslash's value,
    // in a byte of their code units.
    EXPECT_EQ(Split(u"a\u4E5Cb\\c\U0001F65C", u"\\", true), Pieces({u"a\u4E5Cb", u"c\U0001F65C"}));
    EXPECT_EQ(Split(u"工具\\编辑", u"\\", true), Pieces({u"工具", u"编辑"}));
    // An unpaired surrogate is a character of the name like any other.
    EXPECT_EQ(Split(u"x\xD800\\y", u"\\", true), Pieces({u"x\xD800", u"y"}));
}

TEST(SplitKeyPathTest, KeyNamesAlongThePath) {
    EXPECT_EQ(SplitKeyPath(u" \\SOFTWARE\\X\\\\tools\\ed.exe\\ "),
              Pieces({u"SOFTWARE", u"X", u"tools", u"ed.exe"}));
    EXPECT_EQ(SplitKeyPath(BuildCommandKeyPath(u"tools\\\\ed")),
              Pieces({u"SOFTWARE", u"Microsoft", u"Windows", u"CurrentVersion", u"App Paths", u"tools",
                      u"ed.exe"}));
    EXPECT_EQ(SplitKeyPath(u" \\ "), Pieces({}));
}

}  // namespace
