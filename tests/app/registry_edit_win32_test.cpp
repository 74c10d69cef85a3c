// Editing run commands on the Win32 registry of the Wine prefix: the value
// calls of the registry interface, and every action on an entry holding
// every value type, the registry read back value by value through advapi32.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/registry/Registry_win32.h"
#include "app/registry/RegistryValues.h"
#include "app/runcmd/RunCommandBackup.h"
#include "app/runcmd/RunCommandEdit.h"
#include "app/runcmd/RunCommandStore.h"
#include "fixed_prompts.h"
#include "app/runcmd/PathList.h"
#include "app/platform/TargetFile_win32.h"
#include "memory_registry.h"
#include "dialog_harness.h"
#include "registry_dump.h"

namespace {

// A journal of its own for one step: the step puts it back when it fails.
ChangeJournal& Fresh(ChangeJournal&& journal) { return journal; }

using registry_dump::Dump;
using Lines = std::vector<std::string>;

const wchar_t kTestRoot[] = L"SOFTWARE\\Velmora Edit Tests";
const wchar_t kAppPaths[] = L"SOFTWARE\\Velmora Edit Tests\\App Paths";
const RunCommandPlace kPlace{{ToRegKey(HKEY_LOCAL_MACHINE), ToRegKey(HKEY_CURRENT_USER)},
                             u"SOFTWARE\\Velmora Edit Tests\\App Paths"};

std::wstring Under(const wchar_t* keyPath) { return std::wstring(kAppPaths) + L"\\" + keyPath; }

RunEntry Entry(const char16_t* keyPath, RunScope scope = RunScope::kLocalMachine) {
    RunEntry entry;
    entry.keyPath = keyPath;
    entry.command = CStringW(keyPath).Left(CStringW(keyPath).GetLength() - 4);
    entry.scope = scope;
    entry.target = u"%ProgramFiles%\\Ed\\ed.exe";
    return entry;
}

// The dump of a key with the line of one value (by its hex name) replaced,
// or removed when `line` is empty.
Lines WithValue(Lines lines, const std::wstring& name, const std::string& line) {
    const std::string prefix = registry_dump::HexOf(L"") + "|" + registry_dump::HexOf(name) + "|";
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        if (it->rfind(prefix, 0) == 0) {
            if (line.empty()) lines.erase(it);
            else *it = prefix + line;
            std::sort(lines.begin(), lines.end());
            return lines;
        }
    }
    if (!line.empty()) lines.push_back(prefix + line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string TextLine(DWORD type, const std::wstring& text) {
    return std::to_string(type) + "|" +
           registry_dump::Hex(reinterpret_cast<const unsigned char*>(text.c_str()), (text.size() + 1) * 2);
}

class RegistryEditWin32Test : public testing::Test {
protected:
    void SetUp() override {
        Clear();
        ASSERT_TRUE(registry_dump::PutEveryType(HKEY_LOCAL_MACHINE, Under(L"tools\\ed.exe")));
        ASSERT_TRUE(registry_dump::PutText(HKEY_LOCAL_MACHINE, Under(L"other.exe"), L"", REG_SZ, L"C:\\other.exe"));
        original = Dump(HKEY_LOCAL_MACHINE, Under(L"tools\\ed.exe").c_str());
        ASSERT_GT(original.size(), 15u);
    }
    void TearDown() override { Clear(); }
    static void Clear() {
        DeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora Edit Tests");
        DeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Velmora Edit Tests");
    }
    CWin32Registry registry;
    Lines original;
};

TEST_F(RegistryEditWin32Test, ValuesAreEnumeratedReadSetAndDeletedWithTheirTypesAndBytes) {
    RegKey key = 0;
    ASSERT_EQ(registry.OpenKeyForWrite(kPlace.roots.machine, u"SOFTWARE\\Velmora Edit Tests\\App Paths\\tools\\ed.exe",
                                       &key),
              ERROR_SUCCESS);
    RegKeyContents contents;
    for (std::uint32_t index = 0;; ++index) {
        RegValue value;
        const long status = registry.EnumValue(key, index, &value.name, &value.type, &value.data);
        if (status == kRegistryNoMoreItems) break;
        ASSERT_EQ(status, ERROR_SUCCESS);
        contents.values.push_back(value);
    }
    EXPECT_EQ(contents.values.size(), 13u);
    const RegValue* large = FindValue(contents, u"large");  // names compare without letter case
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(large->type, static_cast<std::uint32_t>(REG_BINARY));
    EXPECT_EQ(large->data.size(), 5000u);
    const RegValue* marker = FindValue(contents, u"Marker");
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->type, static_cast<std::uint32_t>(REG_NONE));
    EXPECT_TRUE(marker->data.empty());

    std::uint32_t type = 99;
    std::vector<unsigned char> data;
    ASSERT_EQ(registry.ReadValue(key, u"", &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<std::uint32_t>(REG_EXPAND_SZ));
    EXPECT_EQ(data, StringValueBytes(u"%ProgramFiles%\\Ed\\ed.exe"));
    EXPECT_EQ(registry.ReadValue(key, u"missing", &type, &data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(type, static_cast<std::uint32_t>(REG_EXPAND_SZ)) << "untouched on failure";

    const unsigned char bytes[] = {1, 2, 3};
    // A name longer than a first read offers is read whole too.
    const CStringW longName(300, u'n');
    ASSERT_EQ(registry.SetValue(key, longName.GetString(), REG_BINARY, bytes, 3), ERROR_SUCCESS);
    CStringW name;
    for (std::uint32_t index = 0; registry.EnumValue(key, index, &name, &type, &data) == ERROR_SUCCESS; ++index) {
        if (name.GetLength() > 100) break;
    }
    EXPECT_EQ(name, longName);
    EXPECT_EQ(data, (std::vector<unsigned char>{1, 2, 3}));
    ASSERT_EQ(registry.SetValue(key, u"Big", 0x1234, bytes, 3), ERROR_SUCCESS);  // another type replaces
    ASSERT_EQ(registry.ReadValue(key, u"Big", &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(type, 0x1234u);
    EXPECT_EQ(data, (std::vector<unsigned char>{1, 2, 3}));
    EXPECT_EQ(registry.DeleteValue(key, u"Big"), ERROR_SUCCESS);
    EXPECT_EQ(registry.DeleteValue(key, u"Big"), ERROR_FILE_NOT_FOUND);
    registry.CloseKey(key);
    EXPECT_EQ(registry.OpenKeyForWrite(kPlace.roots.machine, u"SOFTWARE\\Velmora Edit Tests\\missing", &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Velmora Edit Tests\\missing").size(), 0u) << "not created";
}

TEST_F(RegistryEditWin32Test, RenameKeepsEveryValueAndRemovesTheEmptyGroup) {
    const auto never = [](const ReplaceQuestion&) { return false; };
    ASSERT_EQ(RenameRunCommand(registry, kPlace, Entry(u"tools\\ed.exe"), u"new\\editor", never, Fresh(ChangeJournal(registry))), ChangeResult::kDone);
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, Under(L"new\\editor.exe").c_str()), original);
    EXPECT_TRUE(Dump(HKEY_LOCAL_MACHINE, Under(L"tools").c_str()).empty()) << "the group left empty is gone";
    // Letter case only: the key takes the new spelling.
    ASSERT_EQ(RenameRunCommand(registry, kPlace, Entry(u"new\\editor.exe"), u"new\\Editor", never, Fresh(ChangeJournal(registry))), ChangeResult::kDone);
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, Under(L"new\\Editor.exe").c_str()), original);
    HKEY group = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Under(L"new").c_str(), 0, KEY_READ, &group), ERROR_SUCCESS);
    wchar_t name[256];
    DWORD length = 256;
    ASSERT_EQ(::RegEnumKeyExW(group, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    ::RegCloseKey(group);
    EXPECT_EQ(std::wstring(name, length), L"Editor.exe");
}

TEST_F(RegistryEditWin32Test, ARenameFailingAtAnyCallChangesNothingAndClosesEveryKey) {
    const Lines all = Dump(HKEY_LOCAL_MACHINE, kTestRoot);
    int failed = 0;
    for (int failAt = 0; failAt < 400; ++failAt) {
        CWin32Registry win32;
        memreg::WatchedRegistry counting(win32);
        counting.failAtCall = failAt;
        const ChangeResult result = RenameRunCommand(counting, kPlace, Entry(u"tools\\ed.exe"), u"other",
                                                   [](const ReplaceQuestion&) { return true; }, Fresh(ChangeJournal(counting)));
        EXPECT_TRUE(counting.Balanced()) << failAt;
        if (result == ChangeResult::kDone) {
            EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, Under(L"other.exe").c_str()), original) << failAt;
            break;
        }
        ++failed;
        ASSERT_EQ(Dump(HKEY_LOCAL_MACHINE, kTestRoot), all) << "failing call " << failAt;
    }
    EXPECT_GT(failed, 20);
}

TEST_F(RegistryEditWin32Test, RetargetAndPathChangeOnlyTheirValueAndKeepItsType) {
    const auto yes = [](const ReplaceQuestion&) { return true; };
    const RunEntry entry = Entry(u"tools\\ed.exe");
    ASSERT_EQ(ChangeRunCommandTarget(registry, kPlace, entry, u"D:\\New\\ed.exe", yes, Fresh(ChangeJournal(registry))), ChangeResult::kDone);
    Lines expected = WithValue(original, L"", TextLine(REG_EXPAND_SZ, L"D:\\New\\ed.exe"));
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, Under(L"tools\\ed.exe").c_str()), expected);

