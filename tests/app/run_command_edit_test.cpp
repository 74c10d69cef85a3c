// Renaming, retargeting, the Path value and the scope copy of run commands
// through a fake registry: every value of every type comes through each
// action byte for byte, and a registry call failing at any step leaves the
// registry as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/registry/RegistryTree.h"
#include "app/runcmd/ChangeJournal.h"
#include "app/runcmd/RunCommandEdit.h"
#include "app/text/QuestionText.h"
#include "memory_registry.h"

namespace {

// A journal of its own for one step: the step puts it back when it fails.
ChangeJournal& Fresh(ChangeJournal&& journal) { return journal; }

using memreg::MemoryRegistry;
using memreg::kRoot;
using memreg::kUserRoot;
using Keys = decltype(MemoryRegistry::keys);

const std::string kBase = "AP";
const RunCommandPlace kPlace{{kRoot, kUserRoot}, u"AP"};

std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (const int b : bytes) out.push_back(static_cast<char>(b));
    return out;
}

// A key holding every value type the shell or anyone else puts there, with
// a subkey of its own.
void PutEveryType(MemoryRegistry& reg, const std::string& key) {
    reg.PutRaw(key, "", kRegExpandSz, memreg::Utf16Bytes(std::string("%ProgramFiles%\\ed\\ed.exe\0", 25)));
    reg.PutRaw(key, "UseUrl", kRegDword, Bytes({1, 0, 0, 0}));
    reg.PutRaw(key, "DropTarget", kRegSz, memreg::Utf16Bytes(std::string("{86C86720-42A0-1069-A2E8-08002B30309D}\0", 39)));
    reg.PutRaw(key, "SupportedProtocols", kRegMultiSz, memreg::Utf16Bytes(std::string("http\0https\0\0", 12)));
    reg.PutRaw(key, "Path", kRegExpandSz, memreg::Utf16Bytes(std::string("%SystemRoot%;C:\\Tools\0", 22)));
    reg.PutRaw(key, "Vendor data", kRegBinary, Bytes({0, 1, 0xFE, 0xFF}));
    reg.PutRaw(key, "Big", kRegQword, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    reg.PutRaw(key, "Marker", kRegNone, "");
    reg.PutRaw(key, "Odd", 0x4711, Bytes({9}));
    reg.PutRaw(key + "\\shell\\open", "", kRegSz, memreg::Utf16Bytes(std::string("x\0", 2)));
}

void Fill(MemoryRegistry& reg) {
    PutEveryType(reg, kBase + "\\ed.exe");
    PutEveryType(reg, kBase + "\\tools\\ed.exe");
    reg.PutText(kBase + "\\keep.exe", "", "C:\\keep.exe");
    reg.PutText(kBase + "\\other.exe", "", "C:\\other.exe");
    reg.PutText(kBase + "\\other.exe", "Extra", "goes when replaced");
    reg.PutText("U:" + kBase + "\\mine.exe", "", "C:\\mine.exe");
}

RunEntry Entry(const std::string& keyPath, RunScope scope = RunScope::kLocalMachine) {
    RunEntry entry;
    entry.keyPath = W(keyPath);
    entry.command = W(keyPath.substr(0, keyPath.size() - 4));
    entry.scope = scope;
    entry.target = u"%ProgramFiles%\\ed\\ed.exe";
    return entry;
}

// The keys of `tree` (a key path) moved to `to`, every value as it was.
Keys Moved(const Keys& keys, const std::string& from, const std::string& to) {
    Keys moved;
    for (const auto& [key, values] : keys) {
        const std::string path = key.Text();
        if (path == from || path.rfind(from + "\\", 0) == 0) moved[to + path.substr(from.size())] = values;
        else moved[key] = values;
    }
    return moved;
}

ReplaceAnswer Never() {
    return [](const ReplaceQuestion&) {
        ADD_FAILURE() << "asked";
        return false;
    };
}

// The journal every change shares: what it noted comes back as it was, the
// groups a new key made go again and the groups that were there stay, a
// value comes back with its type, and what nobody touched is not written.
TEST(ChangeJournalTest, PutsBackKeysValuesAndUndoesAsTheyWere) {
    MemoryRegistry reg;
    Fill(reg);
    reg.MakeKey(kBase + "\\empty group");
    reg.PutRaw("U:Environment", "Path", kRegExpandSz, memreg::Utf16Bytes(std::string("C:\\A\0", 5)));
    const Keys before = reg.keys;
    ChangeJournal journal(reg);
    ASSERT_TRUE(journal.NoteKey(kRoot, u"AP", u"ed.exe"));
    ASSERT_TRUE(journal.NoteKey(kRoot, u"AP", u"empty group\\new\\x.exe"));
    ASSERT_TRUE(journal.NoteKey(kRoot, u"AP", u"ED.EXE")) << "noted once";
    ASSERT_TRUE(journal.NoteKey(kRoot, u"AP", u"keep.exe"));
    ASSERT_TRUE(journal.NoteValue(kUserRoot, u"Environment", u"Path"));
    ASSERT_TRUE(journal.NoteValue(kUserRoot, u"Environment", u"Other"));
    std::vector<int> undone;
    journal.NoteUndo([&] { return undone.push_back(1), true; });
    journal.NoteUndo([&] { return undone.push_back(2), true; });
    reg.keys.erase(kBase + "\\ed.exe\\shell\\open");
    reg.PutText(kBase + "\\ed.exe", "", "C:\\changed.exe");
    reg.PutText(kBase + "\\empty group\\new\\x.exe", "", "C:\\x.exe");
    reg.PutText("U:Environment", "Path", "C:\\B");
    reg.PutText("U:Environment", "Other", "new");
    reg.calls = 0;
    EXPECT_TRUE(journal.Restore());
    EXPECT_TRUE(reg.keys == before);
    EXPECT_EQ(undone, (std::vector<int>{2, 1})) << "the last noted first";
    EXPECT_TRUE(journal.Empty());
    EXPECT_TRUE(reg.Balanced());
    // Restored again: nothing is noted any more, nothing is read or written.
    reg.calls = 0;
    EXPECT_TRUE(journal.Restore());
    EXPECT_EQ(reg.calls, 0);
    // A key that cannot be read is not noted: the change must not go on.
    reg.failKind = memreg::RegCall::kOpenKeyForRead;
    reg.failAtCall = 0;
    reg.kindCalls = 0;
    EXPECT_FALSE(journal.NoteKey(kRoot, u"AP", u"keep.exe"));
}

TEST(RenameRunCommandTest, MovesTheKeyWithEveryValueTypeAndSubkey) {
    struct Row {
        const char* what;
        std::string from;
        std::string newName;
        std::string to;
        std::vector<std::string> gone;  // groups left empty and removed
    };
    const std::vector<Row> rows = {
        {"plain", "ed.exe", "editor", "editor.exe", {}},
        {"blanks around the name", "ed.exe", "  editor \t", "editor.exe", {}},
        {"into a new group", "ed.exe", "new\\sub\\ed", "new\\sub\\ed.exe", {}},
        {"into an existing group", "ed.exe", "tools\\ed2", "tools\\ed2.exe", {}},
        {"out of a group left empty", "tools\\ed.exe", "ed2", "ed2.exe", {"tools"}},
        {"doubled backslashes", "ed.exe", "a\\\\b", "a\\b.exe", {}},
        {"letter case only", "ed.exe", "ED", "ED.exe", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MemoryRegistry reg;
        Fill(reg);
        Keys expected = Moved(reg.keys, kBase + "\\" + row.from, kBase + "\\" + row.to);
        // Groups of the new name are made empty, as registration makes them.
        for (std::size_t at = row.to.find('\\'); at != std::string::npos; at = row.to.find('\\', at + 1))
            expected[kBase + "\\" + row.to.substr(0, at)];
        for (const std::string& group : row.gone) expected.erase(kBase + "\\" + group);
        EXPECT_EQ(RenameRunCommand(reg, kPlace, Entry(row.from), W(row.newName), Never(), Fresh(ChangeJournal(reg))), ChangeResult::kDone);
        EXPECT_TRUE(reg.keys == expected);
        EXPECT_TRUE(reg.Balanced());
    }
}

TEST(RenameRunCommandTest, NamesThatMakeNoOtherEntryChangeNothing) {
    const struct {
        const char* newName;
        ChangeResult result;
    } rows[] = {
        {"", ChangeResult::kInvalidName},
        {" \t", ChangeResult::kInvalidName},
        {"\\", ChangeResult::kInvalidName},
        {"ed", ChangeResult::kUnchanged},
        {" ed ", ChangeResult::kUnchanged},
        {"ed.exe\\inner", ChangeResult::kInvalidName},  // inside the entry itself
        {"keep.exe\\x", ChangeResult::kInvalidName},    // inside another entry
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.newName);
        MemoryRegistry reg;
        Fill(reg);
        const Keys before = reg.keys;
        EXPECT_EQ(RenameRunCommand(reg, kPlace, Entry("ed.exe"), W(row.newName), Never(), Fresh(ChangeJournal(reg))), row.result);
        EXPECT_TRUE(reg.keys == before);
        EXPECT_TRUE(reg.Balanced());
    }
    MemoryRegistry reg;
    Fill(reg);
    EXPECT_EQ(RenameRunCommand(reg, kPlace, Entry("gone.exe"), u"x", Never(), Fresh(ChangeJournal(reg))), ChangeResult::kNotFound);
    // Subkeys nested deeper than the walks follow: not copied in part.
    std::string deep = kBase + "\\ed.exe";
    for (int depth = 0; depth <= kMaxKeyTreeDepth; ++depth) deep += "\\s";
    reg.PutText(deep, "", "x");
    const Keys before = reg.keys;
    EXPECT_EQ(RenameRunCommand(reg, kPlace, Entry("ed.exe"), u"x", Never(), Fresh(ChangeJournal(reg))), ChangeResult::kRegistryFailed);
    EXPECT_TRUE(reg.keys == before);
    EXPECT_TRUE(reg.Balanced());
}

TEST(RenameRunCommandTest, AnExistingNameIsAskedAboutAndReplacedWholeOnlyOnYes) {
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        MemoryRegistry reg;
        Fill(reg);
        const Keys before = reg.keys;
        std::vector<CStringW> questions;
        const ChangeResult result = RenameRunCommand(reg, kPlace, Entry("ed.exe"), u"other", [&](const ReplaceQuestion& q) {
            questions.push_back(ReplaceQuestionText(q));
            return yes;
        }, Fresh(ChangeJournal(reg)));
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_NE(questions[0].find(u"C:\\other.exe"), CStringW::npos);
        EXPECT_NE(questions[0].find(u"%ProgramFiles%\\ed\\ed.exe"), CStringW::npos);
        if (!yes) {
            EXPECT_EQ(result, ChangeResult::kDeclined);
            EXPECT_TRUE(reg.keys == before);
        } else {
            EXPECT_EQ(result, ChangeResult::kDone);
            Keys expected = before;
            expected.erase(kBase + "\\other.exe");  // its "Extra" value goes with it
            EXPECT_TRUE(reg.keys == Moved(expected, kBase + "\\ed.exe", kBase + "\\other.exe"));
        }
        EXPECT_TRUE(reg.Balanced());
    }
}

