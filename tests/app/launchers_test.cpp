// Commands that work in terminals, through a registry in memory and launcher
// files in memory: which names can be terminal commands, the PATH edits, the
// program kind from PE headers, turning a command on and off through the
// store, and the store keeping launchers in step with every change (or
// changing nothing).
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/launcher/Launchers.h"
#include "app/launcher/PathVariable.h"
#include "app/launcher/ProgramKind.h"
#include "app/runcmd/FolderSecurity.h"
#include "app/runcmd/RunCommandStore.h"
#include "app/runcmd/TerminalName.h"
#include "app/text/OutcomeText.h"
#include "fixed_prompts.h"
#include "memory_launcher_files.h"
#include "memory_registry.h"

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
        // A quoted semicolon belongs to its folder, as in every folder list.
        {"\"C:\\A;C:\\Users\\me\\AppData\\Local\\Velmora\\bin\"",
         "\"C:\\A;C:\\Users\\me\\AppData\\Local\\Velmora\\bin\";C:\\Users\\me\\AppData\\Local\\Velmora\\bin",
         "\"C:\\A;C:\\Users\\me\\AppData\\Local\\Velmora\\bin\""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(N(PathListWith(W(row.before), W(bin))), row.with) << row.before;
        EXPECT_EQ(N(PathListWithout(W(row.with), W(bin))), row.without) << row.before;
    }
    const std::vector<CStringW> before = PathFoldersBefore(u"C:\\A; \"C:\\B\" ;;C:\\Bin\\;C:\\Z", u"c:\\bin");
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(N(before[1]), "C:\\B");
    const std::vector<CStringW> quoted = PathFoldersBefore(u"\"C:\\A;C:\\Bin\";C:\\Bin", u"c:\\bin");
    ASSERT_EQ(quoted.size(), 1u);
    EXPECT_EQ(N(quoted[0]), "C:\\A;C:\\Bin");
}

const RunCommandPlace kPlace{{memreg::kRoot, memreg::kUserRoot}, u"AP"};
const char* const kUserLauncher = "C:\\Users\\me\\AppData\\Local\\Velmora\\bin\\ed.exe";
const char* const kUserBin = "C:\\Users\\me\\AppData\\Local\\Velmora\\bin";
const char* const kUserOptions = "C:\\Users\\me\\AppData\\Local\\Velmora\\bin\\options";

class LaunchersTest : public testing::Test {
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

    // One entry on (or off) through the store, and what came of it.
    ChangeResult TurnOn(const RunEntry& entry) { return store.SetTerminal({entry}, true).results.at(0); }
    ChangeResult TurnOff(const RunEntry& entry, bool* pLast) {
        const RunBatchResult result = store.SetTerminal({entry}, false);
        *pLast = !result.emptiedScopes.empty();
        return result.results.at(0);
    }

    MemoryRegistry reg;
    MemoryLauncherFiles files;
    FixedPrompts prompts;
    Launchers shims{reg, kPlace, files};
    RunCommandStore store{reg, kPlace, {RunScope::kCurrentUser, false}, prompts, [](const CStringW&) { return true; },
                          &shims};
};

TEST_F(LaunchersTest, TurningOnMakesTheLauncherOfTheProgramsKindAndPutsTheFolderOnPathOnce) {
    EXPECT_EQ(TurnOn(Listed("ed")), ChangeResult::kDone);
    EXPECT_EQ(files.KindAt(kUserLauncher), ProgramKind::kConsole);
    EXPECT_TRUE(Listed("ed").terminal);
    EXPECT_EQ(TurnOn(Listed("view")), ChangeResult::kDone);
    EXPECT_EQ(files.KindAt(std::string(kUserBin) + "\\view.exe"), ProgramKind::kWindows);
    // Appended once, the other entries and the value's type kept, every window told once.
    EXPECT_EQ(UserPath(), "%USERPROFILE%\\go;C:\\Mine;" + std::string(kUserBin));
    EXPECT_EQ(reg.keys.at("U:Environment").at("Path").type, kRegExpandSz);
    EXPECT_EQ(files.announcements, 1);
    EXPECT_EQ(TurnOn(Listed("ed")), ChangeResult::kUnchanged);

    bool last = false;
    EXPECT_EQ(TurnOff(Listed("ed"), &last), ChangeResult::kDone);
    EXPECT_FALSE(files.Has(kUserLauncher));
    EXPECT_FALSE(Listed("ed").terminal);
    EXPECT_FALSE(last);
    EXPECT_EQ(TurnOff(Listed("view"), &last), ChangeResult::kDone);
    EXPECT_TRUE(last);
    EXPECT_EQ(store.TakeLauncherFolderOffPath(RunScope::kCurrentUser), ChangeResult::kDone);
    EXPECT_EQ(UserPath(), "%USERPROFILE%\\go;C:\\Mine");
    EXPECT_EQ(reg.keys.at("U:Environment").at("Path").type, kRegExpandSz);
}

