// The manager's rules that need no window: the order of each column, the
// texts it shows and asks, the replace rule of registration, and the layout
// of its controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ReplaceCheck.h"
#include "app/RunCommandRegistration.h"
#include "app/RunEntrySort.h"
#include "app/RunManagerLayout.h"
#include "app/RunManagerText.h"
#include "fake_registry.h"
#include "gbk_text.h"

namespace {

RunEntry Entry(const char* command, const char* target, RunScope scope, bool broken = false,
               bool shadowed = false) {
    RunEntry e;
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
        Entry("中文", "C:\\b.exe", m),
        Entry("Beta", "c:\\a.exe", u, true),
        Entry("alpha", "C:\\c.exe", m, false, true),
        Entry("beta", "C:\\A.exe", m, true, true),
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
    };
    for (const auto& c : cases) {
        std::vector<RunEntry> entries = input;
        SortRunEntries(entries, c.column, c.ascending);
        EXPECT_EQ(Order(entries), c.order) << static_cast<int>(c.column) << (c.ascending ? " up" : " down");
        // The same result from any starting order.
        std::vector<RunEntry> reversed(input.rbegin(), input.rend());
        SortRunEntries(reversed, c.column, c.ascending);
        EXPECT_EQ(Order(reversed), c.order);
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

TEST(RunManagerTextTest, TheDeleteQuestionNamesCommandsScopesAndTargets) {
    const RunEntry a = Entry("ed", "C:\\Tools\\ed.exe", RunScope::kLocalMachine);
    const RunEntry b = Entry("工具\\编辑", "", RunScope::kCurrentUser);
    EXPECT_EQ(DeleteQuestionText({&a, &b}), CStringW(u"是否删除以下运行命令？\n\n“ed”（本机）：C:\\Tools\\ed."
                                                     u"exe\n“工具\\编辑”（当前用户）：（无目标）"));

    std::vector<const RunEntry*> many(kDeleteQuestionLines + 3, &a);
    const CStringW text = DeleteQuestionText(many);
    int lines = 0;
    for (int at = text.Find(u"“ed”"); at >= 0; at = text.Find(u"“ed”", at + 1)) ++lines;
    EXPECT_EQ(lines, kDeleteQuestionLines);
    const CStringW tail(u"\n……以及另外 3 个运行命令");
    EXPECT_EQ(text.Right(tail.GetLength()), tail);
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

    EXPECT_EQ(ReplaceQuestionText(u"chrome", u"C:\\Chrome\\chrome.exe", u"D:\\P\\chrome.exe"),
              CStringW(u"命令“chrome”已指向：C:\\Chrome\\chrome.exe\n是否改为：D:\\P\\chrome.exe？"));
}

const char* const kEdKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ed.exe";
const RunCommandRoots kFakeRoots{fake::kRoot, fake::kUserRoot};

TEST(RegisterRunCommandTest, ReadsBothScopesAsksWhenNeededAndWrites) {
    constexpr auto kMachine = RunScope::kLocalMachine;
    constexpr auto kUser = RunScope::kCurrentUser;
    constexpr auto kWritten = RegistrationResult::kWritten;
    constexpr auto kDeclined = RegistrationResult::kDeclined;
    const struct {
        const char* what;
        RunScope scope;
        const char* machine;  // the entries there before, "" for none
        const char* user;
        bool answer;
        const char* asked;  // the existing target the question names, "" when none is asked
        RegistrationResult result;
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
        fake::FakeRegistry reg;
        if (*c.machine) reg.PutText(kEdKey, "", c.machine);
        if (*c.user) reg.PutText(std::string("U:") + kEdKey, "", c.user);
        int asks = 0;
        CStringW question;
        const RegistrationResult result = RegisterRunCommand(reg, kFakeRoots, c.scope, u"ed",
                                                             u"C:\\Tools\\ed.exe", [&](const CStringW& text) {
                                                                 ++asks;
                                                                 question = text;
                                                                 return c.answer;
                                                             });
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(asks, *c.asked ? 1 : 0) << c.what;
        if (*c.asked) {
            EXPECT_EQ(question, ReplaceQuestionText(u"ed", W(c.asked), u"C:\\Tools\\ed.exe")) << c.what;
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
    fake::FakeRegistry reg;
    reg.PutText("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tools\\ed.exe", "",
                "C:\\Old\\ed.exe");
    int asks = 0;
    EXPECT_EQ(RegisterRunCommand(reg, kFakeRoots, RunScope::kLocalMachine, u"tools \\\\ ed",
                                 u"C:\\New\\ed.exe", [&](const CStringW&) { return ++asks, true; }),
              RegistrationResult::kWritten);
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
            fake::FakeRegistry reg;
            reg.failAtCall = failAt;
            const RegistrationResult result = RegisterRunCommand(
                reg, kFakeRoots, scope, u"ed", u"C:\\Tools\\ed.exe", [](const CStringW&) { return false; });
            const bool stored = reg.keys.count(key) != 0 && reg.keys.at(key).count("") != 0 &&
                                reg.TextOf(key, "") == "C:\\Tools\\ed.exe";
            // A read that fails finds nothing to replace; a create or store
            // that fails is a failure.
            EXPECT_EQ(result == RegistrationResult::kWritten, stored) << "call " << failAt;
            EXPECT_NE(result, RegistrationResult::kDeclined) << "call " << failAt;
            EXPECT_TRUE(reg.Balanced()) << "call " << failAt;
            if (result == RegistrationResult::kWriteFailed) ++failures;
            if (reg.calls <= failAt) break;
        }
        // Six keys to create and the value to store.
        EXPECT_EQ(failures, 7);
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
        SkinRect list, status, first, last;
        int dpi = 96;
    } cases[] = {
        // 620 x 420 with the shipped frame: inner (3, 27, 617, 417).
        {{3, 27, 617, 417},
         {13, 37, 607, 372},
         {13, 384, 253, 404},
         {263, 382, 343, 407},
         {527, 382, 607, 407}},
        // 480 x 300: inner (3, 27, 477, 297).
        {{3, 27, 477, 297},
         {13, 37, 467, 252},
         {13, 264, 113, 284},
         {123, 262, 203, 287},
         {387, 262, 467, 287}},
        // Far too small: nothing inverted.
        {{0, 0, 100, 40}, {10, 10, 90, 10}, {10, 7, 10, 27}, {-254, 5, -174, 30}, {10, 5, 90, 30}},
        // At 192 DPI every margin, button and gap is twice as large.
        {{0, 0, 1000, 600},
         {20, 20, 980, 510},
         {20, 535, 272, 575},
         {292, 530, 452, 580},
         {820, 530, 980, 580},
         192},
        // At 144 DPI: margin 15, buttons 120 x 38 (37.5 rounded), gap 12,
        // status 30.
        {{5, 41, 925, 625},
         {20, 56, 910, 557},
         {20, 576, 379, 606},
         {394, 572, 514, 610},
         {790, 572, 910, 610},
         144},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const velmora::app::RunManagerLayout layout = velmora::app::LayOutRunManager(c.inner, c.dpi);
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
