// Backing run commands up to a .reg file and bringing them back through a
// fake registry: the round trip keeps every value and type, the plan says
// what each part of a file would do (and why a part is refused, with its
// line), and only what the user kept is written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/runcmd/RunCommandBackup.h"
#include "app/runcmd/RunCommandStore.h"
#include "fixed_prompts.h"
#include "memory_registry.h"

namespace {

using memreg::MemoryRegistry;
using memreg::kRoot;
using memreg::kUserRoot;
using Keys = decltype(MemoryRegistry::keys);

const RunCommandPlace kPlace{{kRoot, kUserRoot}, u"Soft\\App Paths"};

// The plan applied as the store applies it, each entry in a step of its own.
ImportCounts Apply(IRegistry& reg, const ImportPlan& plan, const std::vector<bool>& replace) {
    FixedPrompts prompts;
    RunCommandStore store(reg, kPlace, {RunScope::kLocalMachine, true}, prompts, [](const CStringW&) { return true; });
    return store.ApplyImport(plan, replace);
}
const std::string kBase = "Soft\\App Paths";

std::string Raw(std::initializer_list<int> bytes) {
    std::string out;
    for (const int b : bytes) out.push_back(static_cast<char>(b));
    return out;
}

std::string Sz(const std::string& gbk) { return memreg::Utf16Bytes(gbk + std::string(1, '\0')); }

void PutEveryType(MemoryRegistry& reg, const std::string& key) {
    reg.PutRaw(key, "", kRegExpandSz, Sz("%ProgramFiles%\\ed\\ed.exe"));
    reg.PutRaw(key, "UseUrl", kRegDword, Raw({1, 0, 0, 0}));
    reg.PutRaw(key, "DropTarget", kRegSz, Sz("{86C86720-42A0-1069-A2E8-08002B30309D}"));
    reg.PutRaw(key, "SupportedProtocols", kRegMultiSz, memreg::Utf16Bytes(std::string("http\0https\0\0", 12)));
    reg.PutRaw(key, "Path", kRegExpandSz, Sz("%SystemRoot%;C:\\\"Tools\""));
    reg.PutRaw(key, "Vendor \"data\"", kRegBinary, std::string(300, '\x5A'));
    reg.PutRaw(key, "Big", kRegQword, Raw({1, 2, 3, 4, 5, 6, 7, 8}));
    reg.PutRaw(key, "Marker", kRegNone, "");
    reg.PutRaw(key, "Lines", kRegSz, Sz("a\r\nb"));
    reg.PutRaw(key, "名称", kRegSz, Sz("中文"));
    reg.PutRaw(key + "\\shell\\open", "", kRegSz, Sz("x"));
}

RunEntry Entry(const std::string& keyPath, RunScope scope) {
    RunEntry entry;
    entry.keyPath = W(keyPath);
    entry.command = W(keyPath.substr(0, keyPath.size() - 4));
    entry.scope = scope;
    return entry;
}

std::vector<unsigned char> File(const std::u16string& body) {
    std::vector<unsigned char> bytes{0xFF, 0xFE};
    for (const char16_t unit : u"Windows Registry Editor Version 5.00\r\n\r\n" + body) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

ImportPlan Plan(MemoryRegistry& reg, const std::vector<unsigned char>& file, bool canWriteMachine = true) {
    return PlanRunCommandImport(reg, kPlace, file.data(), file.size(), canWriteMachine);
}

TEST(RunCommandBackupTest, ExportThenImportIntoAnEmptyRegistryGivesEveryKeyAndValueBack) {
    MemoryRegistry source;
    PutEveryType(source, kBase + "\\ed.exe");
    PutEveryType(source, kBase + "\\tools\\nested.exe");
    PutEveryType(source, "U:" + kBase + "\\mine.exe");
    const std::vector<RunEntry> entries = {Entry("ed.exe", RunScope::kLocalMachine),
                                           Entry("tools\\nested.exe", RunScope::kLocalMachine),
                                           Entry("mine.exe", RunScope::kCurrentUser),
                                           Entry("vanished.exe", RunScope::kCurrentUser)};
    const RunCommandExport exported = ExportRunCommands(source, kPlace, entries);
    EXPECT_EQ(exported.exported, 3);
    ASSERT_EQ(exported.unreadable.size(), 1u);
    EXPECT_EQ(exported.unreadable[0].keyPath, u"vanished.exe");
    EXPECT_TRUE(source.Balanced());

    MemoryRegistry target;
    const ImportPlan plan = Plan(target, exported.file);
    ASSERT_EQ(plan.error, RegFileError::kNone) << plan.errorLine;
    ASSERT_EQ(plan.items.size(), 3u);
    for (const ImportItem& item : plan.items) {
        EXPECT_EQ(item.action, ImportAction::kAdd);
        EXPECT_EQ(item.newTarget, u"%ProgramFiles%\\ed\\ed.exe");
    }
    EXPECT_EQ(plan.items[1].command, u"tools\\nested");
    EXPECT_EQ(plan.items[2].scope, RunScope::kCurrentUser);
    const ImportCounts counts = Apply(target, plan, {});
    EXPECT_EQ(counts.added, 3);
    EXPECT_EQ(counts.replaced + counts.skipped + counts.failed, 0);
    EXPECT_TRUE(target.keys == source.keys);
    EXPECT_TRUE(target.Balanced());
}

TEST(RunCommandBackupTest, ThePlanSaysWhatEachPartOfAFileWouldDoWithItsLine) {
    struct Expected {
        ImportAction action;
        ImportRefusal refusal;
        int line;
        const char16_t* command;
    };
    struct Row {
        const char* what;
        std::u16string body;  // from line 3
        bool canWriteMachine;
        std::vector<Expected> items;
    };
    const std::u16string user = u"[HKEY_CURRENT_USER\\Soft\\App Paths\\";
    const std::u16string machine = u"[HKEY_LOCAL_MACHINE\\Soft\\App Paths\\";
    const std::vector<Row> rows = {
        {"a new entry and an existing one", user + u"new.exe]\r\n@=\"C:\\\\n.exe\"\r\n" + user + u"old.exe]\r\n@=\"x\"\r\n",
         true,
         {{ImportAction::kAdd, ImportRefusal::kNone, 3, u"new"}, {ImportAction::kReplace, ImportRefusal::kNone, 5, u"old"}}},
        {"short root names and any letter case", u"[HKCU\\SOFT\\app paths\\new.exe]\r\n", true,
         {{ImportAction::kAdd, ImportRefusal::kNone, 3, u"new"}}},
        {"outside App Paths", u"[HKEY_CURRENT_USER\\Soft\\Run]\r\n\"x\"=\"y\"\r\n[HKEY_CLASSES_ROOT\\Soft\\App Paths\\a.exe]\r\n",
         true,
         {{ImportAction::kRefused, ImportRefusal::kOutsideAppPaths, 3, u""},
          {ImportAction::kRefused, ImportRefusal::kOutsideAppPaths, 5, u""}}},
        {"a key only starting like App Paths", u"[HKEY_CURRENT_USER\\Soft\\App Paths2\\a.exe]\r\n", true,
         {{ImportAction::kRefused, ImportRefusal::kOutsideAppPaths, 3, u""}}},
        {"the machine's when not elevated", machine + u"m.exe]\r\n@=\"x\"\r\n" + user + u"u.exe]\r\n", false,
         {{ImportAction::kRefused, ImportRefusal::kScopeNotWritable, 3, u"m"},
          {ImportAction::kAdd, ImportRefusal::kNone, 5, u"u"}}},
        {"a group with a value", user + u"tools]\r\n\"x\"=\"y\"\r\n" + user + u"tools]\r\n", true,
         {{ImportAction::kRefused, ImportRefusal::kNotAnEntry, 3, u""}}},
        {"App Paths, the keys above it and groups alone are nothing",
         u"[HKEY_CURRENT_USER]\r\n[HKEY_CURRENT_USER\\Soft]\r\n[HKEY_CURRENT_USER\\Soft\\App Paths]\r\n" + user + u"g]\r\n",
         true, {}},
        {"the keys above App Paths with values or deleted",
         u"[HKEY_CURRENT_USER\\Soft]\r\n\"x\"=\"1\"\r\n[-HKEY_CURRENT_USER\\Soft]\r\n", true,
         {{ImportAction::kRefused, ImportRefusal::kOutsideAppPaths, 3, u""},
          {ImportAction::kRefused, ImportRefusal::kOutsideAppPaths, 5, u""}}},
        {"deletions", u"[-HKEY_CURRENT_USER\\Soft\\App Paths\\d.exe]\r\n" + user + u"v.exe]\r\n\"Path\"=-\r\n" +
                          u"[-HKEY_CURRENT_USER\\Soft\\App Paths\\g]\r\n",
         true,
         {{ImportAction::kRefused, ImportRefusal::kDeletion, 3, u"d"},
          {ImportAction::kRefused, ImportRefusal::kDeletion, 5, u"v"},
          {ImportAction::kRefused, ImportRefusal::kDeletion, 6, u""}}},
        {"sections of one entry merge, subkeys first", user + u"g\\e.exe\\shell]\r\n" + user + u"G\\E.EXE]\r\n", true,
         {{ImportAction::kAdd, ImportRefusal::kNone, 3, u"g\\e"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MemoryRegistry reg;
        reg.PutText("U:" + kBase + "\\old.exe", "", "C:\\old.exe");
        const ImportPlan plan = Plan(reg, File(row.body), row.canWriteMachine);
        ASSERT_EQ(plan.error, RegFileError::kNone) << plan.errorLine;
        ASSERT_EQ(plan.items.size(), row.items.size());
        for (std::size_t i = 0; i < row.items.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(plan.items[i].action, row.items[i].action);
            EXPECT_EQ(plan.items[i].refusal, row.items[i].refusal);
            EXPECT_EQ(plan.items[i].line, row.items[i].line);
            EXPECT_EQ(plan.items[i].command, CStringW(row.items[i].command));
            EXPECT_FALSE(plan.items[i].fileKey.IsEmpty());
        }
        if (row.items.size() == 2 && row.items[1].action == ImportAction::kReplace) {
            EXPECT_EQ(plan.items[1].oldTarget, u"C:\\old.exe");
            EXPECT_EQ(plan.items[1].newTarget, u"x");
        }
        EXPECT_TRUE(reg.Balanced());
    }
}

TEST(RunCommandBackupTest, OnlyAddsAndTheKeptReplacementsAreWrittenAndCounted) {
    const std::u16string user = u"[HKEY_CURRENT_USER\\Soft\\App Paths\\";
    const std::vector<unsigned char> file =
        File(user + u"a.exe]\r\n@=\"C:\\\\new-a.exe\"\r\n" + user + u"b.exe]\r\n@=\"C:\\\\new-b.exe\"\r\n" + user +
             u"c.exe]\r\n@=\"C:\\\\c.exe\"\r\n[HKEY_CURRENT_USER\\Other]\r\n\"x\"=\"y\"\r\n" +
             u"[HKEY_LOCAL_MACHINE\\Soft\\App Paths\\m.exe]\r\n@=\"m\"\r\n");
    MemoryRegistry reg;
    reg.PutText("U:" + kBase + "\\a.exe", "", "C:\\old-a.exe");
    reg.PutText("U:" + kBase + "\\a.exe", "Path", "C:\\old");
    reg.PutText("U:" + kBase + "\\b.exe", "", "C:\\old-b.exe");
    const ImportPlan plan = Plan(reg, file, false);
    ASSERT_EQ(plan.items.size(), 5u);
    // Replace a, keep b.
    const ImportCounts counts = Apply(reg, plan, {true, false, false, true, true});
    EXPECT_EQ(counts.added, 1);
    EXPECT_EQ(counts.replaced, 1);
    EXPECT_EQ(counts.skipped, 3);  // b unticked, the key outside, the machine's
    EXPECT_EQ(counts.failed, 0);
    EXPECT_EQ(reg.TextOf("U:" + kBase + "\\a.exe", ""), "C:\\new-a.exe");
    EXPECT_EQ(reg.keys.at("U:" + kBase + "\\a.exe").count("Path"), 0u);  // replaced whole, as the file has it
    EXPECT_EQ(reg.TextOf("U:" + kBase + "\\b.exe", ""), "C:\\old-b.exe");
    EXPECT_EQ(reg.TextOf("U:" + kBase + "\\c.exe", ""), "C:\\c.exe");
    EXPECT_EQ(reg.keys.count("U:Other"), 0u);
    EXPECT_EQ(reg.keys.count(kBase + "\\m.exe"), 0u);
    EXPECT_TRUE(reg.Balanced());
}

TEST(RunCommandBackupTest, ADamagedFileWritesNothing) {
    const std::u16string user = u"[HKEY_CURRENT_USER\\Soft\\App Paths\\";
    MemoryRegistry reg;
    const Keys before = reg.keys;
    const ImportPlan plan = Plan(reg, File(user + u"a.exe]\r\n@=\"ok\"\r\n" + user + u"b.exe]\r\n\"x\"=hex:01,\\\r\n"));
    EXPECT_EQ(plan.error, RegFileError::kCutOff);
    EXPECT_EQ(plan.errorLine, 6);
    EXPECT_TRUE(plan.items.empty());
    const ImportCounts counts = Apply(reg, plan, {true, true});
    EXPECT_EQ(counts.added + counts.replaced + counts.failed, 0);
    EXPECT_TRUE(reg.keys == before);
    EXPECT_EQ(reg.calls, 0);
}

TEST(RunCommandBackupTest, AnEntryTheRegistryRefusesIsCountedAndLeftAsItWas) {
    const std::u16string user = u"[HKEY_CURRENT_USER\\Soft\\App Paths\\";
    const std::vector<unsigned char> file =
        File(user + u"g\\a.exe]\r\n@=\"new\"\r\n\"UseUrl\"=dword:00000001\r\n" + user + u"b.exe]\r\n@=\"new\"\r\n");
    MemoryRegistry clean;
    clean.PutText("U:" + kBase + "\\b.exe", "", "old");
    clean.PutText("U:" + kBase + "\\b.exe", "Keep", "old");
    const Keys before = clean.keys;
    const ImportPlan plan = Plan(clean, file);
    const int planCalls = clean.calls;
    Apply(clean, plan, {true, true});
    const Keys imported = clean.keys;
    const int applyCalls = clean.calls - planCalls;
    for (int failAt = 0; failAt < applyCalls; ++failAt) {
        SCOPED_TRACE(failAt);
        MemoryRegistry reg;
        reg.keys = before;
        reg.failAtCall = failAt;
        const ImportCounts counts = Apply(reg, plan, {true, true});
        EXPECT_EQ(counts.added + counts.replaced + counts.failed, 2);
        EXPECT_LE(counts.failed, 1);
        for (const char* key : {"U:Soft\\App Paths\\g\\a.exe", "U:Soft\\App Paths\\b.exe"}) {
            const auto now = reg.keys.find(key);
            const auto was = before.find(key);
            const auto done = imported.find(key);
            const bool asBefore = (now == reg.keys.end() && was == before.end()) ||
                                  (now != reg.keys.end() && was != before.end() && now->second == was->second);
            const bool asImported = now != reg.keys.end() && now->second == done->second;
            EXPECT_TRUE(asBefore || asImported) << key;
        }
        if (counts.failed == 0) {
            EXPECT_TRUE(reg.keys == imported);
        }
        EXPECT_TRUE(reg.Balanced());
    }
}

}  // namespace
