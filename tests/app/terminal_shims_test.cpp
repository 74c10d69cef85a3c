// Commands that work in terminals, through a registry in memory and launcher
// files in memory: which names can be terminal commands, the PATH edits, the
// program kind from PE headers, turning a command on and off, and the store
// keeping launchers in step with every change (or changing nothing).
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/runcmd/RunCommandStore.h"
#include "app/terminal/PathVariable.h"
#include "app/terminal/ProgramKind.h"
#include "app/terminal/TerminalName.h"
#include "app/terminal/TerminalShims.h"
#include "memory_registry.h"
#include "memory_shim_files.h"

namespace {

using memreg::MemoryRegistry;

std::vector<unsigned char> CutAfter(std::vector<unsigned char> bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

TEST(ProgramKindTest, TheSubsystemChoosesTheLauncher) {
    struct Row {
        const char* what;
        std::vector<unsigned char> head;
        ProgramKind kind;
    } const rows[] = {
        {"windows", ProgramHead(2), ProgramKind::kWindows},
        {"console", ProgramHead(3), ProgramKind::kConsole},
        {"windows CE", ProgramHead(9), ProgramKind::kWindows},
        {"64-bit console", ProgramHead(3, 0x0022, 0x20B, 240), ProgramKind::kConsole},
        {"64-bit windows", ProgramHead(2, 0x0022, 0x20B, 240), ProgramKind::kWindows},
        {"a DLL", ProgramHead(2, 0x2102), ProgramKind::kNotAProgram},
        {"not executable", ProgramHead(2, 0x0100), ProgramKind::kNotAProgram},
        {"unknown optional header", ProgramHead(2, 0x0102, 0x107), ProgramKind::kNotAProgram},
        {"optional header too short", ProgramHead(2, 0x0102, 0x10B, 68), ProgramKind::kNotAProgram},
        {"cut before the subsystem", CutAfter(ProgramHead(2), 0x9D), ProgramKind::kNotAProgram},
        {"a text", std::vector<unsigned char>{'@', 'e', 'c', 'h', 'o'}, ProgramKind::kNotAProgram},
        {"nothing", {}, ProgramKind::kNotAProgram},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ProgramKindOf(row.head.data(), row.head.size()), row.kind) << row.what;
    }
}

TEST(TerminalNameTest, OnlyPlainFileNamesCanBeTerminalCommands) {
    struct Row {
        const char* name;
        TerminalNameCheck check;
    } const rows[] = {
        {"ed", TerminalNameCheck::kFits},
        {"my.tool", TerminalNameCheck::kFits},
        {"编辑器", TerminalNameCheck::kFits},
        {"console", TerminalNameCheck::kFits},
        {"com10", TerminalNameCheck::kFits},
        {"tools\\ed", TerminalNameCheck::kGrouped},
        {"con", TerminalNameCheck::kReserved},
        {"NUL", TerminalNameCheck::kReserved},
        {"nul.backup", TerminalNameCheck::kReserved},
        {"com1", TerminalNameCheck::kReserved},
        {"LPT9", TerminalNameCheck::kReserved},
        {"aux ", TerminalNameCheck::kBadEnd},
        {"ed.", TerminalNameCheck::kBadEnd},
        {"a:b", TerminalNameCheck::kBadCharacter},
        {"a|b", TerminalNameCheck::kBadCharacter},
        {"what?", TerminalNameCheck::kBadCharacter},
        {"a\"b", TerminalNameCheck::kBadCharacter},
        {"a/b", TerminalNameCheck::kBadCharacter},
        {"", TerminalNameCheck::kBadCharacter},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CheckTerminalName(W(row.name)), row.check) << row.name;
        EXPECT_EQ(TerminalNameProblem(W(row.name)).IsEmpty(), row.check == TerminalNameCheck::kFits) << row.name;
    }
    EXPECT_EQ(N(TerminalNameProblem(u"tools\\ed")), "“tools\\ed”带有分组，终端里只能用不带分组的名称");
}

