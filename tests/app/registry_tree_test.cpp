// Deleting key trees and the empty keys they leave, through a fake registry
// that counts every handle and can fail any call.
#include <gtest/gtest.h>

#include <string>

#include "app/registry/RegistryTree.h"
#include "memory_registry.h"

namespace {

using memreg::MemoryRegistry;
using memreg::kRoot;

const std::string kBase = "SOFTWARE\\App Paths";

// The App Paths of the tests: an entry with a subkey of its own and values,
// a nested entry beside a sibling, a nested entry alone in its group, and a
// group that holds a value.
void Fill(MemoryRegistry& reg) {
    reg.PutText(kBase + "\\ed.exe", "", "C:\\Tools\\ed.exe");
    reg.PutText(kBase + "\\ed.exe", "Path", "C:\\Tools");
    reg.PutText(kBase + "\\ed.exe\\SupportedProtocols", "http", "");
    reg.PutText(kBase + "\\tools\\a.exe", "", "C:\\a.exe");
    reg.PutText(kBase + "\\tools\\b.exe", "", "C:\\b.exe");
    reg.PutText(kBase + "\\deep\\er\\c.exe", "", "C:\\c.exe");
    reg.PutText(kBase + "\\kept\\d.exe", "", "C:\\d.exe");
    reg.PutText(kBase + "\\kept", "note", "a value keeps the group");
}

TEST(DeleteKeyTreeTest, DeletesTheKeyWithItsValuesAndSubkeysAndNothingElse) {
    const struct {
        const char* key;
        std::size_t keysGone;
    } cases[] = {
        {"ed.exe", 2},        // with its own subkey
        {"tools\\a.exe", 1},  // nested, the sibling stays
        {"tools", 3},         // a whole group
        {"missing.exe", 0},   // already gone counts as deleted
    };
    for (const auto& c : cases) {
        MemoryRegistry reg;
        Fill(reg);
        const std::size_t before = reg.keys.size();
        auto expected = reg.keys;
        const std::string deleted = kBase + "\\" + c.key;
        for (auto it = expected.begin(); it != expected.end();) {
            const bool inTree = it->first == deleted || it->first.Text().rfind(deleted + "\\", 0) == 0;
            it = inTree ? expected.erase(it) : std::next(it);
        }
        EXPECT_EQ(DeleteKeyTree(reg, kRoot, W(deleted)), kRegistrySuccess) << c.key;
        EXPECT_TRUE(reg.Balanced()) << c.key;
        EXPECT_EQ(before - reg.keys.size(), c.keysGone) << c.key;
        EXPECT_TRUE(reg.keys == expected) << c.key << ": something outside the tree changed";
    }
}

TEST(DeleteKeyTreeTest, AFailureAtAnyCallClosesEveryKeyAndTouchesNothingOutside) {
    // Count the calls of a clean run, then fail each of them in turn.
    MemoryRegistry clean;
    Fill(clean);
    ASSERT_EQ(DeleteKeyTree(clean, kRoot, W(kBase + "\\ed.exe")), kRegistrySuccess);
    const int callCount = clean.calls;
    ASSERT_GT(callCount, 4);
    for (int step = 0; step < callCount; ++step) {
        MemoryRegistry reg;
        Fill(reg);
        reg.failAtCall = step;
        EXPECT_EQ(DeleteKeyTree(reg, kRoot, W(kBase + "\\ed.exe")), kRegistryAccessDenied) << "step " << step;
        EXPECT_TRUE(reg.Balanced()) << "step " << step;
        EXPECT_EQ(reg.keys.count(kBase + "\\ed.exe"), 1u) << "step " << step << ": the entry itself stays";
        EXPECT_EQ(reg.keys.at(kBase + "\\ed.exe").size(), 2u) << "step " << step << ": with its values";
        EXPECT_EQ(reg.keys.count(kBase + "\\tools\\a.exe"), 1u) << "step " << step;
    }
}

TEST(DeleteKeyTreeTest, AnUndeletableKeyIsReportedAndItsTreeStays) {
    MemoryRegistry reg;
    Fill(reg);
    reg.RefuseDelete(kBase + "\\tools\\b.exe");
    EXPECT_EQ(DeleteKeyTree(reg, kRoot, W(kBase + "\\tools")), kRegistryAccessDenied);
    EXPECT_TRUE(reg.Balanced());
    EXPECT_EQ(reg.keys.count(kBase + "\\tools"), 1u);
    EXPECT_EQ(reg.keys.count(kBase + "\\tools\\b.exe"), 1u);
    EXPECT_EQ(reg.keys.count(kBase + "\\ed.exe"), 1u);
}

TEST(DeleteKeyTreeTest, RefusesAnEmptyPathAndTreesDeeperThanTheLimit) {
    MemoryRegistry reg;
    Fill(reg);
    const std::size_t keys = reg.keys.size();
    EXPECT_EQ(DeleteKeyTree(reg, kRoot, u""), kRegistryBadKey) << "that would be the root itself";
    EXPECT_EQ(reg.keys.size(), keys);

    std::string deep = kBase + "\\loop";
    for (int i = 0; i <= kMaxKeyTreeDepth; ++i) deep += "\\x";
    reg.MakeKey(deep);
    EXPECT_EQ(DeleteKeyTree(reg, kRoot, W(kBase + "\\loop")), kRegistryBadKey);
    EXPECT_EQ(reg.keys.count(deep), 1u);
    EXPECT_TRUE(reg.Balanced());
}

TEST(RemoveEmptyParentKeysTest, RemovesOnlyGroupsLeftWithNothing) {
    const struct {
        const char* deleted;   // the entry deleted before
        int removed;           // groups removed after it
        const char* survivor;  // a group that must stay, or null
    } cases[] = {
        {"deep\\er\\c.exe", 2, nullptr},  // both levels empty
        {"tools\\a.exe", 0, "tools"},     // a sibling remains
        {"kept\\d.exe", 0, "kept"},       // the group holds a value
        {"ed.exe", 0, nullptr},           // no group at all
    };
    for (const auto& c : cases) {
        MemoryRegistry reg;
        Fill(reg);
        ASSERT_EQ(DeleteKeyTree(reg, kRoot, W(kBase + "\\" + c.deleted)), kRegistrySuccess);
        EXPECT_EQ(RemoveEmptyParentKeys(reg, kRoot, W(kBase), W(c.deleted)), c.removed) << c.deleted;
        EXPECT_EQ(reg.keys.count(kBase), 1u) << "App Paths itself stays";
        if (c.survivor != nullptr) {
            EXPECT_EQ(reg.keys.count(kBase + "\\" + c.survivor), 1u) << c.deleted;
        }
        EXPECT_TRUE(reg.Balanced()) << c.deleted;
    }
    MemoryRegistry reg;
    Fill(reg);
    ASSERT_EQ(DeleteKeyTree(reg, kRoot, W(kBase + "\\deep\\er\\c.exe")), kRegistrySuccess);
    ASSERT_EQ(RemoveEmptyParentKeys(reg, kRoot, W(kBase), u"deep\\er\\c.exe"), 2);
    EXPECT_EQ(reg.keys.count(kBase + "\\deep\\er"), 0u);
    EXPECT_EQ(reg.keys.count(kBase + "\\deep"), 0u);
}

TEST(RemoveEmptyParentKeysTest, NamesAreTakenAsTheyAreNeverTrimmed) {
    // "*grp" trimmed as a typed name would be "grp": another, empty key.
    MemoryRegistry reg;
    reg.PutText(kBase + "\\ *grp \\x.exe", "", "C:\\x.exe");
    reg.MakeKey(kBase + "\\*grp");
    reg.MakeKey(kBase + "\\grp");
    ASSERT_EQ(DeleteKeyTree(reg, kRoot, W(kBase + "\\ *grp \\x.exe")), kRegistrySuccess);
    EXPECT_EQ(RemoveEmptyParentKeys(reg, kRoot, W(kBase), u" *grp \\x.exe"), 1);
    EXPECT_EQ(reg.keys.count(kBase + "\\ *grp "), 0u);
    EXPECT_EQ(reg.keys.count(kBase + "\\*grp"), 1u);
    EXPECT_EQ(reg.keys.count(kBase + "\\grp"), 1u);
}

TEST(RemoveEmptyParentKeysTest, AFailureStopsTheCleanUpWithTheKeysBalanced) {
    for (int step = 0; step < 6; ++step) {
        MemoryRegistry reg;
        Fill(reg);
        ASSERT_EQ(DeleteKeyTree(reg, kRoot, W(kBase + "\\deep\\er\\c.exe")), kRegistrySuccess);
        reg.calls = 0;
        reg.failAtCall = step;
        const int removed = RemoveEmptyParentKeys(reg, kRoot, W(kBase), u"deep\\er\\c.exe");
        // Three calls per level: open, count, delete.
        EXPECT_EQ(removed, step / 3) << "step " << step;
        EXPECT_TRUE(reg.Balanced()) << "step " << step;
        EXPECT_EQ(reg.keys.count(kBase + "\\deep"), removed == 2 ? 0u : 1u) << "step " << step;
    }
}

}  // namespace