    ASSERT_EQ(SetRunCommandPath(registry, kPlace, entry, {u"C:\\Bin", u"%WINDIR%"}, Fresh(ChangeJournal(registry))), ChangeResult::kDone);
    expected = WithValue(expected, L"Path", TextLine(REG_EXPAND_SZ, L"C:\\Bin;%WINDIR%"));
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, Under(L"tools\\ed.exe").c_str()), expected);
    EXPECT_EQ(ReadRunCommandPath(registry, kPlace, entry), (std::vector<CStringW>{u"C:\\Bin", u"%WINDIR%"}));

    ASSERT_EQ(SetRunCommandPath(registry, kPlace, entry, {}, Fresh(ChangeJournal(registry))), ChangeResult::kDone);
    expected = WithValue(expected, L"Path", "");
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, Under(L"tools\\ed.exe").c_str()), expected);
}

TEST_F(RegistryEditWin32Test, CopyToTheUserAndBackKeepsEveryValue) {
    int asked = 0;
    const auto yes = [&](const ReplaceQuestion&) { return ++asked, true; };
    ASSERT_EQ(CopyRunCommandToScope(registry, kPlace, Entry(u"tools\\ed.exe"), RunScope::kCurrentUser, yes, Fresh(ChangeJournal(registry))),
              ChangeResult::kDone);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(Dump(HKEY_CURRENT_USER, Under(L"tools\\ed.exe").c_str()), original);
    // The user's copy gains a value; copied back it replaces the machine's
    // entry whole, after the question.
    ASSERT_TRUE(registry_dump::PutText(HKEY_CURRENT_USER, Under(L"tools\\ed.exe"), L"Mine", REG_SZ, L"1"));
    const Lines mine = Dump(HKEY_CURRENT_USER, Under(L"tools\\ed.exe").c_str());
    ASSERT_EQ(CopyRunCommandToScope(registry, kPlace, Entry(u"tools\\ed.exe", RunScope::kCurrentUser),
                                    RunScope::kLocalMachine, yes, Fresh(ChangeJournal(registry))),
              ChangeResult::kDone);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, Under(L"tools\\ed.exe").c_str()), mine);
}