TEST(PathVariableTest, TheFolderIsAddedOnceAndTakenOffAloneKeepingTheRest) {
    const char* bin = "C:\\Users\\me\\AppData\\Local\\Velmora\\bin";
    struct Row {
        const char* before;
        const char* with;
        const char* without;
    } const rows[] = {
        {"", bin, ""},
        {"C:\\A", "C:\\A;C:\\Users\\me\\AppData\\Local\\Velmora\\bin", "C:\\A"},
        {"C:\\A;", "C:\\A;C:\\Users\\me\\AppData\\Local\\Velmora\\bin", "C:\\A"},
        {"%USERPROFILE%\\bin;;C:\\B", "%USERPROFILE%\\bin;;C:\\B;C:\\Users\\me\\AppData\\Local\\Velmora\\bin",
         "%USERPROFILE%\\bin;;C:\\B"},
        // Named already, in another spelling: nothing added; every spelling taken off.
        {"C:\\A;c:\\users\\ME\\appdata\\local\\velmora\\BIN\\;C:\\B", "C:\\A;c:\\users\\ME\\appdata\\local\\velmora\\BIN\\;C:\\B",
         "C:\\A;C:\\B"},
        {"\"C:\\Users\\me\\AppData\\Local\\Velmora\\bin\"", "\"C:\\Users\\me\\AppData\\Local\\Velmora\\bin\"", ""},
        {"C:\\Users\\me\\AppData\\Local\\Velmora\\bin2", "C:\\Users\\me\\AppData\\Local\\Velmora\\bin2;C:\\Users\\me\\AppData\\Local\\Velmora\\bin",
         "C:\\Users\\me\\AppData\\Local\\Velmora\\bin2"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(N(PathListWith(W(row.before), W(bin))), row.with) << row.before;
        EXPECT_EQ(N(PathListWithout(W(row.with), W(bin))), row.without) << row.before;
    }
    const std::vector<CStringW> before = PathFoldersBefore(u"C:\\A; \"C:\\B\" ;;C:\\Bin\\;C:\\Z", u"c:\\bin");
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(N(before[1]), "C:\\B");
}

const RunCommandPlace kPlace{{memreg::kRoot, memreg::kUserRoot}, u"AP"};
const char* const kUserLauncher = "C:\\Users\\me\\AppData\\Local\\Velmora\\bin\\ed.exe";
const char* const kUserBin = "C:\\Users\\me\\AppData\\Local\\Velmora\\bin";

struct YesPrompts final : RunCommandPrompts {
    bool ConfirmReplace(const CStringW&) override { return true; }
    bool ConfirmDelete(const CStringW&) override { return true; }
};

class TerminalShimsTest : public testing::Test {
protected:
    void SetUp() override {
        reg.PutText("U:AP\\ed.exe", "", "C:\\Tools\\ed.exe");
        reg.PutText("U:AP\\view.exe", "", "\"C:\\Tools\\view.exe\"");
        reg.PutText("U:AP\\tools\\old.exe", "", "C:\\Tools\\old.exe");
        reg.PutRaw("U:Environment", "Path", kRegExpandSz, memreg::Utf16Bytes(std::string("%USERPROFILE%\\go;C:\\Mine") + '\0'));
        files.PutProgram("C:\\Tools\\ed.exe", 3);
        files.PutProgram("C:\\Tools\\view.exe", 2);
        files.PutProgram("C:\\Tools\\old.exe", 3);
    }
    RunEntry Listed(const std::string& command) {
        for (const RunEntry& entry : store.List().entries) {
            if (N(entry.command) == command && entry.scope == RunScope::kCurrentUser) return entry;
        }
        ADD_FAILURE() << command << " is not listed";
        return {};
    }
    std::string UserPath() { return reg.TextOf("U:Environment", "Path"); }

    MemoryRegistry reg;
    MemoryShimFiles files;
    YesPrompts prompts;
    TerminalShims shims{reg, kPlace, files};
    RunCommandStore store{reg, kPlace, RunScope::kCurrentUser, prompts, [](const CStringW&) { return true; }, &shims};
};

TEST_F(TerminalShimsTest, TurningOnMakesTheLauncherOfTheProgramsKindAndPutsTheFolderOnPathOnce) {
    EXPECT_EQ(shims.TurnOn(Listed("ed")), TerminalResult::kDone);
    EXPECT_EQ(files.KindAt(kUserLauncher), ProgramKind::kConsole);
    EXPECT_TRUE(Listed("ed").terminal);
    EXPECT_EQ(shims.TurnOn(Listed("view")), TerminalResult::kDone);
    EXPECT_EQ(files.KindAt(std::string(kUserBin) + "\\view.exe"), ProgramKind::kWindows);
    // Appended once, the other entries and the value's type kept, every window told once.
    EXPECT_EQ(UserPath(), "%USERPROFILE%\\go;C:\\Mine;" + std::string(kUserBin));
    EXPECT_EQ(reg.keys.at("U:Environment").at("Path").type, kRegExpandSz);
    EXPECT_EQ(files.announcements, 1);
    EXPECT_EQ(shims.TurnOn(Listed("ed")), TerminalResult::kUnchanged);

    bool last = false;
    EXPECT_EQ(shims.TurnOff(Listed("ed"), &last), TerminalResult::kDone);
    EXPECT_FALSE(files.Has(kUserLauncher));
    EXPECT_FALSE(Listed("ed").terminal);
    EXPECT_FALSE(last);
    EXPECT_EQ(shims.TurnOff(Listed("view"), &last), TerminalResult::kDone);
    EXPECT_TRUE(last);
    EXPECT_EQ(shims.TakeFolderOffPath(RunScope::kCurrentUser), TerminalResult::kDone);
    EXPECT_EQ(UserPath(), "%USERPROFILE%\\go;C:\\Mine");
    EXPECT_EQ(reg.keys.at("U:Environment").at("Path").type, kRegExpandSz);
}

TEST_F(TerminalShimsTest, RefusalsChangeNothing) {
    reg.PutText("U:AP\\con.exe", "", "C:\\Tools\\ed.exe");
    reg.PutText("U:AP\\notes.exe", "", "C:\\Tools\\notes.txt");
    files.files[MemoryShimFiles::Key(u"C:\\Tools\\notes.txt")] = {'h', 'i'};
    reg.PutText("U:AP\\gone.exe", "", "C:\\Gone\\gone.exe");
    const memreg::Keys before = reg.keys;
    EXPECT_EQ(shims.TurnOn(Listed("tools\\old")), TerminalResult::kBadName);
    EXPECT_EQ(shims.TurnOn(Listed("con")), TerminalResult::kBadName);
    EXPECT_EQ(shims.TurnOn(Listed("notes")), TerminalResult::kNotAProgram);
    EXPECT_EQ(shims.TurnOn(Listed("gone")), TerminalResult::kNotAProgram);
    files.refuseWrites = true;
    EXPECT_EQ(shims.TurnOn(Listed("ed")), TerminalResult::kFileFailed);
    EXPECT_EQ(reg.keys, before);
    EXPECT_EQ(files.LauncherNames(RunScope::kCurrentUser).size(), 0u);
    // PATH cannot be written: the launcher made for it goes again.
    files.refuseWrites = false;
    reg.failKind = memreg::RegCall::kSetValue;
    reg.failAtCall = 1;  // the mark is written, PATH is refused
    EXPECT_EQ(shims.TurnOn(Listed("ed")), TerminalResult::kRegistryFailed);
    EXPECT_FALSE(files.Has(kUserLauncher));
    EXPECT_FALSE(Listed("ed").terminal);
}

TEST_F(TerminalShimsTest, TheStoreKeepsLaunchersInStep) {
    ASSERT_EQ(shims.TurnOn(Listed("ed")), TerminalResult::kDone);
    const std::string renamed = std::string(kUserBin) + "\\editor.exe";

    // Rename: the launcher follows the name.
    EXPECT_EQ(store.Rename(Listed("ed"), u"editor"), EditResult::kDone);
    EXPECT_FALSE(files.Has(kUserLauncher));
    EXPECT_EQ(files.KindAt(renamed), ProgramKind::kConsole);
    // Into a group: refused, nothing changes.
    EXPECT_EQ(store.Rename(Listed("editor"), u"tools\\editor"), EditResult::kNotForTerminal);
    EXPECT_TRUE(files.Has(renamed));

    // Retarget to a windowed program: the launcher is swapped for that kind.
    EXPECT_EQ(store.ChangeTarget(Listed("editor"), u"C:\\Tools\\view.exe"), EditResult::kDone);
    EXPECT_EQ(files.KindAt(renamed), ProgramKind::kWindows);

    // Copied to the machine's scope: a launcher there too, its folder on that PATH.
    RunCommandStore machineStore{reg, kPlace, RunScope::kLocalMachine, prompts,
                                 [](const CStringW&) { return true; }, &shims};
    EXPECT_EQ(machineStore.CopyToScope({Listed("editor")}, RunScope::kLocalMachine).done.size(), 1u);
    EXPECT_TRUE(files.Has("C:\\ProgramData\\Velmora\\bin\\editor.exe"));
    EXPECT_EQ(reg.TextOf("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path"),
              "C:\\ProgramData\\Velmora\\bin");

    // Deleted: the launcher goes with it.
    EXPECT_EQ(store.Delete({Listed("editor")}).done.size(), 1u);
    EXPECT_FALSE(files.Has(renamed));
    EXPECT_TRUE(shims.Problems(store.List().entries).empty());
}

TEST_F(TerminalShimsTest, AStepTheLauncherCannotFollowLeavesBothAsTheyWere) {
    ASSERT_EQ(shims.TurnOn(Listed("ed")), TerminalResult::kDone);
    const memreg::Keys before = reg.keys;
    // A launcher that is running cannot be removed (nor replaced).
    files.locked.insert(MemoryShimFiles::Key(W(kUserLauncher)));
    EXPECT_EQ(store.Rename(Listed("ed"), u"editor"), EditResult::kFailed);
    EXPECT_EQ(store.ChangeTarget(Listed("ed"), u"C:\\Tools\\view.exe"), EditResult::kFailed);
    const RunBatchResult deleted = store.Delete({Listed("ed")});
    EXPECT_TRUE(deleted.done.empty());
    ASSERT_EQ(deleted.failures.size(), 1u);
    EXPECT_EQ(reg.keys, before);
    EXPECT_EQ(files.KindAt(kUserLauncher), ProgramKind::kConsole);
    EXPECT_FALSE(files.Has(std::string(kUserBin) + "\\editor.exe"));
}

TEST_F(TerminalShimsTest, AnImportOverAMarkedCommandFollowsWhatTheFileHolds) {
    ASSERT_EQ(shims.TurnOn(Listed("ed")), TerminalResult::kDone);
    const std::u16string file =
        u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\AP\\ed.exe]\r\n@=\"C:\\\\Tools\\\\ed.exe\"\r\n\r\n"
        u"[HKEY_CURRENT_USER\\AP\\viewer.exe]\r\n@=\"C:\\\\Tools\\\\view.exe\"\r\n"
        u"\"VelmoraTerminal\"=dword:00000001\r\n";
    const ImportPlan plan =
        store.PlanImport(reinterpret_cast<const unsigned char*>(file.data()), file.size() * sizeof(char16_t));
    ASSERT_EQ(plan.items.size(), 2u);
    const ImportCounts counts = store.ApplyImport(plan, {true, true});
    EXPECT_EQ(counts.replaced, 1);
    EXPECT_EQ(counts.added, 1);
    // ed replaced by an unmarked copy: its launcher goes; viewer comes marked: it gets one.
    EXPECT_FALSE(files.Has(kUserLauncher));
    EXPECT_EQ(files.KindAt(std::string(kUserBin) + "\\viewer.exe"), ProgramKind::kWindows);
}

