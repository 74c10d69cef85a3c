#include <gtest/gtest.h>

#include <vector>

#include "app/runcmd/CommandText.h"
#include "gbk_text.h"

namespace {

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

TEST(CommandKeyPathTest, NameAndKeyPathBothWays) {
    const struct {
        const char16_t* typed;
        const char16_t* keyPath;
        const char16_t* command;
    } rows[] = {
        {u"edit2", u"edit2.exe", u"edit2"},
        {u" tools\\ed\r\n", u"tools\\ed.exe", u"tools\\ed"},
        // Blanks and doubled backslashes make the keys that typing the name makes.
        {u"tools \\\\ ed", u"tools\\ed.exe", u"tools\\ed"},
        // The name is data, never a format.
        {u"%s%n%d", u"%s%n%d.exe", u"%s%n%d"},
        {u"记事本", u"记事本.exe", u"记事本"},
        // Inside App Paths\NAME.exe a leading * or | is part of the name.
        {u"*x|", u"*x|.exe", u"*x|"},
        {u"\\|a\\ b ", u"|a\\b.exe", u"|a\\b"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(KeyPathOfCommand(row.typed), CStringW(row.keyPath)) << N(row.typed);
        EXPECT_EQ(CommandOfKeyPath(KeyPathOfCommand(row.typed)), CStringW(row.command)) << N(row.typed);
    }
}

}  // namespace
