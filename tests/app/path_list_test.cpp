// The Path value as a list of folders: splitting what other tools wrote,
// joining it back, editing the list and marking missing folders.
#include <gtest/gtest.h>

#include <vector>

#include "app/runcmd/PathList.h"
#include "gbk_text.h"

namespace {

using List = std::vector<CStringW>;

TEST(PathListTest, SplitAndJoin) {
    const struct {
        const char* what;
        const char16_t* value;
        List folders;
        const char16_t* joined;
    } rows[] = {
        {"empty", u"", {}, u""},
        {"semicolons only", u";; ;", {}, u""},
        {"one", u"C:\\A", {u"C:\\A"}, u"C:\\A"},
        {"blanks and empty items", u" C:\\A ;;\tD:\\B\\ ;", {u"C:\\A", u"D:\\B\\"}, u"C:\\A;D:\\B\\"},
        {"variables", u"%SystemRoot%;%X%\\bin", {u"%SystemRoot%", u"%X%\\bin"}, u"%SystemRoot%;%X%\\bin"},
        {"a quoted semicolon", u"\"C:\\a;b\";D:\\", {u"C:\\a;b", u"D:\\"}, u"\"C:\\a;b\";D:\\"},
        {"an unclosed quote runs to the end", u"\"C:\\a;b", {u"C:\\a;b"}, u"\"C:\\a;b\""},
        {"quotes that need none", u" \"C:\\Program Files\" ;", {u"C:\\Program Files"}, u"C:\\Program Files"},
        {"blanks inside a folder stay", u"C:\\Program Files\\x", {u"C:\\Program Files\\x"}, u"C:\\Program Files\\x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(SplitPathList(row.value), row.folders);
        EXPECT_EQ(JoinPathList(row.folders), CStringW(row.joined));
        // The entries as written join back into the very text.
        const std::vector<CStringW> entries = PathListEntries(row.value);
        CStringW rejoined = entries.front();
        for (std::size_t i = 1; i < entries.size(); ++i) rejoined += u";" + entries[i];
        EXPECT_EQ(rejoined, CStringW(row.value));
    }
    // A folder holding a semicolon is quoted so that it splits back whole.
    EXPECT_EQ(JoinPathList({u"C:\\a;b", u" ", u"D:\\"}), u"\"C:\\a;b\";D:\\");
    EXPECT_EQ(SplitPathList(JoinPathList({u"C:\\a;b"})), (List{u"C:\\a;b"}));
}

// The editor writes nothing when the list it gives back is the one stored,
// however the stored text spells it.
TEST(PathListTest, SameListAsStored) {
    const struct {
        const char* what;
        const char16_t* stored;
        List folders;
        bool same;
    } rows[] = {
        {"nothing and nothing", u"", {}, true},
        {"a trailing semicolon", u"C:\\Program Files\\Internet Explorer;", {u"C:\\Program Files\\Internet Explorer"},
         true},
        {"spacing, quotes and empty items", u" \"C:\\a;b\" ;; D:\\B ", {u"C:\\a;b", u"D:\\B"}, true},
        {"blank edited items do not count", u"C:\\A", {u" ", u"C:\\A", u""}, true},
        {"edited blanks at the ends", u"C:\\A", {u" C:\\A\t"}, true},
        {"one removed", u"C:\\A;D:\\B", {u"C:\\A"}, false},
        {"one added", u"C:\\A", {u"C:\\A", u"D:\\B"}, false},
        {"all removed", u"C:\\A;", {}, false},
        {"moved", u"C:\\A;D:\\B", {u"D:\\B", u"C:\\A"}, false},
        {"letter case is a change", u"C:\\A", {u"c:\\a"}, false},
        {"a trailing backslash is a change", u"C:\\A", {u"C:\\A\\"}, false},
    };
    for (const auto& row : rows) EXPECT_EQ(SamePathList(row.stored, row.folders), row.same) << row.what;
}

TEST(PathListTest, EnvironmentVariables) {
    const struct {
        const char16_t* text;
        bool holds;
    } rows[] = {{u"%A%", true},   {u"x%Path%y", true}, {u"%%", false}, {u"100%", false},
                {u"a%b", false},  {u"", false},        {u"%a%%", true}, {u"C:\\x", false}};
    for (const auto& row : rows) EXPECT_EQ(HoldsEnvironmentVariable(row.text), row.holds) << N(row.text);
}

TEST(PathListTest, AddRemoveAndMove) {
    List folders = {u"C:\\A", u"D:\\B"};
    EXPECT_FALSE(AddPathFolder(folders, u"  "));
    EXPECT_FALSE(AddPathFolder(folders, u"c:\\a\\"));  // the same folder
    EXPECT_FALSE(AddPathFolder(folders, u"\"D:\\B\""));
    EXPECT_TRUE(AddPathFolder(folders, u" \"F:\\x;y\" "));  // kept as shown: quotes are added on writing
    EXPECT_EQ(folders.back(), u"F:\\x;y");
    folders.pop_back();
    EXPECT_TRUE(AddPathFolder(folders, u" E:\\ "));
    EXPECT_TRUE(AddPathFolder(folders, u"e:"));  // "E:\" and "E:" differ: the drive root and its current folder
    EXPECT_EQ(folders, (List{u"C:\\A", u"D:\\B", u"E:\\", u"e:"}));

    EXPECT_FALSE(MovePathFolderUp(folders, 0));
    EXPECT_FALSE(MovePathFolderDown(folders, 3));
    EXPECT_FALSE(MovePathFolderUp(folders, 9));
    EXPECT_FALSE(MovePathFolderDown(folders, 9));
    EXPECT_TRUE(MovePathFolderUp(folders, 2));
    EXPECT_EQ(folders, (List{u"C:\\A", u"E:\\", u"D:\\B", u"e:"}));
    EXPECT_TRUE(MovePathFolderDown(folders, 0));
    EXPECT_EQ(folders, (List{u"E:\\", u"C:\\A", u"D:\\B", u"e:"}));

    EXPECT_FALSE(RemovePathFolder(folders, 4));
    EXPECT_TRUE(RemovePathFolder(folders, 1));
    EXPECT_EQ(folders, (List{u"E:\\", u"D:\\B", u"e:"}));
}

TEST(PathListTest, SameFolder) {
    EXPECT_TRUE(SameFolder(u"C:\\A\\", u"c:\\a"));
    EXPECT_TRUE(SameFolder(u"\"C:\\A\"", u" C:\\A\\\\ "));
    EXPECT_TRUE(SameFolder(u"C:\\", u"c:\\"));
    EXPECT_FALSE(SameFolder(u"C:\\", u"C:"));
    EXPECT_FALSE(SameFolder(u"C:\\A", u"C:\\AB"));
    EXPECT_FALSE(SameFolder(u"C:\\\u00C4", u"C:\\\u00E4"));  // only ASCII letters fold
}

TEST(PathListTest, MissingFoldersAreMarkedWithOneCheckEach) {
    List asked;
    const std::vector<PathFolder> marked =
        MarkPathFolders({u"C:\\A", u"\"D:\\B\"", u"%X%"}, [&](const CStringW& folder) {
            asked.push_back(folder);
            return folder != u"D:\\B";
        });
    EXPECT_EQ(asked, (List{u"C:\\A", u"D:\\B", u"%X%"}));
    ASSERT_EQ(marked.size(), 3u);
    EXPECT_FALSE(marked[0].missing);
    EXPECT_TRUE(marked[1].missing);
    EXPECT_EQ(marked[1].folder, u"\"D:\\B\"");
    EXPECT_FALSE(marked[2].missing);
}

}  // namespace