TEST_F(LaunchersTest, RefusalsChangeNothing) {
    reg.PutText("U:AP\\con.exe", "", "C:\\Tools\\ed.exe");
    reg.PutText("U:AP\\notes.exe", "", "C:\\Tools\\notes.txt");
    files.files[MemoryLauncherFiles::Key(u"C:\\Tools\\notes.txt")] = {'h', 'i'};
    reg.PutText("U:AP\\gone.exe", "", "C:\\Gone\\gone.exe");
    const memreg::Keys before = reg.keys;
    EXPECT_EQ(TurnOn(Listed("tools\\old")), ChangeResult::kNotForTerminal);
    EXPECT_EQ(TurnOn(Listed("con")), ChangeResult::kNotForTerminal);
    EXPECT_EQ(TurnOn(Listed("notes")), ChangeResult::kNotAProgram);
    EXPECT_EQ(TurnOn(Listed("gone")), ChangeResult::kNotAProgram);
    files.refuseWrites = true;
    EXPECT_EQ(TurnOn(Listed("ed")), ChangeResult::kLauncherFailed);
    EXPECT_EQ(reg.keys, before);
    EXPECT_EQ(files.LauncherNames(RunScope::kCurrentUser).size(), 0u);
    // PATH cannot be written: the launcher made for it goes again.
    files.refuseWrites = false;
    reg.failKind = memreg::RegCall::kSetValue;
    reg.failAtCall = 1;  // the mark is written, PATH is refused
    EXPECT_EQ(TurnOn(Listed("ed")), ChangeResult::kRegistryFailed);
    EXPECT_FALSE(files.Has(kUserLauncher));
    EXPECT_FALSE(Listed("ed").terminal);
}

TEST_F(LaunchersTest, TheStoreKeepsLaunchersInStep) {
    ASSERT_EQ(TurnOn(Listed("ed")), ChangeResult::kDone);
    const std::string renamed = std::string(kUserBin) + "\\editor.exe";

    // Rename: the launcher follows the name.
    EXPECT_EQ(store.Rename(Listed("ed"), u"editor"), ChangeResult::kDone);
    EXPECT_FALSE(files.Has(kUserLauncher));
    EXPECT_EQ(files.KindAt(renamed), ProgramKind::kConsole);
    // Into a group: refused, nothing changes.
    EXPECT_EQ(store.Rename(Listed("editor"), u"tools\\editor"), ChangeResult::kNotForTerminal);
    EXPECT_TRUE(files.Has(renamed));

    // Retarget to a windowed program: the launcher is swapped for that kind.
    EXPECT_EQ(store.ChangeTarget(Listed("editor"), u"C:\\Tools\\view.exe"), ChangeResult::kDone);
    EXPECT_EQ(files.KindAt(renamed), ProgramKind::kWindows);

    // Copied to the machine's scope: a launcher there too, its folder on that PATH.
    RunCommandStore machineStore{reg, kPlace, {RunScope::kLocalMachine, true}, prompts,
                                 [](const CStringW&) { return true; }, &shims};
    EXPECT_EQ(machineStore.CopyToScope({Listed("editor")}, RunScope::kLocalMachine).done.size(), 1u);
    EXPECT_TRUE(files.Has("C:\\ProgramData\\Velmora\\bin\\editor.exe"));
    EXPECT_EQ(reg.TextOf("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path"),
              "C:\\ProgramData\\Velmora\\bin");

    // Deleted: the launcher goes with it.
    EXPECT_EQ(store.Delete({Listed("editor")}).done.size(), 1u);
    EXPECT_FALSE(files.Has(renamed));
    EXPECT_TRUE(store.LauncherProblems(store.List().entries).empty());
}

TEST_F(LaunchersTest, AStepTheLauncherCannotFollowLeavesBothAsTheyWere) {
    ASSERT_EQ(TurnOn(Listed("ed")), ChangeResult::kDone);
    const memreg::Keys before = reg.keys;
    // A launcher that is running cannot be removed (nor replaced).
    files.locked.insert(MemoryLauncherFiles::Key(W(kUserLauncher)));
    EXPECT_EQ(store.Rename(Listed("ed"), u"editor"), ChangeResult::kLauncherFailed);
    EXPECT_EQ(store.ChangeTarget(Listed("ed"), u"C:\\Tools\\view.exe"), ChangeResult::kLauncherFailed);
    const RunBatchResult deleted = store.Delete({Listed("ed")});
    EXPECT_TRUE(deleted.done.empty());
    ASSERT_EQ(deleted.failures.size(), 1u);
    EXPECT_EQ(deleted.failures[0].result, ChangeResult::kLauncherFailed) << "the launcher, not the registry";
    EXPECT_EQ(reg.keys, before);
    EXPECT_EQ(files.KindAt(kUserLauncher), ProgramKind::kConsole);
    EXPECT_FALSE(files.Has(std::string(kUserBin) + "\\editor.exe"));
}

