// The registry helpers on the Win32 registry of the Wine prefix (writing and
// reading values, enumerating and deleting keys, listing run commands), with
// every key handle counted and any step made to fail by the watch.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/platform/RegistryChangeWatch_win32.h"
#include "app/platform/SystemPlace_win32.h"
#include "app/registry/Registry_win32.h"
#include "app/registry/RegistryTree.h"
#include "app/runcmd/RunEntries.h"
#include "memory_registry.h"
#include "dialog_harness.h"
#include "gbk_text.h"

namespace {

const char kTestRoot[] = "SOFTWARE\\Velmora Tests";

class Win32RegistryTest : public testing::Test {
protected:
    void SetUp() override { DeleteTree(kTestRoot); }
    void TearDown() override { DeleteTree(kTestRoot); }
};

TEST_F(Win32RegistryTest, WriteThenReadRoundTrip) {
    // Names and data outside GBK, and an unpaired surrogate, which the file
    // system allows in a name: all stored as they are.
    CWin32Registry win32;
    const RegKey machine = ToRegKey(HKEY_LOCAL_MACHINE);
    // Then values that just fill the first read's buffer with their zero,
    // just miss it, and are many times longer: each read whole.
    const CStringW paths[] = {u"C:\\工具\\b.exe", u"C:\\Tools\\J\u00F6rg \uD55C\uAD6D\\tool.exe",
                              u"C:\\\U0001F600\\a\xD800.exe", CStringW(std::u16string(511, u'x')),
                              CStringW(std::u16string(512, u'y')), CStringW(std::u16string(5000, u'z'))};
    for (const CStringW& path : paths) {
        const CStringW key = u"SOFTWARE\\Velmora Tests\\J\u00F6rg \uD55C\uAD6D\\b.exe";
        ASSERT_TRUE(RegWriteString(win32, machine, key, CStringW(), path)) << N(path);
        EXPECT_EQ(RegReadString(win32, machine, key, CStringW()), path);
        CStringW stored;
        DWORD type = 0;
        DWORD size = 0;
        ASSERT_TRUE(ReadValueW(HKEY_LOCAL_MACHINE, key, CStringW(), &stored, &type, &size));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(size, (path.size() + 1) * sizeof(char16_t)) << "UTF-16 with its zero";
        EXPECT_EQ(stored, path);
    }
    EXPECT_EQ(RegReadString(win32, machine, u"SOFTWARE\\Velmora Tests\\missing", CStringW()), CStringW());
    EXPECT_EQ(
        RegReadString(win32, machine, u"SOFTWARE\\Velmora Tests\\J\u00F6rg \uD55C\uAD6D\\b.exe", u"nope"),
        CStringW());
}

TEST_F(Win32RegistryTest, NoKeyStaysOpenWhicheverStepFails) {
    const CStringW path = u"SOFTWARE\\Velmora Tests\\x\\y\\z.exe";  // five keys, then the value
    for (int step = -1; step < 6; ++step) {
        CWin32Registry win32;
        memreg::WatchedRegistry reg(win32);
        reg.failAtCall = step;
        const bool stored = RegWriteString(reg, ToRegKey(HKEY_LOCAL_MACHINE), path, CStringW(), u"C:\\z.exe");
        EXPECT_EQ(stored, step == -1) << "step " << step;
        EXPECT_TRUE(reg.Balanced()) << "step " << step << ": " << reg.OpenKeys() << " keys left open, "
                                    << reg.strayCloses << " stray closes";
    }
    for (int step = -1; step < 2; ++step) {  // opening the key, reading the value
        CWin32Registry win32;
        memreg::WatchedRegistry reg(win32);
        reg.failAtCall = step;
        const CStringW value = RegReadString(reg, ToRegKey(HKEY_LOCAL_MACHINE), path, CStringW());
        EXPECT_EQ(value, step == -1 ? CStringW(u"C:\\z.exe") : CStringW()) << "step " << step;
        EXPECT_TRUE(reg.Balanced()) << "step " << step;
    }
}

TEST_F(Win32RegistryTest, ANonTextValueIsReadUpToItsFirstZero) {
    HKEY hKey = nullptr;
    ASSERT_EQ(
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestRoot, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr),
        ERROR_SUCCESS);
    const BYTE bytes[] = {'a', 0, 'b', 0, 'c', 0, 'd'};  // no terminating zero, an odd last byte
    ::RegSetValueExA(hKey, "bin", 0, REG_BINARY, bytes, sizeof(bytes));
    const BYTE expandable[] = "%SystemRoot%\\x.exe";
    ::RegSetValueExA(hKey, "expand", 0, REG_EXPAND_SZ, expandable, sizeof(expandable));
    ::RegCloseKey(hKey);
    CWin32Registry win32;
    const RegKey machine = ToRegKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RegReadString(win32, machine, W(kTestRoot), u"bin"), CStringW(u"abc"));
    EXPECT_EQ(RegReadString(win32, machine, W(kTestRoot), u"expand"), CStringW(u"%SystemRoot%\\x.exe"))
        << "read as stored; expanding is the reader's part";
}

}  // namespace

