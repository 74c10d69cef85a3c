// Long texts in the manager's narrow places: the columns that share a
// list's width, and paths shortened in the middle with the file name kept.
#include <gtest/gtest.h>

#include "app/ui/ColumnShare.h"
#include "app/ui/PathShortening.h"
#include "gbk_text.h"

namespace velmora::app {
namespace {

TEST(ColumnShareTest, LongTextColumnsTakeWhatTheOthersLeave) {
    // The manager's columns: 命令, 目标 (shares), 范围, 状态, 附加路径 (shares).
    const std::vector<bool> manager = {false, true, false, false, true};
    const struct {
        const char* what;
        std::vector<int> widths;
        std::vector<bool> shares;
        int available;
        std::vector<int> shared;
    } rows[] = {
        {"wider: in proportion", {120, 200, 60, 70, 130}, manager, 1000, {120, 454, 60, 70, 296}},
        {"as wide as now", {120, 200, 60, 70, 130}, manager, 580, {120, 200, 60, 70, 130}},
        {"narrower", {120, 200, 60, 70, 130}, manager, 415, {120, 100, 60, 70, 65}},
        {"the rounding goes to the last", {10, 10, 10}, {false, true, true}, 103, {10, 46, 47}},
        {"both zero: equal halves", {100, 0, 0}, {false, true, true}, 301, {100, 100, 101}},
        {"no room: the least width, the list scrolls", {120, 200, 60, 70, 130}, manager, 200,
         {120, 40, 60, 70, 40}},
        {"a reason column alone takes the rest", {80, 300, 120}, {false, false, true}, 900, {80, 300, 520}},
        {"no sharing column", {50, 60}, {false, false}, 900, {50, 60}},
        {"fewer share marks than columns", {50, 60, 70}, {true}, 200, {70, 60, 70}},
        {"a negative width counts as zero", {-5, 10}, {false, true}, 100, {0, 100}},
        {"no columns", {}, {}, 100, {}},
    };
    for (const auto& row : rows) EXPECT_EQ(ShareColumns(row.widths, row.shares, row.available, 40), row.shared) << row.what;
}

// One unit of width per UTF-16 unit: what fits is plain to count.
int Units(const CStringW& text) { return static_cast<int>(text.size()); }

TEST(PathShorteningTest, TheMiddleGoesTheFileNameStays) {
    const struct {
        const char* what;
        const char16_t* path;
        int width;
        const char16_t* shown;
    } rows[] = {
        {"fits", u"C:\\Tools\\ed.exe", 15, u"C:\\Tools\\ed.exe"},
        {"one short", u"C:\\Tools\\ed.exe", 14, u"C:\\Too\u2026\\ed.exe"},
        {"long folders", u"C:\\Tools\\bin\\very long folder name\\editor.exe", 24,
         u"C:\\Tools\\bin\u2026\\editor.exe"},
        {"only the file name fits", u"C:\\Tools\\bin\\editor.exe", 12, u"\u2026\\editor.exe"},
        {"not even that: the caller cuts the end", u"C:\\Tools\\bin\\editor.exe", 4, u"\u2026\\editor.exe"},
        {"no folder to leave out", u"editor.exe", 4, u"editor.exe"},
        {"a drive root", u"\\editor.exe", 4, u"\\editor.exe"},
        {"a network path", u"\\\\server\\share\\tools\\ed.exe", 16, u"\\\\server\u2026\\ed.exe"},
        {"a pair is never cut", u"C:\\\U0001F600\U0001F600\\a", 7, u"C:\\\u2026\\a"},
    };
    for (const auto& row : rows) EXPECT_EQ(ShortenPath(row.path, row.width, &Units), CStringW(row.shown)) << row.what;
}

TEST(PathShorteningTest, StatusMessagesKeepTheirWordsAndTheFileName) {
    const struct {
        const char* what;
        const char* message;
        int width;
        const char* shown;
    } rows[] = {
        {"an export", "已导出 6 个运行命令到：Z:\\tmp\\very long folder\\exports\\runs.reg", 30,
         "已导出 6 个运行命令到：Z:\\tmp\\…\\runs.reg"},
        {"a quoted path with words after", "“C:\\Program Files\\Some Vendor\\ed.exe”已不存在", 20,
         "“C:\\Pro…\\ed.exe”已不存在"},
        {"a network path", "已导入：\\\\server\\share\\deep\\a.reg", 20, "已导入：\\\\server\\…\\a.reg"},
        {"the last path of two", "“C:\\a\\b\\old.exe”改为“D:\\x\\y\\new.exe”", 31,
         "“C:\\a\\b\\old.exe”改为“D:…\\new.exe”"},
        {"no path: unchanged", "已将“abcdefghijklmnopqrstuvwxy”重命名为“z”", 10,
         "已将“abcdefghijklmnopqrstuvwxy”重命名为“z”"},
        {"a colon in words is no drive", "范围:本机", 2, "范围:本机"},
    };
    for (const auto& row : rows) EXPECT_EQ(N(FitMessageWidth(W(row.message), row.width, &Units)), row.shown) << row.what;
}

}  // namespace
}  // namespace velmora::app