// Every change that spans keys, values and launcher files, with a failure
// injected at each registry call and at each launcher written or removed in
// turn: whatever does not come back done leaves the registry and the
// launcher files byte for byte as they were.
TEST_F(LaunchersTest, AFailureAtAnyStepOfAChangeLeavesKeysValuesAndLaunchersAsTheyWere) {
    // ed works in terminals, but its folder is not on PATH yet: a change that
    // keeps its launcher puts it there too.
    reg.PutRaw("U:AP\\ed.exe", "VelmoraTerminal", kRegDword, std::string("\x01\0\0\0", 4));
    files.WriteLauncher(W(kUserLauncher), ProgramKind::kConsole);
    reg.PutText("U:AP\\grouped\\kept.exe", "", "C:\\Tools\\ed.exe");
    // opt has options, its launcher in place.
    reg.PutText("U:AP\\opt.exe", "", std::string(kUserOptions) + "\\opt.exe");
    reg.PutText("U:AP\\opt.exe", "VelmoraProgram", "C:\\Tools\\view.exe");
    reg.PutText("U:AP\\opt.exe", "VelmoraArguments", "-x %*");
    files.WriteLauncher(W(std::string(kUserOptions) + "\\opt.exe"), ProgramKind::kWindows);
    // Written by another user: its launcher lies in their folder.
    const std::u16string optionsFile =
        u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\AP\\opt.exe]\r\n@=\"C:\\\\Users\\\\bob\\\\AppData\\\\Local\\\\Velmora\\\\bin\\\\options\\\\opt.exe\"\r\n"
        u"\"VelmoraProgram\"=\"C:\\\\Tools\\\\ed.exe\"\r\n\"VelmoraRunAsAdministrator\"=dword:00000001\r\n";
    const ImportPlan optionsPlan = store.PlanImport(reinterpret_cast<const unsigned char*>(optionsFile.data()),
                                                    optionsFile.size() * sizeof(char16_t));
    RunCommandOptions options;
    options.arguments = u"-v %*";
    options.environment = {u"A=1"};
    RunCommandOptionsChange folderAndVariable;
    folderAndVariable.folder = u"C:\\Work";
    folderAndVariable.environment = {u"B=%A%"};
    RunCommandOptionsChange noArguments;
    noArguments.arguments = CStringW();
    const std::u16string file =
        u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\AP\\ed.exe]\r\n@=\"C:\\\\Tools\\\\view.exe\"\r\n"
        u"\"VelmoraTerminal\"=dword:00000001\r\n";
    const ImportPlan plan =
        store.PlanImport(reinterpret_cast<const unsigned char*>(file.data()), file.size() * sizeof(char16_t));
    const RunEntry ed = Listed("ed");
    const RunEntry view = Listed("view");
    const RunEntry opt = Listed("opt");
    struct Row {
        const char* what;
        std::function<ChangeResult()> change;
    } const rows[] = {
        {"add with Path and terminal",
         [&] { return store.Add({u"grouped\\t", u"C:\\Tools\\view.exe", std::vector<CStringW>{u"C:\\A"}, false, {}}); }},
        {"add for terminals over a terminal command",
         [&] { return store.Add({u"ed", u"C:\\Tools\\view.exe", std::vector<CStringW>{u"C:\\A"}, true, {}}); }},
        {"a new command for terminals", [&] { return store.Add({u"t", u"C:\\Tools\\view.exe", {}, true, {}}); }},
        {"rename of a command on for terminals", [&] { return store.Rename(ed, u"editor"); }},
        {"rename into a group", [&] { return store.Rename(view, u"grouped\\view"); }},
        {"retarget to another kind", [&] { return store.ChangeTarget(ed, u"C:\\Tools\\view.exe"); }},
        {"terminal off", [&] { return store.SetTerminal({ed}, false).results.at(0); }},
        {"delete of a terminal command", [&] { return store.Delete({ed}).done.empty() ? ChangeResult::kRegistryFailed : ChangeResult::kDone; }},
        {"import over one",
         [&] { return store.ApplyImport(plan, {true}).replaced == 1 ? ChangeResult::kDone : ChangeResult::kRegistryFailed; }},
        {"add with options", [&] { return store.Add({u"n", u"C:\\Tools\\view.exe", {}, true, options}); }},
        {"options set", [&] { return store.SetOptions(ed, folderAndVariable); }},
        {"last option cleared", [&] { return store.SetOptions(opt, noArguments); }},
        {"rename of a command with options", [&] { return store.Rename(opt, u"opt2"); }},
        {"retarget of a command with options", [&] { return store.ChangeTarget(opt, u"C:\\Tools\\ed.exe"); }},
        {"delete of a command with options",
         [&] { return store.Delete({opt}).done.empty() ? ChangeResult::kRegistryFailed : ChangeResult::kDone; }},
        {"import over a command with options",
         [&] { return store.ApplyImport(optionsPlan, {true}).replaced == 1 ? ChangeResult::kDone : ChangeResult::kRegistryFailed; }},
    };
    const memreg::Keys keysBefore = reg.keys;
    const auto filesBefore = files.files;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // Once whole, to count the registry calls and launcher changes it makes.
        reg.calls = 0;
        files.changes = 0;
        ASSERT_EQ(row.change(), ChangeResult::kDone);
        const int calls = reg.calls;
        const int changes = files.changes;
        EXPECT_GT(calls, 0);
        int failed = 0;
        for (int at = 0; at < calls + changes; ++at) {
            SCOPED_TRACE(at);
            reg.keys = keysBefore;
            files.files = filesBefore;
            reg.calls = 0;
            files.changes = 0;
            reg.failAtCall = at < calls ? at : -1;
            files.failChangeAt = at < calls ? -1 : at - calls;
            const ChangeResult result = row.change();
            reg.failAtCall = -1;
            files.failChangeAt = -1;
            EXPECT_TRUE(reg.Balanced());
            if (result == ChangeResult::kDone) continue;
            ++failed;
            EXPECT_TRUE(reg.keys == keysBefore) << static_cast<int>(result);
            EXPECT_TRUE(files.files == filesBefore) << static_cast<int>(result);
        }
        EXPECT_GT(failed, 0);
        reg.keys = keysBefore;
        files.files = filesBefore;
    }
}