namespace {

const char kTreeRoot[] = "SOFTWARE\\Velmora Tests\\tree";

// A key with `count` copies of the GBK character 中 as its name, twice as
// many bytes.
std::string LongName(int count) {
    std::string name;
    for (int i = 0; i < count; ++i) name += "中";
    return name;
}

TEST_F(Win32RegistryTest, SubkeysOfAnyNameLengthAreEnumeratedCountedAndDeleted) {
    // Created relative to their parent: Wine's ANSI functions refuse whole
    // paths longer than 260 characters.
    const std::string names[] = {"a", LongName(127), LongName(250), std::string(250, 'x')};
    WriteValue(kTreeRoot, "value", "v");
    CWin32Registry reg;
    RegKey key = 0;
    ASSERT_EQ(reg.CreateKey(ToRegKey(HKEY_LOCAL_MACHINE), W(kTreeRoot).c_str(), &key), ERROR_SUCCESS);
    for (const std::string& name : names) {
        RegKey child = 0;
        ASSERT_EQ(reg.CreateKey(key, W(name).c_str(), &child), ERROR_SUCCESS) << name.size() << " bytes";
        reg.CloseKey(child);
    }
    std::set<std::string> seen;
    CStringW name(u"untouched");
    std::uint32_t index = 0;
    for (; reg.EnumSubKey(key, index, &name) == ERROR_SUCCESS; ++index) seen.insert(N(name));
    EXPECT_EQ(index, 4u);
    EXPECT_EQ(seen, std::set<std::string>(std::begin(names), std::end(names)));
    // Opened in another letter case, a key tells its own spelling, whatever
    // the length of its name.
    for (const std::string& name : names) {
        std::string other = name;
        for (char& c : other) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        RegKey opened = 0;
        ASSERT_EQ(reg.OpenKeyForRead(key, W(other).c_str(), &opened), ERROR_SUCCESS);
        CStringW spelled;
        EXPECT_EQ(reg.KeyName(opened, &spelled), ERROR_SUCCESS);
        EXPECT_EQ(N(spelled), name);
        reg.CloseKey(opened);
    }
    CStringW after(u"untouched");
    EXPECT_EQ(reg.EnumSubKey(key, index, &after), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(after, CStringW(u"untouched")) << "no name on failure";
    std::uint32_t subKeys = 0;
    std::uint32_t values = 0;
    EXPECT_EQ(reg.QueryKeyCounts(key, &subKeys, &values), ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 4u);
    EXPECT_EQ(values, 1u);
    EXPECT_EQ(reg.DeleteSubKey(key, W(LongName(250)).c_str()), ERROR_SUCCESS);
    std::uint32_t left = 0;
    EXPECT_EQ(reg.QueryKeyCounts(key, &left, &values), ERROR_SUCCESS);
    EXPECT_EQ(left, 3u);
    reg.CloseKey(key);
}

// App Paths of the tests: entries in both nesting levels, one with a subkey.
void FillTree() {
    const std::string root = kTreeRoot;
    WriteValue((root + "\\ed.exe").c_str(), "", "C:\\ed.exe");
    WriteValue((root + "\\ed.exe").c_str(), "Path", "C:\\");
    WriteValue((root + "\\ed.exe\\SupportedProtocols").c_str(), "http", "");
    WriteValue((root + "\\tools\\x.exe").c_str(), "", "C:\\x.exe");
}

TEST_F(Win32RegistryTest, ListingAndDeletingCloseEveryKeyWhicheverCallFails) {
    FillTree();
    for (int step = -1;; ++step) {
        CWin32Registry win32;
        memreg::WatchedRegistry reg(win32);
        reg.failAtCall = step;
        std::vector<RunEntry> entries;
        const int skipped =
            ListRunEntries(reg, ToRegKey(HKEY_LOCAL_MACHINE), W(kTreeRoot), RunScope::kLocalMachine, entries);
        EXPECT_TRUE(reg.Balanced()) << "listing, step " << step;
        if (step == -1) {
            EXPECT_EQ(skipped, 0);
            ASSERT_EQ(entries.size(), 2u);
        }
        if (step >= reg.calls) break;
    }
    int steps = 0;
    for (int step = -1;; ++step) {
        FillTree();
        CWin32Registry win32;
        memreg::WatchedRegistry reg(win32);
        reg.failAtCall = step;
        const std::string entry = std::string(kTreeRoot) + "\\ed.exe";
        const long status = DeleteKeyTree(reg, ToRegKey(HKEY_LOCAL_MACHINE), W(entry));
        EXPECT_TRUE(reg.Balanced()) << "deleting, step " << step;
        EXPECT_EQ(status == ERROR_SUCCESS, step == -1 || step >= reg.calls) << "deleting, step " << step;
        EXPECT_EQ(KeyExists(entry.c_str()), status != ERROR_SUCCESS) << "deleting, step " << step;
        EXPECT_TRUE(KeyExists((std::string(kTreeRoot) + "\\tools\\x.exe").c_str())) << "nothing else";
        if (step >= reg.calls) break;
        ++steps;
    }
    EXPECT_GE(steps, 6) << "open, two enumerations, the subkey's open and enumeration, two deletes";
}

}  // namespace

namespace {

const char kWatchedAppPaths[] = "SOFTWARE\\Velmora Tests\\App Paths";

std::string Watched(const char* keyPath) { return std::string(kWatchedAppPaths) + "\\" + keyPath; }

}  // namespace

TEST_F(Win32RegistryTest, TheListingWatchSeesEveryChangeBelowEitherScopeAndOnlyThen) {
    DeleteTree(HKEY_CURRENT_USER, kTestRoot);
    WriteValue(HKEY_LOCAL_MACHINE, Watched("ed.exe").c_str(), "", "C:\\ed.exe");
    WriteValue(HKEY_CURRENT_USER, Watched("tools\\ed.exe").c_str(), "", "C:\\ed.exe");
    RunCommandPlace place = SystemRunCommandPlace();
    place.appPathsKey = W(kWatchedAppPaths);
    RegistryChangeWatch watch(place);
    EXPECT_FALSE(watch.MayHaveChanged());
    // Reading changes nothing.
    std::string data;
    DWORD type = 0;
    EXPECT_TRUE(ReadValue(HKEY_CURRENT_USER, Watched("tools\\ed.exe").c_str(), "", &data, &type));
    EXPECT_FALSE(watch.MayHaveChanged());

    // A value set deep in the user's tree, a key added to the machine's and
    // deleted again: each seen, and seen until the next listing rearms.
    const struct {
        const char* what;
        void (*change)();
    } changes[] = {
        {"a value set in a nested key",
         [] { WriteValue(HKEY_CURRENT_USER, Watched("tools\\ed.exe").c_str(), "Path", "C:\\"); }},
        {"a key added", [] { WriteValue(HKEY_LOCAL_MACHINE, Watched("new.exe").c_str(), "", "C:\\n.exe"); }},
        {"a key deleted", [] { DeleteTree(HKEY_LOCAL_MACHINE, Watched("new.exe").c_str()); }},
    };
    for (const auto& change : changes) {
        change.change();
        EXPECT_TRUE(watch.MayHaveChanged()) << change.what;
        EXPECT_TRUE(watch.MayHaveChanged()) << change.what << ", asked again";
        watch.Rearm();
        EXPECT_FALSE(watch.MayHaveChanged()) << change.what << ", after the rearm";
    }
    // A rearm with nothing seen keeps the notice it has.
    watch.Rearm();
    WriteValue(HKEY_LOCAL_MACHINE, Watched("ed.exe").c_str(), "", "C:\\other.exe");
    EXPECT_TRUE(watch.MayHaveChanged());

    // A scope without the key cannot be watched: every refresh lists again.
    DeleteTree(HKEY_CURRENT_USER, kTestRoot);
    RegistryChangeWatch halfWatch(place);
    EXPECT_TRUE(halfWatch.MayHaveChanged());
    halfWatch.Rearm();
    EXPECT_TRUE(halfWatch.MayHaveChanged());
}