TEST_F(RegistryEditWin32Test, ExportThenImportGivesEveryValueBack) {
    ASSERT_TRUE(registry_dump::PutEveryType(HKEY_CURRENT_USER, Under(L"mine.exe")));
    const Lines machine = Dump(HKEY_LOCAL_MACHINE, kTestRoot);
    const Lines user = Dump(HKEY_CURRENT_USER, kTestRoot);
    const RunCommandExport exported = ExportRunCommands(
        registry, kPlace,
        {Entry(u"tools\\ed.exe"), Entry(u"other.exe"), Entry(u"mine.exe", RunScope::kCurrentUser)});
    ASSERT_EQ(exported.exported, 3);
    Clear();
    const ImportPlan plan = PlanRunCommandImport(registry, kPlace, exported.file.data(), exported.file.size(), true);
    ASSERT_EQ(plan.error, RegFileError::kNone) << plan.errorLine;
    FixedPrompts prompts;
    RunCommandStore store(registry, kPlace, {RunScope::kLocalMachine, true}, prompts, [](const CStringW&) { return true; });
    const ImportCounts counts = store.ApplyImport(plan, {});
    EXPECT_EQ(counts.added, 3);
    EXPECT_EQ(counts.failed + counts.skipped, 0);
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, kTestRoot), machine);
    EXPECT_EQ(Dump(HKEY_CURRENT_USER, kTestRoot), user);
}

TEST(PathFolderExistsTest, VariablesAreExpandedAndOnlyFoldersCount) {
    const struct {
        const char16_t* folder;
        bool exists;
    } rows[] = {
        {u"%WINDIR%", true},
        {u"%SystemRoot%\\system32\\", true},
        {u"C:\\windows", true},
        {u"C:\\windows\\regedit.exe", false},  // a file
        {u"C:\\no such folder", false},
        {u"%VELMORA_NO_SUCH_VARIABLE%", false},
        {u"", false},
    };
    for (const auto& row : rows) EXPECT_EQ(PathFolderExists(row.folder), row.exists) << N(row.folder);
    const std::vector<PathFolder> marked = MarkPathFolders({u"%WINDIR%", u"\"C:\\missing\""}, PathFolderExists);
    EXPECT_FALSE(marked.at(0).missing);
    EXPECT_TRUE(marked.at(1).missing);
}

}  // namespace
