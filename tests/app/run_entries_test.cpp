// The manager's listing model: the walk below App Paths in both scopes
// through a fake registry, the broken and shadowed marks, and the System32
// paths a 32-bit process reads through Sysnative.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/registry/RegistryTree.h"
#include "app/runcmd/RunEntries.h"
#include "app/platform/SysnativePath.h"
#include "memory_registry.h"

namespace {

using memreg::MemoryRegistry;
using memreg::kRoot;
using memreg::kUserRoot;

const std::string kAppPaths = "SOFTWARE\\App Paths";
const std::string kUserAppPaths = "U:SOFTWARE\\App Paths";

struct Listed {
    std::string command, keyPath, target;
    RunScope scope;
    std::string path = "";
    bool terminal = false;
    friend bool operator==(const Listed&, const Listed&) = default;
};

std::vector<Listed> Summary(const std::vector<RunEntry>& entries) {
    std::vector<Listed> out;
    for (const RunEntry& e : entries)
        out.push_back({N(e.command), N(e.keyPath), N(e.target), e.scope, N(e.path), e.terminal});
    return out;
}

TEST(ListRunEntriesTest, ListsEveryEntryOfBothScopesWithNestedNames) {
    MemoryRegistry reg;
    reg.PutText(kAppPaths + "\\ed.exe", "", "C:\\Tools\\ed.exe");
    reg.PutText(kAppPaths + "\\ed.exe", "Path", "C:\\Tools;%Lib%");
    reg.PutText(kAppPaths + "\\ed.exe\\SupportedProtocols", "", "not an entry of its own");
    reg.PutText(kAppPaths + "\\IEXPLORE.EXE", "", "\"C:\\Program Files\\ie.exe\"");
    reg.PutText(kAppPaths + "\\tools\\deep\\x.exe", "", "C:\\x.exe");
    reg.PutText(kAppPaths + "\\tools", "", "a group's value is no entry");
    reg.MakeKey(kAppPaths + "\\novalue.exe");
    reg.MakeKey(kAppPaths + "\\.exe");  // no name before the extension: a group
    reg.MakeKey(kAppPaths + "\\readme.txt");
    reg.PutText(kUserAppPaths + "\\ed.exe", "", "D:\\Mine\\ed.exe");
    reg.PutText(kUserAppPaths + "\\工具\\编辑.exe", "", "D:\\工具\\编辑.exe");
    // Keys of one or two values are read value by value, larger ones by
    // name: the same entry either way, names matched in any letter case.
    const std::string mark = std::string("\x01\0\0\0", 4);
    reg.PutText(kUserAppPaths + "\\only-path.exe", "PATH", "C:\\Lib");
    reg.PutRaw(kUserAppPaths + "\\marked.exe", "velmoraterminal", kRegDword, mark);
    reg.PutText(kUserAppPaths + "\\marked.exe", "", "C:\\m.exe");
    reg.PutRaw(kUserAppPaths + "\\unmarked.exe", "VelmoraTerminal", kRegDword, std::string(4, '\0'));
    reg.PutRaw(kUserAppPaths + "\\wordmark.exe", "VelmoraTerminal", kRegSz, mark);
    reg.PutText(kUserAppPaths + "\\x3.exe", "", "C:\\x3.exe");
    reg.PutText(kUserAppPaths + "\\x3.exe", "Path", "C:\\3");
    reg.PutRaw(kUserAppPaths + "\\x3.exe", "VelmoraTerminal", kRegDword, mark);
    reg.PutText(kUserAppPaths + "\\x4.exe", "", "C:\\x4.exe");
    reg.PutText(kUserAppPaths + "\\x4.exe", "UseUrl", "1");
    reg.PutText(kUserAppPaths + "\\x4.exe", "path", "C:\\4");
    reg.PutRaw(kUserAppPaths + "\\x4.exe", "VelmoraTerminal", kRegDword, std::string("\0\0\0\0\1", 5));

    std::vector<RunEntry> entries;
    EXPECT_EQ(ListRunEntries(reg, kRoot, W(kAppPaths), RunScope::kLocalMachine, entries), 0);
    EXPECT_EQ(ListRunEntries(reg, kUserRoot, u"SOFTWARE\\App Paths", RunScope::kCurrentUser, entries), 0);
    const std::vector<Listed> expected = {
        // In the registry's order, letter case ignored.
        {"ed", "ed.exe", "C:\\Tools\\ed.exe", RunScope::kLocalMachine, "C:\\Tools;%Lib%"},
        {"IEXPLORE", "IEXPLORE.EXE", "\"C:\\Program Files\\ie.exe\"", RunScope::kLocalMachine},
        {"novalue", "novalue.exe", "", RunScope::kLocalMachine},
        {"tools\\deep\\x", "tools\\deep\\x.exe", "C:\\x.exe", RunScope::kLocalMachine},
        {"ed", "ed.exe", "D:\\Mine\\ed.exe", RunScope::kCurrentUser},
        {"marked", "marked.exe", "C:\\m.exe", RunScope::kCurrentUser, "", true},
        {"only-path", "only-path.exe", "", RunScope::kCurrentUser, "C:\\Lib"},
        {"unmarked", "unmarked.exe", "", RunScope::kCurrentUser},
        {"wordmark", "wordmark.exe", "", RunScope::kCurrentUser},
        {"x3", "x3.exe", "C:\\x3.exe", RunScope::kCurrentUser, "C:\\3", true},
        {"x4", "x4.exe", "C:\\x4.exe", RunScope::kCurrentUser, "C:\\4"},
        {"工具\\编辑", "工具\\编辑.exe", "D:\\工具\\编辑.exe", RunScope::kCurrentUser},
    };
    EXPECT_EQ(Summary(entries), expected);
    EXPECT_TRUE(reg.Balanced());

    // When counting or reading a value fails, the key is read by name.
    for (const memreg::RegCall kind : {memreg::RegCall::kQueryKeyCounts, memreg::RegCall::kEnumValue}) {
        for (int step = 0; step < 12; ++step) {
            MemoryRegistry failing;
            failing.keys = reg.keys;
            failing.failKind = kind;
            failing.failAtCall = step;
            std::vector<RunEntry> again;
            ListRunEntries(failing, kUserRoot, u"SOFTWARE\\App Paths", RunScope::kCurrentUser, again);
            EXPECT_EQ(Summary(again), std::vector<Listed>(expected.begin() + 4, expected.end())) << step;
            EXPECT_TRUE(failing.Balanced());
        }
    }
}

TEST(ListRunEntriesTest, AMissingAppPathsKeyHoldsNothingAndUnreadableKeysAreCounted) {
    MemoryRegistry empty;
    std::vector<RunEntry> entries;
    EXPECT_EQ(ListRunEntries(empty, kUserRoot, u"SOFTWARE\\App Paths", RunScope::kCurrentUser, entries), 0);
    EXPECT_TRUE(entries.empty());

    // Every call of a walk failing in turn: whatever was read stays listed,
    // the failure is counted, no key stays open.
    MemoryRegistry clean;
    clean.PutText(kAppPaths + "\\a.exe", "", "C:\\a.exe");
    clean.PutText(kAppPaths + "\\g\\b.exe", "", "C:\\b.exe");
    std::vector<RunEntry> all;
    ASSERT_EQ(ListRunEntries(clean, kRoot, W(kAppPaths), RunScope::kLocalMachine, all), 0);
    for (int step = 0; step < clean.calls; ++step) {
        MemoryRegistry reg;
        reg.keys = clean.keys;
        reg.failAtCall = step;
        std::vector<RunEntry> some;
        const int skipped = ListRunEntries(reg, kRoot, W(kAppPaths), RunScope::kLocalMachine, some);
        EXPECT_TRUE(reg.Balanced()) << "step " << step;
        EXPECT_LE(some.size(), all.size()) << "step " << step;
        // A failed value read leaves the entry listed without a target.
        const bool valueRead = skipped == 0;
        if (valueRead) {
            EXPECT_EQ(some.size(), all.size()) << "step " << step;
        } else {
            EXPECT_EQ(skipped, 1) << "step " << step;
        }
    }
}

TEST(ListRunEntriesTest, GroupsDeeperThanTheLimitAreSkippedAndCounted) {
    MemoryRegistry reg;
    std::string group = kAppPaths;
    for (int i = 1; i < kMaxKeyTreeDepth; ++i) group += "\\g";
    reg.PutText(group + "\\last.exe", "", "C:\\last.exe");
    reg.PutText(group + "\\g\\toodeep.exe", "", "C:\\toodeep.exe");
    std::vector<RunEntry> entries;
    EXPECT_EQ(ListRunEntries(reg, kRoot, W(kAppPaths), RunScope::kLocalMachine, entries), 1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].target, CStringW(u"C:\\last.exe"));
    EXPECT_TRUE(reg.Balanced());
}