TEST_F(LaunchersTest, AnImportOverAMarkedCommandFollowsWhatTheFileHolds) {
    ASSERT_EQ(TurnOn(Listed("ed")), ChangeResult::kDone);
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

TEST_F(LaunchersTest, CheckFindsStrayAndMissingLaunchersAndRepairFixesThem) {
    ASSERT_EQ(TurnOn(Listed("ed")), ChangeResult::kDone);
    ASSERT_EQ(TurnOn(Listed("view")), ChangeResult::kDone);
    files.Remove(W(kUserLauncher));                                            // marked, launcher gone
    files.WriteLauncher(W(std::string(kUserBin) + "\\view.exe"), ProgramKind::kConsole);  // the wrong kind
    files.WriteLauncher(W(std::string(kUserBin) + "\\stray.exe"), ProgramKind::kConsole);  // no command
    const std::vector<LauncherProblem> problems = store.LauncherProblems(store.List().entries);
    std::set<std::string> found;
    for (const LauncherProblem& problem : problems) found.insert(N(problem.command) + ":" + std::to_string(problem.kind));
    EXPECT_EQ(found, (std::set<std::string>{"ed:1", "view:2", "stray:0"}));
    EXPECT_TRUE(store.RepairLaunchers(problems).empty());
    EXPECT_TRUE(store.LauncherProblems(store.List().entries).empty());
    EXPECT_EQ(files.KindAt(kUserLauncher), ProgramKind::kConsole);
    EXPECT_FALSE(files.Has(std::string(kUserBin) + "\\stray.exe"));
}

// A command's options: its program moves to a value of its own and its
// default value names its launcher; every change keeps that in step, and
// clearing the last option gives back the plain entry byte for byte.
TEST_F(LaunchersTest, OptionsPointTheEntryAtItsLauncherAndClearedGiveThePlainEntryBack) {
    const std::string launcher = std::string(kUserOptions) + "\\ed.exe";
    const memreg::Keys plain = reg.keys;
    RunCommandOptionsChange all;
    all.arguments = u"-A %* 100%%";
    all.folder = u"%USERPROFILE%\\w";
    all.environment = {u"JAVA_HOME=C:\\J", u"X=%JAVA_HOME%\\bin"};
    all.administrator = true;
    ASSERT_EQ(store.SetOptions(Listed("ed"), all), ChangeResult::kDone);
    const memreg::Values& values = reg.keys.at("U:AP\\ed.exe");
    EXPECT_EQ(reg.TextOf("U:AP\\ed.exe", ""), launcher);
    EXPECT_EQ(values.at("").type, kRegSz);
    EXPECT_EQ(reg.TextOf("U:AP\\ed.exe", "VelmoraProgram"), "C:\\Tools\\ed.exe");
    EXPECT_EQ(reg.TextOf("U:AP\\ed.exe", "VelmoraArguments"), "-A %* 100%%");
    EXPECT_EQ(values.at("VelmoraWorkingFolder").type, kRegExpandSz);
    EXPECT_EQ(values.at("VelmoraEnvironment").type, kRegMultiSz);
    EXPECT_EQ(values.at("VelmoraEnvironment").data,
              memreg::Utf16Bytes(std::string("JAVA_HOME=C:\\J\0X=%JAVA_HOME%\\bin\0", 33)) + std::string(2, '\0'));
    EXPECT_EQ(values.at("VelmoraRunAsAdministrator").data, std::string("\x01\0\0\0", 4));
    EXPECT_EQ(files.KindAt(launcher), ProgramKind::kConsole);
    // Everything shows the real program and the options.
    const RunEntry ed = Listed("ed");
    EXPECT_EQ(N(ed.target), "C:\\Tools\\ed.exe");
    EXPECT_EQ(N(ed.options.environment.at(1)), "X=%JAVA_HOME%\\bin");
    EXPECT_TRUE(ed.options.administrator);
    files.folders.insert(MemoryLauncherFiles::Key(u"%USERPROFILE%\\w"));
    EXPECT_TRUE(store.LauncherProblems(store.List().entries).empty());

    // A variable replaced and one removed; then every option cleared.
    RunCommandOptionsChange variables;
    variables.environment = {u"java_home=D:\\J", u"X="};
    ASSERT_EQ(store.SetOptions(Listed("ed"), variables), ChangeResult::kDone);
    EXPECT_EQ(Listed("ed").options.environment, std::vector<CStringW>{u"java_home=D:\\J"});
    // What the options dialog sends: only what differs.
    const RunCommandOptionsChange none = ChangeBetween(Listed("ed").options, RunCommandOptions());
    EXPECT_EQ(none.environment, std::vector<CStringW>{u"java_home="});
    ASSERT_EQ(store.SetOptions(Listed("ed"), none), ChangeResult::kDone);
    EXPECT_EQ(reg.keys, plain);
    EXPECT_FALSE(files.Has(launcher));
    EXPECT_EQ(store.SetOptions(Listed("ed"), none), ChangeResult::kUnchanged);

    // Registered again over a command with options: the program changes, the options stay.
    ASSERT_EQ(store.SetOptions(Listed("ed"), all), ChangeResult::kDone);
    ASSERT_EQ(store.Register(u"ed", u"C:\\Tools\\view.exe"), ChangeResult::kDone);
    EXPECT_EQ(reg.TextOf("U:AP\\ed.exe", ""), launcher);
    EXPECT_EQ(reg.TextOf("U:AP\\ed.exe", "VelmoraProgram"), "C:\\Tools\\view.exe");
    EXPECT_EQ(files.KindAt(launcher), ProgramKind::kWindows);
    EXPECT_EQ(store.ChangeTarget(Listed("ed"), u"C:\\Tools\\ed.exe"), ChangeResult::kDone);
    EXPECT_EQ(reg.TextOf("U:AP\\ed.exe", ""), launcher);
    EXPECT_EQ(files.KindAt(launcher), ProgramKind::kConsole);

    // Renamed: the launcher and the default value follow the name.
    ASSERT_EQ(store.Rename(Listed("ed"), u"editor"), ChangeResult::kDone);
    const std::string renamed = std::string(kUserOptions) + "\\editor.exe";
    EXPECT_FALSE(files.Has(launcher));
    EXPECT_EQ(reg.TextOf("U:AP\\editor.exe", ""), renamed);
    EXPECT_EQ(files.KindAt(renamed), ProgramKind::kConsole);
    EXPECT_EQ(store.Rename(Listed("editor"), u"tools\\editor"), ChangeResult::kNotForTerminal);

    // Exported, deleted and imported: the launcher is made again.
    const RunCommandExport exported = store.Export({Listed("editor")});
    ASSERT_EQ(store.Delete({Listed("editor")}).done.size(), 1u);
    EXPECT_FALSE(files.Has(renamed));
    const ImportPlan plan = store.PlanImport(exported.file.data(), exported.file.size());
    ASSERT_EQ(store.ApplyImport(plan, {true}).added, 1);
    EXPECT_EQ(reg.TextOf("U:AP\\editor.exe", ""), renamed);
    EXPECT_TRUE(files.Has(renamed));
    EXPECT_EQ(N(Listed("editor").options.arguments), "-A %* 100%%");

    // Copied to the machine: a launcher in the machine's folder.
    RunCommandStore machineStore{reg, kPlace, {RunScope::kLocalMachine, true}, prompts,
                                 [](const CStringW&) { return true; }, &shims};
    EXPECT_EQ(machineStore.CopyToScope({Listed("editor")}, RunScope::kLocalMachine).done.size(), 1u);
    EXPECT_EQ(reg.TextOf("AP\\editor.exe", ""), "C:\\ProgramData\\Velmora\\bin\\options\\editor.exe");
    EXPECT_TRUE(files.Has("C:\\ProgramData\\Velmora\\bin\\options\\editor.exe"));
}

TEST_F(LaunchersTest, OptionsThatCannotBeAreRefusedWithNothingWritten) {
    RunCommandOptionsChange arguments;
    arguments.arguments = u"-x";
    RunCommandOptionsChange nameless;
    nameless.environment = {u"=x"};
    reg.PutText("U:AP\\notes.exe", "", "C:\\Tools\\notes.txt");
    const memreg::Keys withNotes = reg.keys;
    EXPECT_EQ(store.SetOptions(Listed("tools\\old"), arguments), ChangeResult::kNotForTerminal);
    EXPECT_EQ(store.SetOptions(Listed("ed"), nameless), ChangeResult::kInvalidName);
    EXPECT_EQ(store.SetOptions(Listed("notes"), arguments), ChangeResult::kNotAProgram);
    EXPECT_EQ(store.Add({u"tools\\n", u"C:\\Tools\\ed.exe", {}, false, {u"-x", {}, {}, false}}),
              ChangeResult::kNotForTerminal);
    RunCommandStore machineStore{reg, kPlace, {RunScope::kLocalMachine, false}, prompts,
                                 [](const CStringW&) { return true; }, &shims};
    RunEntry machine = Listed("ed");
    machine.scope = RunScope::kLocalMachine;
    EXPECT_EQ(machineStore.SetOptions(machine, arguments), ChangeResult::kNeedsAdministrator);
    // A launcher that cannot be written leaves the entry as it was.
    files.refuseWrites = true;
    EXPECT_EQ(store.SetOptions(Listed("ed"), arguments), ChangeResult::kLauncherFailed);
    EXPECT_EQ(reg.keys, withNotes);
    EXPECT_EQ(files.LauncherNames(RunScope::kCurrentUser).size(), 0u);
}

TEST_F(LaunchersTest, CheckTellsOfOptionsNotAppliedAndRepairPointsTheEntryBack) {
    RunCommandOptionsChange change;
    change.arguments = u"-x";
    change.folder = u"C:\\Nowhere";
    ASSERT_EQ(store.SetOptions(Listed("ed"), change), ChangeResult::kDone);
    ASSERT_EQ(store.SetOptions(Listed("view"), change), ChangeResult::kDone);
    reg.PutText("U:AP\\ed.exe", "", "C:\\Tools\\view.exe");  // another tool rewrote it
    files.Remove(W(std::string(kUserOptions) + "\\view.exe"));
    files.folders.insert(MemoryLauncherFiles::Key(u"C:\\Nowhere"));
    std::set<std::string> found;
    for (const LauncherProblem& problem : store.LauncherProblems(store.List().entries))
        found.insert(N(problem.command) + ":" + std::to_string(problem.kind));
    EXPECT_EQ(found, (std::set<std::string>{"ed:3", "view:4"}));
    files.folders.clear();
    const std::vector<LauncherProblem> problems = store.LauncherProblems(store.List().entries);
    EXPECT_EQ(problems.size(), 4u);
    // The folder is the user's to make: it stays a problem.
    const std::vector<LauncherProblem> left = store.RepairLaunchers(problems);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].kind, LauncherProblem::kMissingOptionsFolder);
    // The program another tool wrote is the one the command starts now.
    EXPECT_EQ(reg.TextOf("U:AP\\ed.exe", "VelmoraProgram"), "C:\\Tools\\view.exe");
    EXPECT_EQ(reg.TextOf("U:AP\\ed.exe", ""), std::string(kUserOptions) + "\\ed.exe");
    EXPECT_EQ(files.KindAt(std::string(kUserOptions) + "\\view.exe"), ProgramKind::kWindows);
}

