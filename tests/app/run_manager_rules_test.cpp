// The manager's rules that need no window: the order of each column, the
// texts it shows and asks, the replace rule of registration, the list model
// that maps its rows to entries, and the layout of its controls.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/runcmd/ReplaceCheck.h"
#include "app/runcmd/CommandText.h"
#include "app/text/QuestionText.h"
#include "app/runcmd/RunCommandRegistration.h"
#include "app/runcmd/RunEntryFilter.h"
#include "app/runcmd/RunEntrySort.h"
#include "app/ui/RunListModel.h"
#include "app/ui/RunManagerLayout.h"
#include "app/platform/ExplorerArguments.h"
#include "app/text/OutcomeText.h"
#include "app/text/ViewText.h"
#include "app/text/ExplorerText.h"
#include "base/language.h"
#include "memory_registry.h"
#include "gbk_text.h"

namespace {

// A journal of its own for one step: the step puts it back when it fails.
ChangeJournal& Fresh(ChangeJournal&& journal) { return journal; }

RunEntry Entry(const char* command, const char* target, RunScope scope, bool broken = false,
               bool shadowed = false, const char* path = "") {
    RunEntry e;
    e.path = W(path);
    e.command = W(command);
    e.keyPath = W(command) + u".exe";
    e.target = W(target);
    e.scope = scope;
    e.broken = broken;
    e.shadowed = shadowed;
    return e;
}

std::string Order(const std::vector<RunEntry>& entries) {
    std::string out;
    for (const RunEntry& e : entries) {
        if (!out.empty()) out += ' ';
        out += N(e.command);
        out += e.scope == RunScope::kCurrentUser ? "/u" : "/m";
    }
    return out;
}

TEST(SortRunEntriesTest, EachColumnBothWays) {
    const RunScope m = RunScope::kLocalMachine;
    const RunScope u = RunScope::kCurrentUser;
    const std::vector<RunEntry> input = {
        Entry("中文", "C:\\b.exe", m, false, false, "D:\\Lib"),
        Entry("Beta", "c:\\a.exe", u, true, false, "c:\\lib;%SystemRoot%"),
        Entry("alpha", "C:\\c.exe", m, false, true),
        Entry("beta", "C:\\A.exe", m, true, true, "C:\\Lib"),
        Entry("alpha", "D:\\d.exe", u),
    };
    const struct {
        RunColumn column;
        bool ascending;
        const char* order;
    } cases[] = {
        {RunColumn::kCommand, true, "alpha/m alpha/u Beta/u beta/m 中文/m"},
        {RunColumn::kCommand, false, "中文/m beta/m Beta/u alpha/m alpha/u"},
        {RunColumn::kTarget, true, "beta/m Beta/u 中文/m alpha/m alpha/u"},
        {RunColumn::kTarget, false, "alpha/u alpha/m 中文/m Beta/u beta/m"},
        {RunColumn::kScope, true, "alpha/m beta/m 中文/m alpha/u Beta/u"},
        {RunColumn::kScope, false, "alpha/u Beta/u alpha/m beta/m 中文/m"},
        {RunColumn::kState, true, "alpha/u 中文/m alpha/m Beta/u beta/m"},
        {RunColumn::kState, false, "beta/m Beta/u alpha/m alpha/u 中文/m"},
        // No Path value sorts first; C:\Lib and c:\lib;... by their letters.
        {RunColumn::kPath, true, "alpha/m alpha/u beta/m Beta/u 中文/m"},
        {RunColumn::kPath, false, "中文/m Beta/u beta/m alpha/m alpha/u"},
    };
    for (const auto& c : cases) {
        std::vector<RunEntry> entries = input;
        SortRunEntries(entries, c.column, c.ascending);
        EXPECT_EQ(Order(entries), c.order) << static_cast<int>(c.column) << (c.ascending ? " up" : " down");
        // The same result from any starting order.
        std::vector<RunEntry> reversed(input.rbegin(), input.rend());
        SortRunEntries(reversed, c.column, c.ascending);
        EXPECT_EQ(Order(reversed), c.order);
        // The list model's rows, in the order of the listing it holds.
        velmora::app::RunListModel model;
        model.SetListing(reversed, 0, false);
        model.Sort({c.column, c.ascending});
        EXPECT_EQ(Order(model.ShownEntries()), c.order);
    }
}

TEST(SortRunEntriesTest, AHeaderClickTurnsTheOrderOrStartsAscending) {
    RunSortOrder order;
    order = SortOrderAfterClick(order, RunColumn::kCommand);
    EXPECT_EQ(order, (RunSortOrder{RunColumn::kCommand, false}));
    order = SortOrderAfterClick(order, RunColumn::kTarget);
    EXPECT_EQ(order, (RunSortOrder{RunColumn::kTarget, true}));
    order = SortOrderAfterClick(order, RunColumn::kTarget);
    EXPECT_EQ(order, (RunSortOrder{RunColumn::kTarget, false}));
}

TEST(SortRunEntriesTest, TypeAheadFindsTheNextCommandWithThePrefix) {
    std::vector<RunEntry> entries;
    for (const char* command : {"alpha", "Beta", "beta2", "中文", "中国"})
        entries.push_back(Entry(command, "", RunScope::kLocalMachine));
    const struct {
        const char* prefix;
        int start;
        int found;
    } cases[] = {
        {"b", 0, 1},    {"B", 2, 2},  {"be", 3, 1}, {"beta2", 0, 2}, {"中", 0, 3},
        {"中国", 0, 4}, {"x", 0, -1}, {"", 0, -1},  {"a", 99, 0},    {"a", -5, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindCommandByPrefix(entries, W(c.prefix), c.start), c.found)
            << c.prefix << " from " << c.start;
    EXPECT_EQ(FindCommandByPrefix({}, u"a", 0), -1);
}

TEST(RunManagerTextTest, CellsMarksAndStatusLines) {
    const RunEntry both = Entry("ed", "C:\\ed.exe", RunScope::kLocalMachine, true, true);
    EXPECT_EQ(CellText(both, RunColumn::kCommand), CStringW(u"ed"));
    EXPECT_EQ(CellText(both, RunColumn::kTarget), CStringW(u"C:\\ed.exe"));
    EXPECT_EQ(CellText(both, RunColumn::kScope), CStringW(u"本机"));
    EXPECT_EQ(CellText(both, RunColumn::kState), CStringW(u"失效、被覆盖"));
    EXPECT_EQ(CellText(Entry("a", "", RunScope::kCurrentUser, false, false, "%X%;C:\\Y"), RunColumn::kPath),
              CStringW(u"%X%;C:\\Y"));
    EXPECT_STREQ(ColumnHeading(RunColumn::kPath), "附加路径");
    EXPECT_EQ(StateText(Entry("a", "", RunScope::kCurrentUser, true)), CStringW(u"失效"));
    EXPECT_EQ(StateText(Entry("a", "", RunScope::kLocalMachine, false, true)), CStringW(u"被覆盖"));
    EXPECT_EQ(StateText(Entry("a", "", RunScope::kCurrentUser)), CStringW());
    EXPECT_STREQ(ScopeText(RunScope::kCurrentUser), "当前用户");

    const std::vector<RunEntry> listed = {both, Entry("b", "x", RunScope::kCurrentUser, true),
                                          Entry("c", "y", RunScope::kCurrentUser)};
    EXPECT_EQ(ListingStatusText(listed, 0), CStringW(u"共 3 个运行命令，2 个失效，1 个被覆盖"));
    EXPECT_EQ(ListingStatusText({}, 2), CStringW(u"共 0 个运行命令，2 项无法读取"));

    const struct {
        const char* verb;
        BatchOutcome outcome;
        const char* text;
    } batches[] = {
        {"删除", {3, 0, u"", u""}, "已删除 3 个运行命令"},
        {"删除", {0, 1, u"tools\\ed", u"拒绝访问。"}, "未能删除“tools\\ed”：拒绝访问。"},
        {"删除", {2, 3, u"ed", u"拒绝访问。"}, "已删除 2 个，3 个未能删除；“ed”：拒绝访问。"},
        {"启动", {1, 0, u"", u""}, "已启动 1 个运行命令"},
        {"启动", {0, 1, u"ed", u"找不到文件。"}, "未能启动“ed”：找不到文件。"},
    };
    for (const auto& b : batches) EXPECT_EQ(BatchStatusText(b.verb, b.outcome), W(b.text)) << b.text;
    EXPECT_EQ(ManyEntriesQuestionText("运行", 7), CStringW(u"是否对选中的 7 个运行命令执行“运行”？"));
    EXPECT_EQ(ExplorerSelectArguments(u"C:\\Program Files\\ed.exe"),
              CStringW(u"/select,\"C:\\Program Files\\ed.exe\""));
}

TEST(RunEntryFilterTest, MatchesCommandTargetOrPathIgnoringLetterCase) {
    const RunScope m = RunScope::kLocalMachine;
    std::vector<RunEntry> entries = {
        Entry("ed", "C:\\Tools\\ed.exe", m, false, false, "C:\\Tools\\Lib;%ProgramFiles%\\Common"),
        Entry("tools\\Grep", "\"D:\\Program Files\\grep.exe\"", m),
        Entry("编辑器", "D:\\工具\\编辑.exe", m, false, false, "D:\\工具"),
        Entry("ＡＢＣ", "", m),
        Entry("癮", "E:\\x.exe", m),  // in GBK B0 61: its second byte is an 'a'
    };
    entries[3].target = u"C:\\Ünïcode\\ΣΑΣ\\Файл.exe";  // letters GBK lacks
    RunEntryFilter filter;
    filter.Index(entries);
    const struct {
        const char16_t* typed;
        std::vector<int> shown;
    } cases[] = {
        {u"", {0, 1, 2, 3, 4}},
        {u"  \t", {0, 1, 2, 3, 4}},  // blanks only: no filter
        {u"ED", {0}},                // the command, any case
        {u" ed ", {0}},              // blanks at the ends do not count
        {u"tools", {0, 1}},          // a target folder and a group
        {u"\\grep", {1}},            // across the group's backslash
        {u"program files", {1}},     // inside the quotes
        {u"%programfiles%", {0}},    // the Path value as stored
        {u"lib;%", {0}},             // across its semicolon
        {u"工具", {2}},              // Chinese in the target and the Path value
        {u"编", {2}},
        {u"ａｂｃ", {3}},     // full-width letters in either case
        {u"abc", {}},         // ... are not the ASCII letters
        {u"üNÏ", {3}},        // Latin-1
        {u"σασ", {3}},        // Greek
        {u"файл", {3}},       // Cyrillic
        {u"a", {0, 1}},       // never inside a Chinese character
        {u"ed.exe\nc:", {}},  // a line break matches nothing between the texts
        {u"ed.exe c:", {}},
        {u"zzz", {}},
    };
    // The list model shows the same entries as its rows, in its own order.
    velmora::app::RunListModel model;
    model.SetListing(entries, 0, false);
    for (const auto& c : cases) {
        EXPECT_EQ(filter.Matching(c.typed), c.shown) << N(c.typed);
        model.Filter(c.typed);
        std::set<std::string> expected;
        for (int index : c.shown) expected.insert(Order({entries[static_cast<std::size_t>(index)]}));
        std::set<std::string> rows;
        for (const RunEntry& entry : model.ShownEntries()) rows.insert(Order({entry}));
        EXPECT_EQ(rows, expected) << N(c.typed);
    }
    model.Filter(u"ED");
    EXPECT_EQ(model.StatusText(), CStringW(u"显示 1 / 共 5 个运行命令"));
    model.Filter(u" \t");
    EXPECT_EQ(model.StatusText(), CStringW(u"共 5 个运行命令"));

    // Indexed again after a change: the old texts are gone.
    entries.resize(1);
    filter.Index(entries);
    EXPECT_EQ(filter.Matching(u"grep"), std::vector<int>{});
    EXPECT_EQ(filter.Matching(u"ed"), std::vector<int>{0});
    filter.Index({});
    EXPECT_EQ(filter.Matching(u""), std::vector<int>{});
}

// The entries of the sort table, listed by the model in command order:
// alpha/m alpha/u Beta/u beta/m 中文/m.
std::vector<RunEntry> ModelEntries() {
    const RunScope m = RunScope::kLocalMachine;
    const RunScope u = RunScope::kCurrentUser;
    return {
        Entry("中文", "C:\\b.exe", m, false, false, "D:\\Lib"),
        Entry("Beta", "c:\\a.exe", u, true, false, "c:\\lib;%SystemRoot%"),
        Entry("alpha", "C:\\c.exe", m, false, true),
        Entry("beta", "C:\\A.exe", m, true, true, "C:\\Lib"),
        Entry("alpha", "D:\\d.exe", u),
    };
}

TEST(RunListModelTest, TheSelectionFollowsItsEntriesThroughFilterAndSort) {
    using velmora::app::RunListModel;
    const struct {
        const char* before;  // filtered by when the rows are selected
        std::vector<int> selected;
        const char* entries;  // the entries of the selected rows, in that order
        const char* after;    // filtered by then
        RunSortOrder order;   // and sorted by
        std::vector<int> rows;  // the rows of the same entries then
    } cases[] = {
        // Hidden by the filter: no row; the same name in the other scope is
        // another entry.
        {"", {0, 3}, "alpha/m beta/m", "beta", {RunColumn::kCommand, true}, {1}},
        {"", {1, 0}, "alpha/u alpha/m", "", {RunColumn::kScope, true}, {0, 3}},
        // Rows of a filtered list are not the entries' places.
        {"c:", {0, 1, 2}, "alpha/m Beta/u beta/m", "", {RunColumn::kTarget, false}, {1, 3, 4}},
        {"c:", {3}, "中文/m", "lib", {RunColumn::kPath, true}, {2}},
        // Rows outside the list select nothing.
        {"", {-1, 5, 4}, "中文/m", "", {RunColumn::kCommand, false}, {0}},
        {"zzz", {0}, "", "", {RunColumn::kCommand, true}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.after);
        RunListModel model;
        model.SetListing(ModelEntries(), 0, false);
        model.Filter(W(c.before));
        EXPECT_EQ(Order(model.EntriesOfRows(c.selected)), c.entries);
        const velmora::app::RunEntryKeys keys = model.KeysOfRows(c.selected);
        model.Filter(W(c.after));
        model.Sort(c.order);
        const std::vector<int> rows = model.RowsOfKeys(keys);
        EXPECT_EQ(rows, c.rows);
        for (int row : rows) {
            ASSERT_NE(model.EntryOfRow(row), nullptr);
            EXPECT_EQ(keys.count({model.EntryOfRow(row)->scope, model.EntryOfRow(row)->keyPath}), 1u);
        }
    }
    RunListModel model;
    EXPECT_EQ(model.EntryOfRow(0), nullptr) << "no listing, no rows";
    model.SetListing(ModelEntries(), 0, false);
    EXPECT_EQ(model.EntryOfRow(-1), nullptr);
    EXPECT_EQ(model.EntryOfRow(5), nullptr);
    ASSERT_NE(model.EntryOfRow(4), nullptr);
    EXPECT_EQ(model.EntryOfRow(4)->command, CStringW(u"中文"));
}

TEST(RunListModelTest, TypeAheadSearchesTheRowsShown) {
    velmora::app::RunListModel model;
    model.SetListing(ModelEntries(), 0, false);
    const struct {
        const char* typed;
        const char* prefix;
        int start;
        int row;
    } cases[] = {
        {"", "b", 0, 2},  {"", "ALPHA", 1, 1}, {"", "a", 2, 0},     {"", "中", 0, 4},
        // Shown: Beta/u, beta/m and 中文/m, whose target is C:\b.exe.
        {"b", "b", 1, 1}, {"b", "a", 0, -1},  {"b", "中", 0, 2},     {"b", "", 0, -1},
        {"zzz", "a", 0, -1},
    };
    for (const auto& c : cases) {
        model.Filter(W(c.typed));
        EXPECT_EQ(model.FindRowByPrefix(W(c.prefix), c.start), c.row) << c.typed << " / " << c.prefix;
    }
}

TEST(RunListModelTest, ValuesAreReadByRowIntoTheListingAndFinishedBeforeSortingAndFiltering) {
    using velmora::app::RunListModel;
    // Listed by keys: the values come from `read`, "gone" cannot be read.
    std::vector<RunEntry> keys;
    for (const char* command : {"d", "gone", "b", "c", "a"}) keys.push_back(Entry(command, "", RunScope::kCurrentUser));
    std::vector<std::string> reads;
    const RunListModel::ReadValues read = [&reads](RunEntry& entry) {
        reads.push_back(N(entry.command));
        if (entry.command == u"gone") return false;
        entry.target = u"C:\\" + entry.command + u".exe";
        entry.path = entry.command == u"b" ? u"C:\\lib" : u"";
        return true;
    };
    RunListModel model;
    model.SetListing(keys, 2, true);
    EXPECT_TRUE(model.ValuesWait());
    EXPECT_EQ(Order(model.ShownEntries()), "a/u b/u c/u d/u gone/u");
    EXPECT_TRUE(model.RowWaits(3));
    EXPECT_TRUE(model.ReadRow(3, read));
    EXPECT_EQ(model.EntryOfRow(3)->target, CStringW(u"C:\\d.exe")) << "read into the row's entry";
    EXPECT_FALSE(model.RowWaits(3));
    EXPECT_FALSE(model.ReadRow(3, read)) << "read once";
    EXPECT_FALSE(model.RowWaits(5));
    EXPECT_FALSE(model.ReadRow(5, read));
    EXPECT_FALSE(model.ReadRow(-1, read));
    // Asked while values wait: the rows keep the listing's places until
    // every value is in.
    model.Sort({RunColumn::kCommand, false});
    EXPECT_EQ(Order(model.ShownEntries()), "a/u b/u c/u d/u gone/u");
    int idle = 2;
    EXPECT_FALSE(model.ReadWhile(read, [&idle] { return idle-- > 0; }));
    EXPECT_EQ(reads, (std::vector<std::string>{"d", "a", "b"}));
    EXPECT_TRUE(model.ValuesWait());

    int marked = 0;
    EXPECT_EQ(model.FinishValues(read, [&marked](std::vector<RunEntry>& entries) {
        marked = static_cast<int>(entries.size());
        entries.front().broken = true;
    }), 1);
    EXPECT_EQ(reads.size(), 5u) << "each entry read once";
    EXPECT_EQ(marked, 4) << "the marks set over the entries kept";
    EXPECT_FALSE(model.ValuesWait());
    EXPECT_FALSE(model.RowWaits(0));
    EXPECT_EQ(model.Unreadable(), 3);
    EXPECT_EQ(Order(model.ShownEntries()), "d/u c/u b/u a/u") << "sorted once the values are in";
    EXPECT_TRUE(model.EntryOfRow(3)->broken) << "a, marked before it moved";
    EXPECT_EQ(model.StatusText(), CStringW(u"共 4 个运行命令，1 个失效，3 项无法读取"));
    model.Filter(u"lib");
    EXPECT_EQ(Order(model.ShownEntries()), "b/u") << "the values read are searched";
    EXPECT_EQ(model.FinishValues(read, nullptr), 0) << "nothing waits";
    EXPECT_EQ(reads.size(), 5u);

    // Filtered while values wait: by what is known, and again once they are in.
    model.SetListing(keys, 0, true);
    EXPECT_EQ(model.RowCount(), 0u) << "\"lib\" is in no command";
    EXPECT_FALSE(model.ReadRow(0, read));
    model.FinishValues(read, nullptr);
    EXPECT_EQ(Order(model.ShownEntries()), "b/u");
    // A listing with every value has nothing to wait for.
    model.SetListing(ModelEntries(), 0, false);
    EXPECT_FALSE(model.ValuesWait());
    EXPECT_FALSE(model.ReadRow(0, read));
}

TEST(RunEntryFilterTest, FoldsOnlyLettersThatHaveACase) {
    const struct {
        char16_t in, out;
    } cases[] = {
        {u'A', u'a'},     {u'Z', u'z'},     {u'a', u'a'},     {u'@', u'@'},   {u'[', u'['},
        {0xC0, 0xE0},     {0xD7, 0xD7},     {0xDE, 0xFE},     {0xDF, 0xDF},   {0x391, 0x3B1},
        {0x3A2, 0x3A2},   {0x3A9, 0x3C9},   {0x400, 0x450},   {0x42F, 0x44F}, {0x430, 0x430},
        {0xFF21, 0xFF41}, {0xFF3A, 0xFF5A}, {0xFF3B, 0xFF3B}, {u'中', u'中'}, {0xD83D, 0xD83D},
    };
    for (const auto& c : cases) EXPECT_EQ(FoldForFilter(c.in), c.out) << std::hex << int(c.in);
}

TEST(RunManagerTextTest, EditExportAndImportTexts) {
    const struct {
        const RunActionText& action;
        ChangeResult result;
        const char* detail;
        const char* text;
    } edits[] = {
        {kRenameAction, ChangeResult::kDone, "tools\\ed2", "已将“ed”重命名为“tools\\ed2”"},
        {kRenameAction, ChangeResult::kUnchanged, "ed", "“ed”没有变化"},
        {kRenameAction, ChangeResult::kDeclined, "vi", "未重命名“ed”"},
        {kRenameAction, ChangeResult::kInvalidName, "\\", "未能重命名“ed”：名称“\\”不能作为运行命令"},
        {kRenameAction, ChangeResult::kNotFound, "vi", "未能重命名“ed”：该运行命令已不在注册表中，请刷新"},
        {kChangeTargetAction, ChangeResult::kDone, "C:\\vi.exe", "已将“ed”的目标改为：C:\\vi.exe"},
        {kChangeTargetAction, ChangeResult::kInvalidName, "", "未能修改目标“ed”：目标不能为空"},
        {kChangeTargetAction, ChangeResult::kRegistryFailed, "C:\\vi.exe",
         "未能修改目标“ed”：注册表拒绝了修改，一切保持原样"},
        {kEditPathAction, ChangeResult::kDone, "", "已编辑附加路径：“ed”"},
    };
    for (const auto& e : edits)
        EXPECT_EQ(EditStatusText(e.action, u"ed", e.result, W(e.detail)), W(e.text)) << e.text;

    EXPECT_EQ(ExportStatusText(3, 0, u"D:\\备份.reg"), CStringW(u"已导出 3 个运行命令到：D:\\备份.reg"));
    EXPECT_EQ(ExportStatusText(3, 1, u"a.reg"),
              CStringW(u"已导出 3 个运行命令到：a.reg（1 个无法读取，未导出）"));
    EXPECT_EQ(DamagedFileText(RegFileError::kBadEscape, 7),
              CStringW(u"文件已损坏，未导入任何内容。\n第 7 行：转义字符有误"));
    EXPECT_EQ(ImportSummaryText(2, 0, 0), CStringW(u"将添加 2 个运行命令，替换 0 个。"));
    EXPECT_EQ(ImportSummaryText(0, 1, 3),
              CStringW(u"将添加 0 个运行命令，替换 1 个（取消勾选的不会替换）；3 项不会写入。"));
    EXPECT_EQ(ImportOutcomeText({2, 1, 3, 0}), CStringW(u"已添加 2 个，替换 1 个，跳过 3 个运行命令"));
    EXPECT_EQ(ImportOutcomeText({0, 0, 0, 2}),
              CStringW(u"已添加 0 个，替换 0 个，跳过 0 个运行命令，2 个未能写入"));
    EXPECT_EQ(FilteredStatusText(3, 2000), CStringW(u"显示 3 / 共 2000 个运行命令"));
    // Every refusal says why, and every menu item has its key or its dots.
    for (ImportRefusal refusal : {ImportRefusal::kOutsideAppPaths, ImportRefusal::kNotAnEntry,
                                  ImportRefusal::kScopeNotWritable, ImportRefusal::kDeletion})
        EXPECT_STRNE(ImportRefusalText(refusal), "");
    EXPECT_STREQ(kRenameAction.menuItem, "重命名(&M)\tF2");
    EXPECT_STREQ(kImportAction.menuItem, "导入(&I)…\tCtrl+I");
}

TEST(RunManagerTextTest, TheManagersWordsInEnglish) {
    velmora::UseLanguage(velmora::Language::kEnglish);
    const RunEntry both = Entry("ed", "C:\\ed.exe", RunScope::kLocalMachine, true, true);
    RunEntry terminal = Entry("vi", "C:\\vi.exe", RunScope::kCurrentUser);
    terminal.terminal = true;
    terminal.terminalLauncherMissing = true;
    RunCommandOptions options;
    options.arguments = u"-n";
    options.folder = u"D:\\work";
    options.environment = {u"A=1"};
    options.administrator = true;
    const struct {
        CStringW shown;
        const char* english;
    } rows[] = {
        {StateText(both), "Broken, overridden"},
        {StateText(Entry("a", "", RunScope::kCurrentUser, true)), "Broken"},
        {OptionLines(options)[0], "Arguments: -n"},
        {OptionLines(options)[1], "Start in: D:\\work"},
        {OptionLines(options)[2], "Environment variable: A=1"},
        {OptionLines(options)[3], "Run as administrator"},
        {CStringW(velmora::WideFrom936(ColumnHeading(RunColumn::kPath))), "Path"},
        {CStringW(velmora::WideFrom936(kRenameAction.menuItem)), "Rena&me\tF2"},
    };
    for (const auto& row : rows) EXPECT_EQ(velmora::NarrowTo936(row.shown), row.english);
    EXPECT_EQ(TerminalText(terminal), CStringW(u"\u2713 (launcher missing)"));
    // A column's fixed words: its heading, and the scopes or the marks.
    EXPECT_EQ(FixedColumnTexts(RunColumn::kCommand).size(), 1u);
    EXPECT_EQ(FixedColumnTexts(RunColumn::kScope).size(), 3u);
    EXPECT_EQ(FixedColumnTexts(RunColumn::kState),
              (std::vector<CStringW>{u"State", u"Broken", u"Overridden", u"Name taken"}));
    velmora::UseLanguage(velmora::Language::kChinese);
    EXPECT_EQ(FixedColumnTexts(RunColumn::kState), (std::vector<CStringW>{u"状态", u"失效", u"被覆盖", u"被占用"}));
    // Compared as the text it reads as now.
    EXPECT_EQ(std::string("附加路径"), ColumnHeading(RunColumn::kPath));
}

TEST(RunManagerTextTest, TheDeleteQuestionNamesCommandsScopesAndTargets) {
    const RunEntry a = Entry("ed", "C:\\Tools\\ed.exe", RunScope::kLocalMachine);
    const RunEntry b = Entry("工具\\编辑", "", RunScope::kCurrentUser);
    EXPECT_EQ(DeleteQuestionText({a, b}), CStringW(u"是否删除以下运行命令？\n\n“ed”（本机）：C:\\Tools\\ed."
                                                     u"exe\n“工具\\编辑”（当前用户）：（无目标）"));

    const std::vector<RunEntry> many(kDeleteQuestionLines + 3, a);
    const CStringW text = DeleteQuestionText(many);
    int lines = 0;
    for (int at = text.Find(u"“ed”"); at >= 0; at = text.Find(u"“ed”", at + 1)) ++lines;
    EXPECT_EQ(lines, kDeleteQuestionLines);
    const CStringW tail(u"\n……以及另外 3 个运行命令");
    EXPECT_EQ(text.Right(tail.GetLength()), tail);
}

// A filled text in Chinese and in English: the values put in come out in
// both languages, each one whole and in the order given.
TEST(RunManagerTextTest, FilledTextsKeepTheirValuesInOrderInBothLanguages) {
    const RunEntry ed = Entry("ed", "C:\\T\\ed.exe", RunScope::kCurrentUser);
    const RunEntry gone = Entry("gone", "C:\\G\\g.exe", RunScope::kLocalMachine, true, true);
    const FolderVerdict owner{FolderFlaw::kOwner, W("S-1-5-21-9"), 0};
    const FolderVerdict grants{FolderFlaw::kGrants, W("S-1-5-21-8"), 0x00000004u};
    struct Row {
        const char* what;
        std::function<CStringW()> text;
        std::vector<std::string> values;
    } const rows[] = {
        {"listing", [&] { return ListingStatusText({ed, gone, gone}, 7); }, {"3", "2", "2", "7"}},
        {"filtered", [] { return FilteredStatusText(41, 97); }, {"41", "97"}},
        {"batch", [] { return BatchStatusText("VERB", {41, 1, W("ed"), W("WHY")}); },
         {"VERB", "41", "1", "VERB", "ed", "WHY"}},
        {"one failed", [] { return BatchStatusText("VERB", {0, 1, W("ed"), W("WHY")}); }, {"VERB", "ed", "WHY"}},
        {"rename", [] { return EditStatusText(kRenameAction, W("ed"), ChangeResult::kDone, W("editor")); },
         {"ed", "editor"}},
        {"target", [] { return EditStatusText(kChangeTargetAction, W("ed"), ChangeResult::kDone, W("C:\\N.exe")); },
         {"ed", "C:\\N.exe"}},
        {"bad name", [] { return EditStatusText(kRenameAction, W("ed"), ChangeResult::kInvalidName, W("a/b")); },
         {"ed", "a/b"}},
        {"add undone", [] { return AddOutcomeText(W("ed"), W("C:\\T.exe"), ChangeResult::kNotFound); },
         {"ed", "ed"}},
        {"options", [] { return OptionsOutcomeText(W("ed"), W("C:\\T.exe"), ChangeResult::kLauncherFailed, W("L.exe")); },
         {"ed", "L.exe"}},
        {"terminal on", [&] { return TerminalOutcomeText(ed, true, ChangeResult::kDone, W("C:\\B\\ed.exe")); },
         {"ed", "C:\\B\\ed.exe"}},
        {"terminal name", [] { return TerminalNameProblem(W("tools\\ed")); }, {"tools\\ed"}},
        {"delete failure", [&] { return DeleteFailureText({ed, ChangeResult::kRegistryFailed, 1450}); },
         {"ed", "1450"}},
        {"owner", [&] { return UnsafeFolderText(W("C:\\F"), owner); }, {"C:\\F", "S-1-5-21-9"}},
        {"grants", [&] { return UnsafeFolderText(W("C:\\F"), grants); }, {"C:\\F", "S-1-5-21-8"}},
        {"export", [] { return ExportStatusText(41, 97, W("C:\\x.reg")); }, {"41", "C:\\x.reg", "97"}},
        {"file", [] { return FileFailureText(kExportAction, W("C:\\x.reg"), W("WHY")); }, {"C:\\x.reg", "WHY"}},
        {"damaged", [] { return DamagedFileText(RegFileError::kBadHex, 1234); }, {"1234"}},
        {"import summary", [] { return ImportSummaryText(41, 97, 55); }, {"41", "97", "55"}},
        {"import outcome", [] { return ImportOutcomeText({41, 97, 55, 13}); }, {"41", "97", "55", "13"}},
        {"replace", [] { return ReplaceQuestionText({W("ed"), W("C:\\O.exe"), W("C:\\N.exe")}); },
         {"ed", "C:\\O.exe", "C:\\N.exe"}},
        {"many", [] { return ManyEntriesQuestionText("VERB", 41); }, {"41", "VERB"}},
        {"off path", [] { return TakeFolderOffPathQuestion(W("C:\\B")); }, {"C:\\B"}},
        {"explorer repair", [] { return ExplorerRepairText(41, 97, W("C:\\V.exe")); }, {"41", "C:\\V.exe", "97"}},
        {"explorer state", [] { return ExplorerStateText(true, true, false, W("C:\\V.exe")); }, {"C:\\V.exe"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string texts[2];
        for (const velmora::Language language : {velmora::Language::kChinese, velmora::Language::kEnglish}) {
            velmora::UseLanguage(language);
            const std::string text = N(row.text());
            std::size_t at = 0;
            for (const std::string& value : row.values) {
                at = text.find(value, at);
                if (at == std::string::npos) {
                    ADD_FAILURE() << value << " is not in " << text;
                    break;
                }
                at += value.size();
            }
            texts[language == velmora::Language::kEnglish] = text;
        }
        velmora::UseLanguage(velmora::Language::kChinese);
        EXPECT_NE(texts[0], texts[1]);
    }
}

TEST(ReplaceCheckTest, AsksOnlyWhenAnotherProgramWouldBeReplaced) {
    const struct {
        const char* existing;
        const char* newPath;
        bool asks;
    } cases[] = {
        {"", "C:\\Tools\\ed.exe", false},                       // nothing registered
        {"  ", "C:\\Tools\\ed.exe", false},                     // blanks only
        {"C:\\Tools\\ed.exe", "C:\\Tools\\ed.exe", false},      // the same program
        {"c:\\TOOLS\\ED.EXE", "C:\\Tools\\ed.exe", false},      // in other letter case
        {"\"C:\\Tools\\ed.exe\"", "C:\\Tools\\ed.exe", false},  // quoted
        {"C:\\工具\\编辑.exe", "C:\\工具\\编辑.EXE", false},
        {"C:\\Program Files\\Chrome\\chrome.exe", "D:\\Portable\\chrome.exe", true},
        {"C:\\Tools\\ed.exe", "C:\\Tools\\ed.exe.bak", true},
        {"C:\\工具\\编辑.exe", "C:\\工具\\编缉.exe", true},  // differ in a double-byte character only
    };
    for (const auto& c : cases)
        EXPECT_EQ(NeedsReplaceQuestion(W(c.existing), W(c.newPath)), c.asks)
            << c.existing << " -> " << c.newPath;

    EXPECT_EQ(ReplaceQuestionText({u"chrome", u"C:\\Chrome\\chrome.exe", u"D:\\P\\chrome.exe"}),
              CStringW(u"命令“chrome”已指向：C:\\Chrome\\chrome.exe\n是否改为：D:\\P\\chrome.exe？"));
}

const char* const kEdKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ed.exe";
const RunCommandPlace kFakeRoots{{memreg::kRoot, memreg::kUserRoot}, kAppPathsKey};

TEST(RegisterRunCommandTest, ReadsBothScopesAsksWhenNeededAndWrites) {
    constexpr auto kMachine = RunScope::kLocalMachine;
    constexpr auto kUser = RunScope::kCurrentUser;
    constexpr auto kWritten = ChangeResult::kDone;
    constexpr auto kDeclined = ChangeResult::kDeclined;
    const struct {
        const char* what;
        RunScope scope;
        const char* machine;  // the entries there before, "" for none
        const char* user;
        bool answer;
        const char* asked;  // the existing target the question names, "" when none is asked
        ChangeResult result;
    } cases[] = {
        {"new name", kMachine, "", "", false, "", kWritten},
        {"new name for the user", kUser, "", "", false, "", kWritten},
        {"same program, other case", kMachine, "c:\\TOOLS\\ED.EXE", "", false, "", kWritten},
        {"same program quoted", kUser, "", "\"C:\\Tools\\ed.exe\"", false, "", kWritten},
        {"other program, No", kMachine, "C:\\Old\\ed.exe", "", false, "C:\\Old\\ed.exe", kDeclined},
        {"other program, Yes", kMachine, "C:\\Old\\ed.exe", "", true, "C:\\Old\\ed.exe", kWritten},
        {"the user's own entry, No", kUser, "", "C:\\Old\\ed.exe", false, "C:\\Old\\ed.exe", kDeclined},
        {"the user's own entry, Yes", kUser, "", "C:\\Old\\ed.exe", true, "C:\\Old\\ed.exe", kWritten},
        // A user entry would hide the machine's: that is what the name starts now.
        {"machine entry a user write hides", kUser, "C:\\Old\\ed.exe", "", false, "C:\\Old\\ed.exe",
         kDeclined},
        {"user entry of quotes only", kUser, "C:\\Old\\ed.exe", " \"\" ", false, "C:\\Old\\ed.exe",
         kDeclined},
        {"user entry over the machine's", kUser, "C:\\Old\\ed.exe", "C:\\Tools\\ed.exe", false, "", kWritten},
        // Elevated, the tool writes the machine's entry: the user's is not its business.
        {"user entry, machine write", kMachine, "", "C:\\Old\\ed.exe", false, "", kWritten},
        {"machine entry, blanks only", kMachine, "  ", "", false, "", kWritten},
    };
    for (const auto& c : cases) {
        memreg::MemoryRegistry reg;
        if (*c.machine) reg.PutText(kEdKey, "", c.machine);
        if (*c.user) reg.PutText(std::string("U:") + kEdKey, "", c.user);
        int asks = 0;
        CStringW question;
        const ChangeResult result = RegisterRunCommand(reg, kFakeRoots, c.scope, u"ed",
                                                             u"C:\\Tools\\ed.exe", [&](const ReplaceQuestion& asked) {
                                                                 ++asks;
                                                                 question = ReplaceQuestionText(asked);
                                                                 return c.answer;
                                                             }, Fresh(ChangeJournal(reg)));
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(asks, *c.asked ? 1 : 0) << c.what;
        if (*c.asked) {
            EXPECT_EQ(question, ReplaceQuestionText({u"ed", W(c.asked), u"C:\\Tools\\ed.exe"})) << c.what;
        }
        const std::string written = (c.scope == kUser ? std::string("U:") : std::string()) + kEdKey;
        const char* const before = c.scope == kUser ? c.user : c.machine;
        EXPECT_EQ(reg.keys.count(written) ? reg.TextOf(written, "") : std::string(),
                  result == kWritten ? std::string("C:\\Tools\\ed.exe") : std::string(before))
            << c.what;
        const std::string other = (c.scope == kUser ? std::string() : std::string("U:")) + kEdKey;
        const char* const otherBefore = c.scope == kUser ? c.machine : c.user;
        EXPECT_EQ(reg.keys.count(other) ? reg.TextOf(other, "") : std::string(), otherBefore)
            << c.what << ": the other scope is never written";
        EXPECT_TRUE(reg.Balanced()) << c.what;
    }
}

TEST(RegisterRunCommandTest, ANestedNameIsReadWhereTypingItWrites) {
    memreg::MemoryRegistry reg;
    reg.PutText("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tools\\ed.exe", "",
                "C:\\Old\\ed.exe");
    int asks = 0;
    EXPECT_EQ(RegisterRunCommand(reg, kFakeRoots, RunScope::kLocalMachine, u"tools \\\\ ed",
                                 u"C:\\New\\ed.exe", [&](const ReplaceQuestion&) { return ++asks, true; }, Fresh(ChangeJournal(reg))),
              ChangeResult::kDone);
    EXPECT_EQ(asks, 1);
    EXPECT_EQ(reg.TextOf("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tools\\ed.exe", ""),
              "C:\\New\\ed.exe");
}

TEST(RegisterRunCommandTest, AFailureAtAnyStepIsNeverReportedAsWritten) {
    for (const RunScope scope : {RunScope::kLocalMachine, RunScope::kCurrentUser}) {
        const std::string key =
            (scope == RunScope::kCurrentUser ? std::string("U:") : std::string()) + kEdKey;
        int failures = 0;
        // Each call of the registration fails in turn, up to the first run
        // that the failure no longer reaches.
        for (int failAt = 0;; ++failAt) {
            memreg::MemoryRegistry reg;
            reg.failAtCall = failAt;
            const ChangeResult result = RegisterRunCommand(
                reg, kFakeRoots, scope, u"ed", u"C:\\Tools\\ed.exe", [](const ReplaceQuestion&) { return false; }, Fresh(ChangeJournal(reg)));
            const bool stored = reg.keys.count(key) != 0 && reg.keys.at(key).count("") != 0 &&
                                reg.TextOf(key, "") == "C:\\Tools\\ed.exe";
            // A read that fails finds nothing to replace; a create or store
            // that fails is a failure.
            EXPECT_EQ(result == ChangeResult::kDone, stored) << "call " << failAt;
            EXPECT_NE(result, ChangeResult::kDeclined) << "call " << failAt;
            EXPECT_TRUE(reg.Balanced()) << "call " << failAt;
            if (result == ChangeResult::kRegistryFailed) ++failures;
            if (reg.calls <= failAt) break;
        }
        // The key read before it is written, six keys to create and the
        // value to store.
        EXPECT_EQ(failures, 8);
    }
}

TEST(RunManagerLayoutTest, ColumnWidthsFollowTheWindowToAnotherDpi) {
    using velmora::app::RunManagerRescaled;
    EXPECT_EQ(RunManagerRescaled(150, 96, 144), 225);
    EXPECT_EQ(RunManagerRescaled(225, 144, 96), 150);
    // A width the user chose keeps its share: 101 x 1.5 = 151.5, rounded up.
    EXPECT_EQ(RunManagerRescaled(101, 96, 144), 152);
    EXPECT_EQ(RunManagerRescaled(152, 144, 192), 203);
    EXPECT_EQ(RunManagerRescaled(0, 96, 192), 0);
    // No DPI read: the width stays.
    EXPECT_EQ(RunManagerRescaled(150, 0, 144), 150);
    EXPECT_EQ(RunManagerRescaled(150, 96, -1), 150);
}

TEST(RunManagerLayoutTest, ListButtonsAndStatusAtTheOpeningAndTheSmallestSize) {
    using velmora::skin::SkinRect;
    const struct {
        SkinRect inner;
        SkinRect filter, list, status, first, last;
        int dpi = 96;
    } cases[] = {
        // 620 x 420 with the shipped frame: inner (3, 27, 617, 417).
        {{3, 27, 617, 417},
         {57, 37, 607, 59},
         {13, 65, 607, 372},
         {13, 384, 205, 404},
         {215, 382, 287, 407},
         {535, 382, 607, 407}},
        // 480 x 300: inner (3, 27, 477, 297).
        {{3, 27, 477, 297},
         {57, 37, 467, 59},
         {13, 65, 467, 252},
         {13, 264, 65, 284},
         {75, 262, 147, 287},
         {395, 262, 467, 287}},
        // Far too small: nothing inverted.
        {{0, 0, 100, 40},
         {54, 10, 90, 32},
         {10, 38, 90, 38},
         {10, 7, 10, 27},
         {-302, 5, -230, 30},
         {18, 5, 90, 30}},
        // Narrower than the label: the field is empty, at the right margin.
        {{0, 0, 40, 200},
         {30, 10, 30, 32},
         {10, 38, 30, 155},
         {10, 167, 10, 187},
         {-362, 165, -290, 190},
         {-42, 165, 30, 190}},
        // At 192 DPI every margin, height, button and gap is twice as large.
        {{0, 0, 1000, 600},
         {108, 20, 980, 64},
         {20, 76, 980, 510},
         {20, 535, 176, 575},
         {196, 530, 340, 580},
         {836, 530, 980, 580},
         192},
        // At 144 DPI: margin 15, filter 33 high after a 66-wide label, gap
        // 9 to the list, buttons 108 x 38 (37.5 rounded), gap 12, status 30.
        {{5, 41, 925, 625},
         {86, 56, 910, 89},
         {20, 98, 910, 557},
         {20, 576, 307, 606},
         {322, 572, 430, 610},
         {802, 572, 910, 610},
         144},
    };
    // Words wider than the design widen their controls, the buttons leftwards
    // from the right margin; narrower ones leave the design as it is.
    velmora::app::RunManagerTextWidths texts;
    texts.filterLabel = 60;
    texts.buttons[1] = 90;
    texts.buttons[4] = 40;
    for (const int dpi : {96, 192}) {
        const velmora::app::RunManagerLayout wider = velmora::app::LayOutRunManager({3, 27, 617, 417}, dpi, texts);
        EXPECT_EQ(wider.filterLabel.Width(), std::max(64, 44 * dpi / 96)) << dpi;
        EXPECT_EQ(wider.buttons[1].Width(), std::max(90 + 22 * dpi / 96, 72 * dpi / 96)) << dpi;
        EXPECT_EQ(wider.buttons[4].Width(), 72 * dpi / 96) << dpi;
        EXPECT_EQ(wider.buttons[4].right, 617 - 10 * dpi / 96) << dpi;
        EXPECT_EQ(wider.buttons[2].left - wider.buttons[1].right, 8 * dpi / 96) << dpi;
    }
    EXPECT_EQ(velmora::app::FittingWidth(60, 80, 12, 144), 98);
    EXPECT_EQ(velmora::app::FittingWidth(60, 70, 12, 96), 82);
    EXPECT_EQ(velmora::app::FittingWidth(60, 40, 12, 96), 60);

    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const velmora::app::RunManagerLayout layout = velmora::app::LayOutRunManager(c.inner, c.dpi);
        EXPECT_EQ(layout.filter, c.filter);
        EXPECT_EQ(layout.filterLabel.right, c.filter.left) << "the label ends where the field starts";
        EXPECT_EQ(layout.list, c.list);
        EXPECT_EQ(layout.status, c.status);
        EXPECT_EQ(layout.buttons[0], c.first);
        EXPECT_EQ(layout.buttons[velmora::app::kRunManagerButtonCount - 1], c.last);
        for (int i = 1; i < velmora::app::kRunManagerButtonCount; ++i)
            EXPECT_EQ(layout.buttons[i].left - layout.buttons[i - 1].right,
                      velmora::app::RunManagerScaled(velmora::app::kRunManagerButtonGap, c.dpi));
    }
}

}  // namespace