TEST_F(TerminalShimsTest, CheckFindsStrayAndMissingLaunchersAndRepairFixesThem) {
    ASSERT_EQ(shims.TurnOn(Listed("ed")), TerminalResult::kDone);
    ASSERT_EQ(shims.TurnOn(Listed("view")), TerminalResult::kDone);
    files.Remove(W(kUserLauncher));                                            // marked, launcher gone
    files.WriteLauncher(W(std::string(kUserBin) + "\\view.exe"), ProgramKind::kConsole);  // the wrong kind
    files.WriteLauncher(W(std::string(kUserBin) + "\\stray.exe"), ProgramKind::kConsole);  // no command
    const std::vector<TerminalProblem> problems = shims.Problems(store.List().entries);
    std::set<std::string> found;
    for (const TerminalProblem& problem : problems) found.insert(N(problem.command) + ":" + std::to_string(problem.kind));
    EXPECT_EQ(found, (std::set<std::string>{"ed:1", "view:2", "stray:0"}));
    EXPECT_TRUE(shims.Repair(problems).empty());
    EXPECT_TRUE(shims.Problems(store.List().entries).empty());
    EXPECT_EQ(files.KindAt(kUserLauncher), ProgramKind::kConsole);
    EXPECT_FALSE(files.Has(std::string(kUserBin) + "\\stray.exe"));
}

TEST_F(TerminalShimsTest, AProgramEarlierOnPathShadowsTheCommand) {
    reg.PutText("Environment", "Path", "C:\\Windows;C:\\Other");  // not the machine's key: no effect
    reg.PutRaw("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path", kRegExpandSz,
               memreg::Utf16Bytes(std::string("C:\\Windows;C:\\Machine") + '\0'));
    ASSERT_EQ(shims.TurnOn(Listed("ed")), TerminalResult::kDone);
    EXPECT_TRUE(Listed("ed").terminalShadowedBy.IsEmpty());
    files.PutProgram("C:\\Mine\\ed.bat", 3);  // the user's PATH, before our folder
    EXPECT_EQ(N(Listed("ed").terminalShadowedBy), "C:\\Mine\\ed.BAT");
    files.PutProgram("C:\\Machine\\ED.COM", 3);  // the machine's PATH comes first
    EXPECT_EQ(N(Listed("ed").terminalShadowedBy), "C:\\Machine\\ed.COM");
    EXPECT_FALSE(Listed("ed").terminalLauncherMissing);
    files.Remove(W(kUserLauncher));
    EXPECT_TRUE(Listed("ed").terminalLauncherMissing);
}

}  // namespace