TEST_F(LaunchersTest, AProgramEarlierOnPathShadowsTheCommand) {
    reg.PutText("Environment", "Path", "C:\\Windows;C:\\Other");  // not the machine's key: no effect
    reg.PutRaw("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path", kRegExpandSz,
               memreg::Utf16Bytes(std::string("C:\\Windows;C:\\Machine") + '\0'));
    ASSERT_EQ(TurnOn(Listed("ed")), ChangeResult::kDone);
    EXPECT_TRUE(Listed("ed").terminalShadowedBy.IsEmpty());
    files.PutProgram("C:\\Mine\\ed.bat", 3);  // the user's PATH, before our folder
    EXPECT_EQ(N(Listed("ed").terminalShadowedBy), "C:\\Mine\\ed.BAT");
    files.PutProgram("C:\\Machine\\ED.COM", 3);  // the machine's PATH comes first
    EXPECT_EQ(N(Listed("ed").terminalShadowedBy), "C:\\Machine\\ed.COM");
    EXPECT_FALSE(Listed("ed").terminalLauncherMissing);
    files.Remove(W(kUserLauncher));
    EXPECT_TRUE(Listed("ed").terminalLauncherMissing);
}

// What the Run box starts for a bare name: the Windows folder, System32 and
// every PATH folder come before App Paths, each tried with PATHEXT in order.
TEST_F(LaunchersTest, TheRunBoxTellsWhatTakesACommandsName) {
    files.variables["%SystemRoot%"] = "C:\\Windows";
    files.variables["%LOCALAPPDATA%"] = "C:\\Users\\me\\AppData\\Local";
    reg.PutRaw("U:Environment", "Path", kRegExpandSz,
               memreg::Utf16Bytes(std::string("C:\\Mine;C:\\Users\\me\\AppData\\Local\\Microsoft\\WindowsApps") + '\0'));
    ASSERT_EQ(TurnOn(Listed("ed")), ChangeResult::kDone);  // its own launcher on PATH is no rival
    struct Row {
        const char* file;  // put in place, in this order
        const char* taker;
        bool alias;
    } const rows[] = {
        {nullptr, "", false},
        {"C:\\Users\\me\\AppData\\Local\\Microsoft\\WindowsApps\\ed.exe",
         "C:\\Users\\me\\AppData\\Local\\Microsoft\\WindowsApps\\ed.EXE", true},
        {"C:\\Mine\\ed.bat", "C:\\Mine\\ed.BAT", false},
        {"C:\\Mine\\ed.com", "C:\\Mine\\ed.COM", false},  // PATHEXT's order within a folder
        {"C:\\Windows\\System32\\ed.exe", "C:\\Windows\\System32\\ed.EXE", false},
        {"C:\\Windows\\ed.bat", "C:\\Windows\\ed.BAT", false},
    };
    for (const Row& row : rows) {
        if (row.file != nullptr) files.PutProgram(row.file, 3);
        const RunEntry entry = Listed("ed");
        EXPECT_EQ(N(entry.runTakenBy), row.taker) << (row.file ? row.file : "nothing");
        EXPECT_EQ(entry.runTakenByAlias, row.alias) << row.taker;
    }
    // A name with a folder in it is a path to the Run box.
    files.PutProgram("C:\\Mine\\old.exe", 3);
    EXPECT_TRUE(Listed("tools\\old").runTakenBy.IsEmpty());
}