TEST(TargetFileOfTest, TakesBlanksAndQuotesOff) {
    const struct {
        const char* target;
        const char* file;
    } cases[] = {
        {"C:\\Tools\\ed.exe", "C:\\Tools\\ed.exe"},
        {"  C:\\Program Files\\x.exe \t", "C:\\Program Files\\x.exe"},
        {"\"C:\\Program Files\\x.exe\"", "C:\\Program Files\\x.exe"},
        {"\"C:\\x.exe\" --flag", "C:\\x.exe"},
        {"\"C:\\unclosed.exe", "C:\\unclosed.exe"},
        {"\"\"", ""},
        {"   ", ""},
        {"%ProgramFiles%\\x.exe", "%ProgramFiles%\\x.exe"},
    };
    for (const auto& c : cases) EXPECT_EQ(TargetFileOf(W(c.target)), W(c.file)) << c.target;
}

TEST(TargetFileOfTest, TheFolderOfAFile) {
    const struct {
        const char* file;
        const char* folder;
    } cases[] = {
        {"C:\\Tools\\ed.exe", "C:\\Tools"},
        {"C:\\ed.exe", "C:\\"},
        {"ed.exe", ""},
        {"\\\\server\\share\\x.exe", "\\\\server\\share"},
        {"C:\\\xD5\x5C.exe", "C:\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(FolderOfFile(W(c.file)), W(c.folder)) << c.file;
}

TEST(SysnativePathTest, OnlyTheWindowsFoldersSystem32IsSeenThroughSysnative) {
    const struct {
        const char* path;
        const char* windows;
        const char* seen;
    } cases[] = {
        {"C:\\Windows\\System32\\OpenSSH\\ssh.exe", "C:\\Windows",
         "C:\\Windows\\Sysnative\\OpenSSH\\ssh.exe"},
        // The path's own spelling is kept; only System32 is replaced.
        {"c:\\WINDOWS\\system32\\x.exe", "C:\\Windows", "c:\\WINDOWS\\Sysnative\\x.exe"},
        {"C:\\Windows\\System32", "C:\\Windows", "C:\\Windows\\Sysnative"},
        {"C:\\Windows\\System32\\", "C:\\Windows\\", "C:\\Windows\\Sysnative\\"},
        {"C:/Windows/System32/x.exe", "C:\\Windows", "C:/Windows/Sysnative/x.exe"},
        {"C:\\Windows\\\\System32/x.exe", "C:\\Windows\\\\", "C:\\Windows\\\\Sysnative/x.exe"},
        {"D:\\WINNT\\System32\\工具\\程序.exe", "d:\\winnt", "D:\\WINNT\\Sysnative\\工具\\程序.exe"},
        // Other folders, and names that only start like them.
        {"C:\\Windows\\System32x\\x.exe", "C:\\Windows", "C:\\Windows\\System32x\\x.exe"},
        {"C:\\Windows\\System3", "C:\\Windows", "C:\\Windows\\System3"},
        {"C:\\Windows\\SysWOW64\\x.exe", "C:\\Windows", "C:\\Windows\\SysWOW64\\x.exe"},
        {"C:\\Windows\\Sysnative\\x.exe", "C:\\Windows", "C:\\Windows\\Sysnative\\x.exe"},
        {"C:\\Windows.old\\System32\\x.exe", "C:\\Windows", "C:\\Windows.old\\System32\\x.exe"},
        {"C:\\WindowsSystem32\\x.exe", "C:\\Windows", "C:\\WindowsSystem32\\x.exe"},
        {"D:\\Windows\\System32\\x.exe", "C:\\Windows", "D:\\Windows\\System32\\x.exe"},
        {"C:\\Tools\\Windows\\System32\\x.exe", "C:\\Windows", "C:\\Tools\\Windows\\System32\\x.exe"},
        // Forms the caller expands or resolves first, and forms left alone.
        {"%windir%\\System32\\x.exe", "C:\\Windows", "%windir%\\System32\\x.exe"},
        {"System32\\x.exe", "C:\\Windows", "System32\\x.exe"},
        {"\\\\?\\C:\\Windows\\System32\\x.exe", "C:\\Windows", "\\\\?\\C:\\Windows\\System32\\x.exe"},
        {"", "C:\\Windows", ""},
        {"C:\\Windows\\System32\\x.exe", "", "C:\\Windows\\System32\\x.exe"},
        {"C:\\Windows\\System32\\x.exe", "\\", "C:\\Windows\\System32\\x.exe"},
        // Written in GBK: 0xD5 0x5C is one character whose trail byte looks
        // like a backslash, 0x81 0x41 and 0x81 0x61 two characters whose
        // trail bytes look like A and a; none of them is taken for one.
        {"C:\\W\xD5\x5C\\System32\\x.exe", "C:\\W\xD5\x5C", "C:\\W\xD5\x5C\\Sysnative\\x.exe"},
        {"C:\\W\xD5\x5CSystem32\\x.exe", "C:\\W\xD5\x5C", "C:\\W\xD5\x5CSystem32\\x.exe"},
        {"C:\\W\xD5\x5CSystem32\\x.exe", "C:\\W\xD5", "C:\\W\xD5\x5CSystem32\\x.exe"},
        {"C:\\\x81\x61\\System32\\x.exe", "C:\\\x81\x41", "C:\\\x81\x61\\System32\\x.exe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathThroughSysnative(W(c.path), W(c.windows)), W(c.seen)) << c.path << " in " << c.windows;
    }
    // Characters outside GBK, and an unpaired surrogate, pass through whole.
    EXPECT_EQ(
        PathThroughSysnative(u"C:\\Windows\\System32\\J\u00F6rg \uD55C\uAD6D\\\xD800.exe", u"C:\\Windows"),
        u"C:\\Windows\\Sysnative\\J\u00F6rg \uD55C\uAD6D\\\xD800.exe");
    EXPECT_EQ(PathThroughSysnative(u"C:\\W\u00EFndows\\System32\\x.exe", u"C:\\W\u00CFndows"),
              u"C:\\W\u00EFndows\\System32\\x.exe")
        << "only ASCII letters are folded";
}

TEST(MarkRunEntriesTest, BrokenAndShadowedMarks) {
    const auto machine = [](const char* key, const char* target) {
        RunEntry e;
        e.keyPath = W(key);
        e.target = W(target);
        e.scope = RunScope::kLocalMachine;
        return e;
    };
    const auto user = [&](const char* key, const char* target) {
        RunEntry e = machine(key, target);
        e.scope = RunScope::kCurrentUser;
        return e;
    };
    std::vector<RunEntry> entries = {
        machine("ed.exe", "C:\\ed.exe"),          // hidden by the user's ED.EXE
        user("ED.EXE", "C:\\missing.exe"),        // the user's own is never shadowed
        machine("ok.exe", "\"C:\\ED.exe\""),      // the same file as the first, asked once
        machine("gone.exe", "C:\\missing.exe"),   // broken
        machine("empty.exe", ""),                 // no target: broken without asking
        machine("工具\\编辑.exe", "C:\\ok.exe"),  // hidden, multi-byte name
        user("工具\\编辑.EXE", "C:\\ok.exe"),
        machine("only.exe", "C:\\ok.exe"),
    };
    std::vector<std::string> asked;
    MarkRunEntries(entries, [&asked](const CStringW& file) {
        asked.push_back(N(file));
        return CStringW(file).MakeLower() != CStringW(u"c:\\missing.exe");
    });
    const struct {
        bool broken, shadowed;
    } expected[] = {{false, true}, {true, false}, {false, false}, {true, false},
                    {true, false}, {false, true}, {false, false}, {false, false}};
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].broken, expected[i].broken) << N(entries[i].keyPath);
        EXPECT_EQ(entries[i].shadowed, expected[i].shadowed) << N(entries[i].keyPath);
    }
    EXPECT_EQ(asked, (std::vector<std::string>{"C:\\ed.exe", "C:\\missing.exe", "C:\\ok.exe"}))
        << "once per file, letter case ignored, never for an empty target";
}

}  // namespace
