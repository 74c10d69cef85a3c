// The way in from Explorer: the file Velmora.exe is started with, what a
// dropped file or shortcut gives, and the current user's Explorer entries
// over a registry and shortcut files in memory.
#include <gtest/gtest.h>

#include <string>

#include "app/platform/ExplorerEntries.h"
#include "app/platform/StartArguments.h"
#include "app/platform/TakenFile.h"
#include "memory_registry.h"
#include "memory_shortcut_files.h"

namespace {

using memreg::MemoryRegistry;

TEST(StartFileTest, TheFirstArgumentByThePlatformsRules) {
    // Files that exist, for the unquoted path with blanks.
    const std::set<std::string> existing = {"C:\\Program Files\\x.exe", "C:\\Tools\\x.exe",
                                            "C:\\工具\\编辑 器.exe"};
    const auto exists = [&](const CStringW& path) { return existing.count(N(path)) != 0; };
    struct Row {
        const char* line;
        bool given;
        const char* path;
    } const rows[] = {
        {"Velmora.exe", false, ""},
        {"\"C:\\Program Files\\Velmora\\Velmora.exe\"   ", false, ""},
        {"Velmora.exe C:\\Tools\\x.exe", true, "C:\\Tools\\x.exe"},
        {"\"C:\\V m\\Velmora.exe\" \"C:\\Program Files\\x.exe\"", true, "C:\\Program Files\\x.exe"},
        // Explorer's verb: "%1" quoted, whatever the path holds.
        {"\"C:\\V\\Velmora.exe\" \"C:\\工具\\编辑 器.exe\"", true, "C:\\工具\\编辑 器.exe"},
        {"Velmora.exe\t\"C:\\Tools\\x.exe\" second third", true, "C:\\Tools\\x.exe"},
        // Unquoted blanks: the rest of the line when the first piece is no file.
        {"Velmora.exe C:\\Program Files\\x.exe", true, "C:\\Program Files\\x.exe"},
        {"Velmora.exe C:\\工具\\编辑 器.exe  ", true, "C:\\工具\\编辑 器.exe"},
        // A file that is not there comes back as written, to be reported.
        {"Velmora.exe C:\\Gone\\y.exe", true, "C:\\Gone\\y.exe"},
        {"Velmora.exe C:\\Gone\\a b.exe", true, "C:\\Gone\\a"},
        {"Velmora.exe \"\"", true, ""},
        // Backslashes before a quote, and a doubled quote inside quotes.
        {"Velmora.exe \"C:\\a\\\\\" x", true, "C:\\a\\"},
        {"Velmora.exe a\\\\\\\"b", true, "a\\\"b"},
        {"Velmora.exe \"a\"\"b\"", true, "a\"b"},
        {"Velmora.exe C:\\a\\\\b", true, "C:\\a\\\\b"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const StartFile start = StartFileOf(W(row.line), exists);
        EXPECT_EQ(start.given, row.given);
        EXPECT_EQ(N(start.path), row.path);
    }
}

TEST(TakenFileTest, ProgramsShortcutsAndOtherFiles) {
    const std::map<std::string, std::string> shortcuts = {
        {"C:\\Desk\\编辑器.lnk", "C:\\Tools\\ed.exe"},         {"C:\\Desk\\ed.exe.LNK", "C:\\Tools\\ed.exe"},
        {"C:\\Desk\\My Editor.lnk", "C:\\Program Files\\E\\e.EXE"}, {"C:\\Desk\\notes.lnk", "C:\\Data\\notes.txt"},
        {"C:\\Desk\\.exe.lnk", "C:\\Tools\\x.exe"},
    };
    const auto read = [&](const CStringW& file, CStringW* pTarget) {
        const auto it = shortcuts.find(N(file));
        if (it == shortcuts.end()) return false;
        *pTarget = W(it->second);
        return true;
    };
    struct Row {
        const char* path;
        const char* name;
        const char* program;
    } const rows[] = {
        {"C:\\Tools\\my.app.EXE", "my.app", "C:\\Tools\\my.app.EXE"},
        {"C:\\Desk\\编辑器.lnk", "编辑器", "C:\\Tools\\ed.exe"},
        {"C:\\Desk\\ed.exe.LNK", "ed", "C:\\Tools\\ed.exe"},
        {"C:\\Desk\\My Editor.lnk", "My Editor", "C:\\Program Files\\E\\e.EXE"},
        {"C:\\Desk\\.exe.lnk", ".exe", "C:\\Tools\\x.exe"},
        // A shortcut to a non-program, or one that cannot be read: as today.
        {"C:\\Desk\\notes.lnk", "notes", ""},
        {"C:\\Desk\\broken.lnk", "broken", ""},
        {"C:\\Data\\report.txt", "report", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        const TakenFile taken = TakeFile(W(row.path), read);
        EXPECT_EQ(N(taken.proposedName), row.name);
        EXPECT_EQ(N(taken.program), row.program);
    }
}

TEST(ExplorerEntriesTest, CommandLinesAndPrograms) {
    struct Row {
        const char* program;
        const char* command;
    } const rows[] = {
        {"C:\\Tools\\Velmora.exe", "\"C:\\Tools\\Velmora.exe\" \"%1\""},
        {"C:\\Program Files\\工具 甲\\Velmora64.exe", "\"C:\\Program Files\\工具 甲\\Velmora64.exe\" \"%1\""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(N(VerbCommandLine(W(row.program))), row.command);
        EXPECT_EQ(N(ProgramOfCommandLine(W(row.command))), row.program);
    }
    EXPECT_EQ(N(ProgramOfCommandLine(W("C:\\x\\v.exe \"%1\""))), "C:\\x\\v.exe");
    EXPECT_EQ(N(ProgramOfCommandLine(W("\"C:\\cut"))), "C:\\cut");
    EXPECT_EQ(N(ProgramOfCommandLine(CStringW())), "");
    EXPECT_EQ(N(WindowProgramBeside(W("C:\\V\\Velmora.com"))), "C:\\V\\Velmora.exe");
    EXPECT_EQ(N(WindowProgramBeside(W("C:\\V\\Velmora64.COM"))), "C:\\V\\Velmora64.exe");
    EXPECT_EQ(N(WindowProgramBeside(W("C:\\V\\Velmora.exe"))), "C:\\V\\Velmora.exe");
    EXPECT_EQ(N(SendToShortcutFile(W("C:\\S\\"))), "C:\\S\\添加为运行命令.lnk");
}

class ExplorerIntegrationTest : public testing::Test {
protected:
    void SetUp() override {
        files.programs = {kVelmora, kMoved};
        // What the user's classes held before: nothing of ours may touch it.
        reg.PutText("U:Software\\Classes\\.txt", "", "txtfile");
        reg.PutText("U:Software\\Classes\\SystemFileAssociations\\.exe\\shell\\other\\command", "", "other.exe");
        files.shortcuts[files.sendTo + "\\Mail.lnk"] = "C:\\Mail\\mail.exe";
    }
    std::string Verb(const char* extension) {
        return std::string("U:Software\\Classes\\SystemFileAssociations\\") + extension +
               "\\shell\\VelmoraAddRunCommand";
    }
    std::string SendToFile() const { return files.sendTo + "\\添加为运行命令.lnk"; }

    static constexpr const char* kVelmora = "C:\\Tools\\Velmora.exe";
    static constexpr const char* kMoved = "D:\\New\\Velmora.exe";
    MemoryRegistry reg;
    MemoryShortcutFiles files;
    ExplorerIntegration explorer{reg, memreg::kUserRoot, files};
};

TEST_F(ExplorerIntegrationTest, OnWritesTheListedEntriesAndOffLeavesNothingBehind) {
    const memreg::Keys before = reg.keys;
    const auto shortcutsBefore = files.shortcuts;
    ASSERT_TRUE(explorer.TurnOn(W(kVelmora)));
    EXPECT_TRUE(explorer.IsOn(W(kVelmora)));
    EXPECT_FALSE(explorer.IsOn(W(kMoved)));
    for (const char* extension : {".exe", ".lnk"}) {
        const std::string key = Verb(extension);
        EXPECT_EQ(reg.TextOf(key, "MUIVerb"), "添加为运行命令…");
        EXPECT_EQ(reg.TextOf(key, "Icon"), "C:\\Tools\\Velmora.exe,0");
        EXPECT_EQ(reg.TextOf(key, "MultiSelectModel"), "Single");
        EXPECT_EQ(reg.TextOf(key + "\\command", ""), "\"C:\\Tools\\Velmora.exe\" \"%1\"");
        EXPECT_EQ(reg.keys.at(key).size(), 3u) << "no default value: the menu shows MUIVerb";
    }
    EXPECT_EQ(files.shortcuts.at(SendToFile()), kVelmora);
    // Exactly the listed values were added.
    std::size_t added = 0;
    for (const auto& [key, values] : reg.keys) added += before.count(key) ? 0 : values.size();
    EXPECT_EQ(added, ExplorerVerbValues(W(kVelmora)).size());
    for (const ExplorerEntryState& state : explorer.Status()) {
        EXPECT_TRUE(state.present && !state.Stale());
        EXPECT_EQ(N(state.program), kVelmora);
    }

    // On again (another copy) replaces, off removes it all, and again is harmless.
    ASSERT_TRUE(explorer.TurnOn(W(kMoved)));
    EXPECT_TRUE(explorer.IsOn(W("d:\\new\\VELMORA.exe")));
    ASSERT_TRUE(explorer.TurnOff());
    EXPECT_EQ(reg.keys, before);
    EXPECT_EQ(files.shortcuts, shortcutsBefore);
    ASSERT_TRUE(explorer.TurnOff());
    EXPECT_EQ(reg.keys, before);
    EXPECT_TRUE(reg.Balanced());

    // With nothing of the user's classes before, off removes the keys above the verbs too.
    MemoryRegistry empty;
    ExplorerIntegration fresh{empty, memreg::kUserRoot, files};
    empty.MakeKey("U:Software");
    const memreg::Keys bare = empty.keys;
    ASSERT_TRUE(fresh.TurnOn(W(kVelmora)));
    ASSERT_TRUE(fresh.TurnOff());
    EXPECT_EQ(empty.keys, bare);
}

TEST_F(ExplorerIntegrationTest, AFailedStepLeavesNoEntry) {
    const memreg::Keys before = reg.keys;
    const auto shortcutsBefore = files.shortcuts;
    // Every registry call of `on` made to fail in turn, then the shortcut.
    for (int call = 0;; ++call) {
        SCOPED_TRACE(call);
        reg.failAtCall = call;
        reg.calls = 0;
        const bool on = explorer.TurnOn(W(kVelmora));
        reg.failAtCall = -1;
        if (on) break;
        EXPECT_EQ(reg.keys, before);
        EXPECT_EQ(files.shortcuts, shortcutsBefore);
        ASSERT_LT(call, 200);
    }
    ASSERT_TRUE(explorer.TurnOff());
    files.refuseWrite = true;
    EXPECT_FALSE(explorer.TurnOn(W(kVelmora)));
    EXPECT_EQ(reg.keys, before);
    EXPECT_TRUE(reg.Balanced());
}

TEST_F(ExplorerIntegrationTest, StaleEntriesAreMendedOrRemoved) {
    ASSERT_TRUE(explorer.TurnOn(W(kVelmora)));
    const memreg::Keys on = reg.keys;
    EXPECT_EQ(explorer.Repair(W(kVelmora)).mended, 0) << "nothing stale";
    EXPECT_EQ(reg.keys, on);

    // Velmora moved: every entry is stale; repair points them at the new place.
    files.programs.erase(kVelmora);
    for (const ExplorerEntryState& state : explorer.Status()) EXPECT_TRUE(state.Stale());
    ExplorerIntegration::RepairCount count = explorer.Repair(W(kMoved));
    EXPECT_EQ(count.mended, 3);
    EXPECT_FALSE(count.failed);
    EXPECT_TRUE(explorer.IsOn(W(kMoved)));

    // A hand-damaged verb (no command) is stale too; with no Velmora to point
    // at, repair removes what is stale and keeps what works.
    reg.keys.erase(Verb(".lnk") + "\\command");
    files.shortcuts[SendToFile()] = "C:\\Gone\\Velmora.exe";
    count = explorer.Repair(CStringW());
    EXPECT_EQ(count.mended, 0);
    EXPECT_EQ(count.removed, 2);
    EXPECT_EQ(reg.keys.count(Verb(".lnk")), 0u);
    EXPECT_EQ(files.shortcuts.count(SendToFile()), 0u);
    EXPECT_EQ(reg.TextOf(Verb(".exe") + "\\command", ""), "\"D:\\New\\Velmora.exe\" \"%1\"");
}

}  // namespace