// The rule that judges a machine launcher folder's descriptor, as SDDL.
TEST(FolderSecurityTest, OnlyAdministratorsAndSystemMayChangeAMachineLauncherFolder) {
    const CStringW users = u"S-1-5-32-545";
    const struct {
        const char16_t* sddl;
        FolderFlaw flaw;
        CStringW who;
        std::uint32_t rights;
    } cases[] = {
        {kLauncherFolderSddl, FolderFlaw::kNone, u"", 0},
        // What Windows gives a folder made in %ProgramData% by an administrator:
        // Users may add files and folders (inherited "(CI)(WD,AD,WEA,WA)").
        {u"O:BAG:SYD:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIIOID;FA;;;CO)(A;OICIID;0x1200a9;;;BU)"
         u"(A;CIID;DCLCRPCR;;;BU)",
         FolderFlaw::kGrants, users, 0x6},
        // Made beforehand by a standard user, and as Wine reads every folder back.
        {u"O:S-1-5-21-1-2-3-1001D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", FolderFlaw::kOwner, u"S-1-5-21-1-2-3-1001", 0},
        {u"O:S-1-5-21-0-0-0-1000D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-0-0-0-1000)(A;OICI;0x1200a9;;;WD)",
         FolderFlaw::kOwner, u"S-1-5-21-0-0-0-1000", 0},
        {u"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FW;;;BU)", FolderFlaw::kGrants, users, 0x00000006},
        {u"O:SYD:P(A;OICI;FA;;;BA)(A;;WD;;;WD)", FolderFlaw::kGrants, u"S-1-1-0", 0x00040000},
        {u"O:BAD:P(A;OICI;0x10000000;;;AU)", FolderFlaw::kGrants, u"S-1-5-11", 0x10000000},
        {u"O:BAD:P(A;;WO;;;S-1-5-21-1-2-3-1001)", FolderFlaw::kGrants, u"S-1-5-21-1-2-3-1001", 0x00080000},
        // Only what is made in it: a launcher written there would be writable.
        {u"O:BAD:P(A;OIIO;GW;;;BU)", FolderFlaw::kGrants, users, 0x40000000},
        // Inherit-only and inherited by nothing, a deny, reading, the installer: fine.
        {u"O:BAD:P(A;IO;FA;;;BU)(D;OICI;FA;;;BU)(A;OICI;FRFX;;;WD)(A;OICI;FA;;;S-1-5-80-956008885-3418522649-"
         u"1831038044-1853292631-2271478464)(A;OICIIO;GA;;;CO)",
         FolderFlaw::kNone, u"", 0},
        {u"O:BAG:SYD:P", FolderFlaw::kNone, u"", 0},  // nobody at all
        {u"O:BAD:NO_ACCESS_CONTROL", FolderFlaw::kNoDacl, u"", 0},
        {u"O:BA", FolderFlaw::kNoDacl, u"", 0},
        {u"", FolderFlaw::kUnreadable, u"", 0},
        {u"D:P(A;OICI;FA;;;BA)", FolderFlaw::kUnreadable, u"", 0},
        {u"O:BAD:P(A;OICI;QQ;;;BA)", FolderFlaw::kUnreadable, u"", 0},
        {u"O:BAD:P(A;OICI;FA;;;BA", FolderFlaw::kUnreadable, u"", 0},
        {u"O:BAD:P(A;OICI;FA;BA)", FolderFlaw::kUnreadable, u"", 0},
    };
    for (const auto& c : cases) {
        const FolderVerdict verdict = JudgeFolderSddl(c.sddl);
        EXPECT_EQ(verdict.flaw, c.flaw) << N(c.sddl);
        EXPECT_EQ(N(verdict.who), N(c.who)) << N(c.sddl);
        EXPECT_EQ(verdict.rights, c.rights) << N(c.sddl);
    }
    EXPECT_EQ(N(SidDisplayName(u"BU")), "Users");
    EXPECT_EQ(N(UnsafeFolderText(u"C:\\ProgramData\\Velmora\\bin", JudgeFolderSddl(cases[1].sddl))),
              N(velmora::WideFrom936("终端启动文件夹 C:\\ProgramData\\Velmora\\bin 不安全：Users 可以在其中创建文件")));
}