TEST(RenameRunCommandTest, AUserEntryThatWouldHideTheMachinesIsAskedAbout) {
    MemoryRegistry reg;
    Fill(reg);
    int asked = 0;
    EXPECT_EQ(RenameRunCommand(reg, kPlace, Entry("mine.exe", RunScope::kCurrentUser), u"keep",
                               [&](const ReplaceQuestion&) { return ++asked, false; }, Fresh(ChangeJournal(reg))),
              ChangeResult::kDeclined);
    EXPECT_EQ(asked, 1);
}

// Every registry call of a rename fails in turn: a rename either is done
// whole or leaves every key and value as it was, and no handle stays open.
TEST(RenameRunCommandTest, AFailureAtAnyStepLeavesTheRegistryAsItWas) {
    const struct {
        const char* what;
        std::string from;
        const char* newName;
        std::string to;
        bool replaces;
    } rows[] = {
        {"to a new group", "tools\\ed.exe", "new\\ed", "new\\ed.exe", false},
        {"over an existing entry", "ed.exe", "other", "other.exe", true},
        {"letter case only", "ed.exe", "Ed", "Ed.exe", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        MemoryRegistry clean;
        Fill(clean);
        const Keys before = clean.keys;
        ASSERT_EQ(RenameRunCommand(clean, kPlace, Entry(row.from), W(row.newName), [](const ReplaceQuestion&) { return true; }, Fresh(ChangeJournal(clean))),
                  ChangeResult::kDone);
        const Keys renamed = clean.keys;
        int failedRuns = 0;
        for (int failAt = 0; failAt < clean.calls; ++failAt) {
            SCOPED_TRACE(failAt);
            MemoryRegistry reg;
            Fill(reg);
            reg.failAtCall = failAt;
            const ChangeResult result =
                RenameRunCommand(reg, kPlace, Entry(row.from), W(row.newName), [](const ReplaceQuestion&) { return true; }, Fresh(ChangeJournal(reg)));
            EXPECT_TRUE(reg.Balanced());
            if (result == ChangeResult::kDone) {
                // Only the last step, removing empty groups, may fail and
                // leave a group behind.
                Keys withoutEmptyGroups = reg.keys;
                for (const auto& [path, values] : reg.keys) {
                    if (renamed.count(path) == 0 && values.empty()) withoutEmptyGroups.erase(path);
                }
                EXPECT_TRUE(withoutEmptyGroups == renamed);
            } else {
                EXPECT_TRUE(result == ChangeResult::kRegistryFailed || result == ChangeResult::kNotFound);
                EXPECT_TRUE(reg.keys == before);
                ++failedRuns;
            }
        }
        EXPECT_GT(failedRuns, 5);
    }
}

TEST(RenameRunCommandTest, TheOldKeyRefusingDeletionIsWrittenBackAndTheCopyRemoved) {
    MemoryRegistry reg;
    Fill(reg);
    reg.RefuseDelete(kBase + "\\tools\\ed.exe");
    const Keys before = reg.keys;
    EXPECT_EQ(RenameRunCommand(reg, kPlace, Entry("tools\\ed.exe"), u"moved\\ed", Never(), Fresh(ChangeJournal(reg))), ChangeResult::kRegistryFailed);
    EXPECT_TRUE(reg.keys == before);
    EXPECT_TRUE(reg.Balanced());
}

TEST(ChangeRunCommandTargetTest, RewritesTheDefaultValueOnlyWithItsTypeKept) {
    struct Row {
        const char* what;
        std::uint32_t oldType;  // 0xFFFF: no default value
        const char* newTarget;
        std::uint32_t newType;
        int questions;
    };
    const std::vector<Row> rows = {
        {"expand stays expand", kRegExpandSz, "D:\\ed.exe", kRegExpandSz, 1},
        {"text stays text", kRegSz, "D:\\ed.exe", kRegSz, 1},
        {"text with a variable becomes expand", kRegSz, "%USERPROFILE%\\ed.exe", kRegExpandSz, 1},
        {"no default value", 0xFFFF, "D:\\ed.exe", kRegSz, 0},
        {"a binary default becomes text", kRegBinary, "D:\\ed.exe", kRegSz, 0},
        {"the same program in other case", kRegSz, "%PROGRAMFILES%\\ED\\ED.EXE", kRegExpandSz, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MemoryRegistry reg;
        Fill(reg);
        const std::string key = kBase + "\\ed.exe";
        if (row.oldType == 0xFFFF) reg.keys[key].erase("");
        else reg.keys[key][""].type = row.oldType;
        Keys expected = reg.keys;
        const std::string data = memreg::Utf16Bytes(std::string(row.newTarget) + std::string(1, '\0'));
        expected[key][""] = {data, row.newType};
        int questions = 0;
        EXPECT_EQ(ChangeRunCommandTarget(reg, kPlace, Entry("ed.exe"), W(row.newTarget),
                                         [&](const ReplaceQuestion&) { return ++questions, true; }, Fresh(ChangeJournal(reg))),
                  ChangeResult::kDone);
        EXPECT_EQ(questions, row.questions);
        EXPECT_TRUE(reg.keys == expected);
        EXPECT_TRUE(reg.Balanced());
    }
}

TEST(ChangeRunCommandTargetTest, NoMissingOrFailingChangesNothing) {
    MemoryRegistry reg;
    Fill(reg);
    const Keys before = reg.keys;
    EXPECT_EQ(ChangeRunCommandTarget(reg, kPlace, Entry("ed.exe"), u"D:\\x.exe", [](const ReplaceQuestion&) { return false; }, Fresh(ChangeJournal(reg))),
              ChangeResult::kDeclined);
    EXPECT_EQ(ChangeRunCommandTarget(reg, kPlace, Entry("gone.exe"), u"D:\\x.exe", Never(), Fresh(ChangeJournal(reg))), ChangeResult::kNotFound);
    EXPECT_EQ(ChangeRunCommandTarget(reg, kPlace, Entry("ed.exe"), u"  ", Never(), Fresh(ChangeJournal(reg))), ChangeResult::kInvalidName);
    EXPECT_EQ(ChangeRunCommandTarget(reg, kPlace, Entry("ed.exe"), u"%ProgramFiles%\\ed\\ed.exe", Never(), Fresh(ChangeJournal(reg))),
              ChangeResult::kUnchanged);
    EXPECT_TRUE(reg.keys == before);
    for (int failAt = 0; failAt < 3; ++failAt) {
        MemoryRegistry failing;
        Fill(failing);
        failing.failAtCall = failAt;
        EXPECT_EQ(ChangeRunCommandTarget(failing, kPlace, Entry("ed.exe"), u"D:\\x.exe",
                                         [](const ReplaceQuestion&) { return true; }, Fresh(ChangeJournal(failing))),
                  ChangeResult::kRegistryFailed);
        EXPECT_TRUE(failing.keys == before);
        EXPECT_TRUE(failing.Balanced());
    }
}

TEST(RunCommandPathTest, TheFolderListIsReadAndWrittenBackWithItsType) {
    struct Row {
        const char* what;
        std::uint32_t oldType;  // 0xFFFF: no Path value
        std::vector<CStringW> folders;
        const char* stored;  // nullptr: no Path value afterwards
        std::uint32_t newType;
        ChangeResult result;
        const char* before = nullptr;  // the stored text first; nullptr: Fill's
    };
    const std::vector<Row> rows = {
        {"expand stays expand", kRegExpandSz, {u"C:\\A", u"D:\\B"}, "C:\\A;D:\\B", kRegExpandSz, ChangeResult::kDone},
        {"text stays text", kRegSz, {u"C:\\A"}, "C:\\A", kRegSz, ChangeResult::kDone},
        {"a variable makes expand", kRegSz, {u"%WINDIR%", u"C:\\A"}, "%WINDIR%;C:\\A", kRegExpandSz, ChangeResult::kDone},
        {"a new value", 0xFFFF, {u"C:\\A"}, "C:\\A", kRegSz, ChangeResult::kDone},
        {"a new value with a variable", 0xFFFF, {u"%X%\\bin"}, "%X%\\bin", kRegExpandSz, ChangeResult::kDone},
        {"no folders remove the value", kRegExpandSz, {}, nullptr, 0, ChangeResult::kDone},
        {"blank folders count as none", kRegSz, {u" ", u""}, nullptr, 0, ChangeResult::kDone},
        {"nothing to remove", 0xFFFF, {}, nullptr, 0, ChangeResult::kUnchanged},
        {"the same list", kRegExpandSz, {u"%SystemRoot%", u"C:\\Tools"}, "%SystemRoot%;C:\\Tools", kRegExpandSz,
         ChangeResult::kUnchanged},
        // An unchanged list keeps the stored spelling byte for byte.
        {"a trailing semicolon stays", kRegSz, {u"C:\\Program Files\\Internet Explorer"},
         "C:\\Program Files\\Internet Explorer;", kRegSz, ChangeResult::kUnchanged,
         "C:\\Program Files\\Internet Explorer;"},
        {"spacing and quotes stay", kRegSz, {u"C:\\a;b", u"D:\\B"}, " \"C:\\a;b\" ; D:\\B", kRegSz,
         ChangeResult::kUnchanged, " \"C:\\a;b\" ; D:\\B"},
        {"a changed list quotes a semicolon", kRegSz, {u"C:\\a;b", u"D:\\"}, "\"C:\\a;b\";D:\\", kRegSz,
         ChangeResult::kDone, "\"C:\\a;b\""},
        {"a Path of another type is no list to remove", kRegBinary, {}, "%SystemRoot%;C:\\Tools", kRegBinary,
         ChangeResult::kUnchanged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MemoryRegistry reg;
        Fill(reg);
        const std::string key = kBase + "\\ed.exe";
        if (row.before != nullptr)
            reg.keys[key]["Path"].data = memreg::Utf16Bytes(std::string(row.before) + std::string(1, '\0'));
        if (row.oldType == 0xFFFF) reg.keys[key].erase("Path");
        else reg.keys[key]["Path"].type = row.oldType;
        Keys expected = reg.keys;
        if (row.stored == nullptr) {
            expected[key].erase("Path");
        } else {
            const std::string data = memreg::Utf16Bytes(std::string(row.stored) + std::string(1, '\0'));
            expected[key]["Path"] = {data, row.newType};
        }
        EXPECT_EQ(SetRunCommandPath(reg, kPlace, Entry("ed.exe"), row.folders, Fresh(ChangeJournal(reg))), row.result);
        EXPECT_TRUE(reg.keys == expected);
        EXPECT_EQ(ReadRunCommandPath(reg, kPlace, Entry("ed.exe")).size(),
                  row.stored == nullptr || row.newType == kRegBinary ? 0u : row.folders.size());
        EXPECT_TRUE(reg.Balanced());
    }
    MemoryRegistry reg;
    Fill(reg);
    EXPECT_EQ(ReadRunCommandPath(reg, kPlace, Entry("ed.exe")), (std::vector<CStringW>{u"%SystemRoot%", u"C:\\Tools"}));
    EXPECT_EQ(SetRunCommandPath(reg, kPlace, Entry("gone.exe"), {u"C:\\"}, Fresh(ChangeJournal(reg))), ChangeResult::kNotFound);
    EXPECT_EQ(reg.keys.count(kBase + "\\gone.exe"), 0u);
}

TEST(CopyRunCommandToScopeTest, CopiesEveryValueAndAsksBeforeReplacing) {
    MemoryRegistry reg;
    Fill(reg);
    Keys expected = reg.keys;
    for (const auto& [path, values] : reg.keys) {
        if (path.Text().rfind(kBase + "\\ed.exe", 0) == 0) expected["U:" + path.Text()] = values;
    }
    EXPECT_EQ(CopyRunCommandToScope(reg, kPlace, Entry("ed.exe"), RunScope::kCurrentUser, Never(), Fresh(ChangeJournal(reg))), ChangeResult::kDone);
    EXPECT_TRUE(reg.keys == expected);
    EXPECT_EQ(CopyRunCommandToScope(reg, kPlace, Entry("ed.exe"), RunScope::kLocalMachine, Never(), Fresh(ChangeJournal(reg))),
              ChangeResult::kUnchanged);

    // Back the other way onto the machine's entry: asked, and No keeps it.
    reg.PutText("U:" + kBase + "\\ed.exe", "Mine", "only the user's");
    const Keys before = reg.keys;
    int asked = 0;
    EXPECT_EQ(CopyRunCommandToScope(reg, kPlace, Entry("ed.exe", RunScope::kCurrentUser), RunScope::kLocalMachine,
                                    [&](const ReplaceQuestion&) { return ++asked, false; }, Fresh(ChangeJournal(reg))),
              ChangeResult::kDeclined);
    EXPECT_TRUE(reg.keys == before);
    EXPECT_EQ(CopyRunCommandToScope(reg, kPlace, Entry("ed.exe", RunScope::kCurrentUser), RunScope::kLocalMachine,
                                    [&](const ReplaceQuestion&) { return ++asked, true; }, Fresh(ChangeJournal(reg))),
              ChangeResult::kDone);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(reg.keys.at(kBase + "\\ed.exe"), reg.keys.at("U:" + kBase + "\\ed.exe"));
    EXPECT_TRUE(reg.Balanced());

    // A failure at any step leaves both scopes as they were.
    for (int failAt = 0; failAt < 40; ++failAt) {
        MemoryRegistry failing;
        Fill(failing);
        failing.PutText("U:" + kBase + "\\ed.exe", "Mine", "only the user's");
        const Keys original = failing.keys;
        failing.failAtCall = failAt;
        const ChangeResult result = CopyRunCommandToScope(failing, kPlace, Entry("ed.exe"), RunScope::kCurrentUser,
                                                        [](const ReplaceQuestion&) { return true; }, Fresh(ChangeJournal(failing)));
        EXPECT_TRUE(failing.Balanced());
        if (result != ChangeResult::kDone) {
            EXPECT_TRUE(failing.keys == original) << failAt;
        }
    }
}

}  // namespace
