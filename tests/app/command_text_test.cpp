#include <gtest/gtest.h>

#include <vector>

#include "app/CommandText.h"

namespace {

std::vector<CString> Split(const char* source, const char* separators, bool trim) {
    std::vector<CString> pieces;
    SplitString(source, separators, pieces, trim);
    return pieces;
}

std::vector<CString> Pieces(std::initializer_list<const char*> texts) {
    std::vector<CString> pieces;
    for (const char* text : texts) pieces.emplace_back(text);
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
    for (const auto& c : cases) EXPECT_EQ(GetFileTitleFromPath(c.path), CString(c.title)) << c.path;
    EXPECT_EQ(GetFileTitleFromPath(nullptr), CString());
}

TEST(HasExeExtensionTest, LastFourBytesInAnyCase) {
    EXPECT_TRUE(HasExeExtension("C:\\Tools\\my.app.EXE"));
    EXPECT_TRUE(HasExeExtension("C:\\a.exe"));
    EXPECT_TRUE(HasExeExtension("C:\\a.ExE"));
    EXPECT_TRUE(HasExeExtension(".exe"));
    EXPECT_TRUE(HasExeExtension("C:\\程序.exe"));
    EXPECT_FALSE(HasExeExtension("C:\\Data\\report.txt"));
    EXPECT_FALSE(HasExeExtension("C:\\a.exe "));
    EXPECT_FALSE(HasExeExtension("C:\\a.exes"));
    EXPECT_FALSE(HasExeExtension("C:\\aexe"));
    EXPECT_FALSE(HasExeExtension("exe"));
    EXPECT_FALSE(HasExeExtension(""));
}

TEST(CommandNameTest, TrimsOnlyTheFourBlankCharactersAtTheEnds) {
    EXPECT_EQ(TrimCommandName("  edit2  "), CString("edit2"));
    EXPECT_EQ(TrimCommandName("\t\r\nedit2\r\n\t "), CString("edit2"));
    EXPECT_EQ(TrimCommandName("my tool"), CString("my tool"));
    EXPECT_EQ(TrimCommandName(" \t \t "), CString());
    EXPECT_EQ(TrimCommandName(""), CString());
    // Vertical tab and form feed are not blanks of a command name.
    EXPECT_EQ(TrimCommandName("\vname\f"), CString("\vname\f"));
    EXPECT_EQ(TrimCommandName(" 记事本 "), CString("记事本"));
}

TEST(CommandKeyPathTest, NameGoesIntoAppPathsUnchanged) {
    EXPECT_EQ(BuildCommandKeyPath("edit2"),
              CString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\edit2.exe"));
    EXPECT_EQ(BuildCommandKeyPath("tools\\ed"),
              CString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tools\\ed.exe"));
    // The name is data, never a format.
    EXPECT_EQ(BuildCommandKeyPath("%s%n%d"),
              CString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\%s%n%d.exe"));
    EXPECT_EQ(CString(kAppPathsRunKey), BuildCommandKeyPath("run"));
}

TEST(SplitStringTest, RunsOfSeparatorsCountAsOne) {
    EXPECT_EQ(Split("A\\\\B\\", "\\", true), Pieces({"A", "B"}));
    EXPECT_EQ(Split("\\\\A\\B", "\\", false), Pieces({"A", "B"}));
    EXPECT_EQ(Split("a,b;;c", ",;", false), Pieces({"a", "b", "c"}));
    EXPECT_EQ(Split("", "\\", true), Pieces({}));
    EXPECT_EQ(Split("\\\\\\", "\\", true), Pieces({}));
    EXPECT_EQ(Split("abc", "", true), Pieces({"abc"}));
    EXPECT_EQ(Split("abc", nullptr, false), Pieces({"abc"}));
}

TEST(SplitStringTest, TrimFlagTrimsSourceAndPieces) {
    // The source loses " |*\r\n\t" at its ends, each piece " \r\n\t".
    EXPECT_EQ(Split(" |*a | b *|\t", "\\", true), Pieces({"a | b"}));
    EXPECT_EQ(Split(" a \\ b \\  \\c", "\\", true), Pieces({"a", "b", "c"}));
    EXPECT_EQ(Split(" a \\ b ", "\\", false), Pieces({" a ", " b "}));
    // A piece of blanks only disappears with trimming, stays without.
    EXPECT_EQ(Split("a\\ \t \\b", "\\", true), Pieces({"a", "b"}));
    EXPECT_EQ(Split("a\\ \\b", "\\", false), Pieces({"a", " ", "b"}));
}

TEST(SplitStringTest, AppendsToWhatTheArrayHeld) {
    std::vector<CString> pieces = Pieces({"kept"});
    SplitString("x\\y", "\\", pieces, true);
    EXPECT_EQ(pieces, Pieces({"kept", "x", "y"}));
}

TEST(SplitStringTest, DoubleByteCharactersAreNeverSplit) {
    EXPECT_EQ(Split("a\x81\x5C"
                    "b\\c",
                    "\\", true),
              Pieces({"a\x81\x5C"
                      "b",
                      "c"}));
    EXPECT_EQ(Split("工具\\编辑", "\\", true), Pieces({"工具", "编辑"}));
}

TEST(SplitKeyPathTest, KeyNamesAlongThePath) {
    EXPECT_EQ(SplitKeyPath(" \\SOFTWARE\\X\\\\tools\\ed.exe\\ "),
              Pieces({"SOFTWARE", "X", "tools", "ed.exe"}));
    EXPECT_EQ(SplitKeyPath(BuildCommandKeyPath("tools\\\\ed")),
              Pieces({"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "App Paths", "tools", "ed.exe"}));
    EXPECT_EQ(SplitKeyPath(" \\ "), Pieces({}));
}

}  // namespace