// The machine's launcher folders through the store, as an administrator
// (elevated) or not.
class MachineLauncherFolderTest : public testing::Test {
protected:
    static constexpr const char* kVelmora = "C:\\ProgramData\\Velmora";
    static constexpr const char* kBin = "C:\\ProgramData\\Velmora\\bin";
    static constexpr const char* kMachinePath = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
    // What Windows gives a folder an administrator makes in %ProgramData%.
    static constexpr const char16_t* kProgramDataDefault =
        u"O:BAG:SYD:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIIOID;FA;;;CO)(A;OICIID;0x1200a9;;;BU)"
        u"(A;CIID;DCLCRPCR;;;BU)";

    void SetUp() override {
        reg.PutText("AP\\ed.exe", "", "C:\\Tools\\ed.exe");
        reg.PutRaw(kMachinePath, "Path", kRegExpandSz, memreg::Utf16Bytes(std::string("C:\\Windows") + '\0'));
        files.PutProgram("C:\\Tools\\ed.exe", 3);
    }
    void PutFolder(const char* folder, LauncherFiles::FolderSecurityRead read) {
        files.folderSecurity[MemoryLauncherFiles::Key(W(folder))] = std::move(read);
    }
    ChangeResult TurnOnEd(RunCommandStore& store) {
        const std::optional<RunEntry> entry = store.Find(RunScope::kLocalMachine, u"ed");
        return entry ? store.SetTerminal({*entry}, true).results.at(0) : ChangeResult::kNotFound;
    }
    std::string Made(const char* call, const char* folder) {
        return std::string(call) + " " + folder + " " + N(kLauncherFolderSddl);
    }

    MemoryRegistry reg;
    MemoryLauncherFiles files;
    FixedPrompts prompts;
    Launchers launchers{reg, kPlace, files};
    RunCommandStore admin{reg, kPlace, {RunScope::kLocalMachine, true}, prompts,
                          [](const CStringW&) { return true; }, &launchers};
    RunCommandStore user{reg, kPlace, {RunScope::kCurrentUser, false}, prompts,
                         [](const CStringW&) { return true; }, &launchers};
};

TEST_F(MachineLauncherFolderTest, MissingFoldersAreMadeWithTheProtectedDescriptorBeforeTheLauncher) {
    EXPECT_EQ(TurnOnEd(admin), ChangeResult::kDone);
    EXPECT_EQ(files.securityCalls, (std::vector<std::string>{Made("make", kVelmora), Made("make", kBin)}));
    EXPECT_TRUE(files.Has(std::string(kBin) + "\\ed.exe"));
    EXPECT_EQ(reg.TextOf(kMachinePath, "Path"), "C:\\Windows;" + std::string(kBin));
    // Safe now: the next launcher only reads them.
    reg.PutText("AP\\ed2.exe", "", "C:\\Tools\\ed.exe");
    EXPECT_EQ(admin.SetTerminal({*admin.Find(RunScope::kLocalMachine, u"ed2")}, true).results.at(0), ChangeResult::kDone);
    EXPECT_EQ(files.securityCalls.size(), 2u);
    EXPECT_TRUE(admin.LauncherProblems(admin.List().entries).empty());
}

TEST_F(MachineLauncherFolderTest, AWeakFolderIsRepairedByAnAdministratorAndOtherwiseNothingIsWritten) {
    const struct {
        LauncherFiles::FolderSecurityRead bin;
        bool mayRepair;
        ChangeResult result;
        std::vector<std::string> calls;
    } cases[] = {
        {{LauncherFiles::FolderSecurityRead::kFolder, kProgramDataDefault}, true, ChangeResult::kDone,
         {Made("set", kBin)}},
        // Refused the rights (a standard user's token): nothing written, PATH as it was.
        {{LauncherFiles::FolderSecurityRead::kFolder, kProgramDataDefault}, false, ChangeResult::kFolderUnsafe,
         {Made("set", kBin)}},
        {{LauncherFiles::FolderSecurityRead::kUnreadable, u""}, false, ChangeResult::kFolderUnsafe, {Made("set", kBin)}},
        // A junction to elsewhere is never given rights: its target's would change.
        {{LauncherFiles::FolderSecurityRead::kNotPlain, u""}, true, ChangeResult::kFolderUnsafe, {}},
    };
    for (const auto& c : cases) {
        SetUp();
        files.securityCalls.clear();
        files.files.erase(MemoryLauncherFiles::Key(W(std::string(kBin) + "\\ed.exe")));
        PutFolder(kVelmora, {LauncherFiles::FolderSecurityRead::kFolder, kLauncherFolderSddl});
        PutFolder(kBin, c.bin);
        files.refuseSecurity = !c.mayRepair;
        const memreg::Keys before = reg.keys;
        EXPECT_EQ(TurnOnEd(admin), c.result) << N(c.bin.sddl);
        EXPECT_EQ(files.securityCalls, c.calls);
        if (c.result != ChangeResult::kDone) {
            EXPECT_EQ(reg.keys, before);
            EXPECT_FALSE(files.Has(std::string(kBin) + "\\ed.exe"));
            EXPECT_EQ(N(ChangeFailureReason(c.result)).empty(), false);
        }
    }
}

TEST_F(MachineLauncherFolderTest, OptionsAreRefusedInAnUnsafeFolderAndTheEntryStaysPlain) {
    PutFolder(kVelmora, {LauncherFiles::FolderSecurityRead::kFolder, kLauncherFolderSddl});
    PutFolder(kBin, {LauncherFiles::FolderSecurityRead::kFolder, kProgramDataDefault});
    files.refuseSecurity = true;
    const memreg::Keys before = reg.keys;
    RunCommandOptionsChange change;
    change.arguments = CStringW(u"-x %*");
    EXPECT_EQ(admin.SetOptions(*admin.Find(RunScope::kLocalMachine, u"ed"), change), ChangeResult::kFolderUnsafe);
    EXPECT_EQ(reg.keys, before);
    EXPECT_FALSE(files.Has(std::string(kBin) + "\\options\\ed.exe"));
    // Repaired, the options folder is made with the same descriptor.
    files.refuseSecurity = false;
    files.securityCalls.clear();
    EXPECT_EQ(admin.SetOptions(*admin.Find(RunScope::kLocalMachine, u"ed"), change), ChangeResult::kDone);
    EXPECT_EQ(files.securityCalls,
              (std::vector<std::string>{Made("set", kBin), Made("make", "C:\\ProgramData\\Velmora\\bin\\options")}));
    EXPECT_TRUE(files.Has(std::string(kBin) + "\\options\\ed.exe"));
}

TEST_F(MachineLauncherFolderTest, CheckReportsAnUnsafeFolderAndOnlyAnAdministratorsRepairMendsIt) {
    PutFolder(kVelmora, {LauncherFiles::FolderSecurityRead::kFolder, kProgramDataDefault});
    PutFolder(kBin, {LauncherFiles::FolderSecurityRead::kFolder, kLauncherFolderSddl});
    std::vector<LauncherProblem> problems = admin.LauncherProblems({});
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].kind, LauncherProblem::kUnsafeFolder);
    EXPECT_EQ(N(problems[0].file), kVelmora);
    EXPECT_EQ(problems[0].folder.flaw, FolderFlaw::kGrants);
    EXPECT_EQ(user.RepairLaunchers(problems).size(), 1u);
    EXPECT_TRUE(files.securityCalls.empty());
    EXPECT_TRUE(admin.RepairLaunchers(problems).empty());
    EXPECT_EQ(files.securityCalls, (std::vector<std::string>{Made("set", kVelmora)}));
    EXPECT_TRUE(admin.LauncherProblems({}).empty());
}

}  // namespace
