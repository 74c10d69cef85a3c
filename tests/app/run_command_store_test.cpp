// The run-command store through a registry in memory: the listing of both
// scopes with their marks, the questions it asks before replacing and
// deleting (and that No changes nothing), the machine scope refused without
// administrator rights, and every failure coming back as a value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/text/QuestionText.h"
#include "app/runcmd/RunCommandStore.h"
#include "app/ui/RowValueFill.h"
#include "memory_registry.h"

namespace {

using memreg::MemoryRegistry;

const RunCommandPlace kPlace{{memreg::kRoot, memreg::kUserRoot}, u"AP"};

// Answers the store's questions and records them.
struct ScriptedPrompts final : RunCommandPrompts {
    bool answer = true;
    std::vector<std::string> replaceQuestions, deleteQuestions;
    bool ConfirmReplace(const ReplaceQuestion& question) override {
        replaceQuestions.push_back(N(ReplaceQuestionText(question)));
        return answer;
    }
    bool ConfirmDelete(const std::vector<RunEntry>& entries) override {
        deleteQuestions.push_back(N(DeleteQuestionText(entries)));
        return answer;
    }
};

// Every file exists except those below C:\Gone.
bool ExistsUnlessGone(const CStringW& file) { return N(file).rfind("C:\\Gone\\", 0) != 0; }

class RunCommandStoreTest : public testing::Test {
protected:
    void SetUp() override {
        memreg::PutSampleRunCommands(reg);
        reg.MakeKey("AP\\group without entries");
    }
    // Writing to `scope`, with administrator rights or without.
    RunCommandStore Store(RunScope scope, bool elevated) {
        return RunCommandStore(reg, kPlace, {scope, elevated}, prompts, &ExistsUnlessGone);
    }
    // Elevated exactly when writing to the machine's scope, as the windows decide.
    RunCommandStore Store(RunScope scope = RunScope::kLocalMachine) {
        return Store(scope, scope == RunScope::kLocalMachine);
    }
    RunEntry Listed(const std::string& command, RunScope scope) {
        for (const RunEntry& entry : Store().List().entries) {
            if (N(entry.command) == command && entry.scope == scope) return entry;
        }
        ADD_FAILURE() << command << " is not listed";
        return {};
    }

    MemoryRegistry reg;
    ScriptedPrompts prompts;
};

TEST_F(RunCommandStoreTest, ListsBothScopesMarkedMachineFirst) {
    const RunListing listing = Store().List();
    ASSERT_EQ(listing.entries.size(), 4u);
    EXPECT_EQ(listing.unreadable, 0);
    struct Expected {
        const char* command;
        RunScope scope;
        bool broken, shadowed;
        const char* path;
    } const expected[] = {
        {"ed", RunScope::kLocalMachine, false, false, "C:\\Tools"},
        {"shared", RunScope::kLocalMachine, false, true, ""},
        {"tools\\old", RunScope::kLocalMachine, true, false, ""},
        {"shared", RunScope::kCurrentUser, false, false, ""},
    };
    for (const Expected& e : expected) {
        bool found = false;
        for (const RunEntry& entry : listing.entries) {
            if (N(entry.command) != e.command || entry.scope != e.scope) continue;
            found = true;
            EXPECT_EQ(entry.broken, e.broken) << e.command;
            EXPECT_EQ(entry.shadowed, e.shadowed) << e.command;
            EXPECT_EQ(N(entry.path), e.path) << e.command;
        }
        EXPECT_TRUE(found) << e.command;
    }
    EXPECT_EQ(listing.entries.back().scope, RunScope::kCurrentUser);
    EXPECT_TRUE(reg.Balanced());
}

TEST_F(RunCommandStoreTest, AKeyThatCannotBeReadIsCountedNotHidden) {
    reg.failAtCall = 1;  // the machine's App Paths key itself
    const RunListing listing = Store().List();
    EXPECT_EQ(listing.unreadable, 1);
    ASSERT_EQ(listing.entries.size(), 1u) << "the user's entry is still listed";
    EXPECT_EQ(listing.entries[0].scope, RunScope::kCurrentUser);
}

// Everything a row shows of an entry, and its marks.
std::vector<std::string> Shown(const std::vector<RunEntry>& entries) {
    std::vector<std::string> rows;
    for (const RunEntry& e : entries) {
        rows.push_back(N(e.command) + "|" + N(e.keyPath) + "|" + N(e.target) + "|" + N(e.path) + "|" +
                       std::to_string(static_cast<int>(e.scope)) + (e.broken ? "|broken" : "") +
                       (e.shadowed ? "|shadowed" : "") + (e.terminal ? "|terminal" : ""));
    }
    return rows;
}

TEST_F(RunCommandStoreTest, ListingTheKeysFirstAndTheValuesLaterGivesTheSameListing) {
    reg.PutText("U:AP\\deep\\er\\x.exe", "", "C:\\Gone\\x.exe");
    reg.PutRaw("U:AP\\deep\\er\\x.exe", "VelmoraTerminal", kRegDword, std::string("\x01\0\0\0", 4));
    const RunListing whole = Store().List();
    ASSERT_EQ(whole.entries.size(), 5u);

    // As the manager reads: the keys; a row drawn (read once, marked broken
    // on its own); two while the window is idle; the rest at the finish.
    const RunCommandStore store = Store();
    RunListing listing = store.ListKeys();
    ASSERT_EQ(listing.entries.size(), whole.entries.size());
    EXPECT_TRUE(listing.entries[1].shadowed) << "known from the keys";
    EXPECT_TRUE(listing.entries[1].target.IsEmpty()) << "no value read yet";
    velmora::app::RowValueFill fill;
    fill.Start(listing.entries.size());
    int reads = 0;
    const auto read = [&](RunEntry& entry) {
        ++reads;
        return store.ReadValues(entry);
    };
    EXPECT_TRUE(fill.Read(listing.entries, 2, read));
    EXPECT_FALSE(fill.Read(listing.entries, 2, read)) << "read once";
    EXPECT_FALSE(fill.Read(listing.entries, 99, read));
    store.MarkBroken(listing.entries[2]);
    EXPECT_TRUE(listing.entries[2].broken) << N(listing.entries[2].target);
    int idle = 3;
    EXPECT_EQ(fill.ReadWhile(listing.entries, read, [&idle] { return idle-- > 0; }),
              std::make_pair(std::size_t{0}, std::size_t{3}));
    EXPECT_TRUE(fill.Open());
    EXPECT_TRUE(fill.Waits(3));
    EXPECT_FALSE(fill.Waits(2));
    EXPECT_EQ(fill.Finish(listing.entries, read), 0);
    EXPECT_FALSE(fill.Open());
    EXPECT_EQ(reads, 5) << "each entry read once";
    store.Mark(listing.entries);
    EXPECT_EQ(Shown(listing.entries), Shown(whole.entries));
    EXPECT_TRUE(reg.Balanced());

    // A key that went after the keys were listed, and one that cannot be
    // opened: dropped and counted, as a whole listing skips and counts them.
    listing = store.ListKeys();
    fill.Start(listing.entries.size());
    reg.keys.erase(memreg::KeyPath("AP\\ed.exe"));
    reg.failKind = memreg::RegCall::kOpenKeyForRead;
    reg.failAtCall = 1;
    reg.kindCalls = 0;
    listing.unreadable += fill.Finish(listing.entries, read);
    EXPECT_EQ(listing.unreadable, 2);
    EXPECT_EQ(listing.entries.size(), 3u);
    EXPECT_FALSE(fill.Open());
    EXPECT_TRUE(reg.Balanced());
    // Nothing listed: nothing waits.
    fill.Start(0);
    EXPECT_FALSE(fill.Open());
    EXPECT_EQ(fill.Finish(listing.entries, read), 0);
    EXPECT_EQ(listing.entries.size(), 3u);
}

TEST_F(RunCommandStoreTest, AFoundCommandIsSpelledAsTheRegistrySpellsIt) {
    reg.PutText("U:AP\\Tools\\Ed.exe", "", "C:\\Tools\\ed.exe");
    reg.PutRaw("U:AP\\Tools\\Ed.exe", "VelmoraTerminal", kRegDword, std::string("\x01\0\0\0", 4));
    const struct {
        RunScope scope;
        const char16_t* typed;
        const char* found;  // "command|key path|target|path|terminal", "" for none
    } rows[] = {
        {RunScope::kLocalMachine, u"ED ", "ed|ed.exe|C:\\Tools\\ed.exe|C:\\Tools|0"},
        {RunScope::kLocalMachine, u"TOOLS\\\\old", "tools\\old|tools\\old.exe|C:\\Gone\\old.exe||0"},
        {RunScope::kCurrentUser, u"tools\\ed", "Tools\\Ed|Tools\\Ed.exe|C:\\Tools\\ed.exe||1"},
        {RunScope::kCurrentUser, u"ed", ""},
        {RunScope::kLocalMachine, u"tools", ""},
        {RunScope::kLocalMachine, u"  ", ""},
    };
    for (const auto& row : rows) {
        const std::optional<RunEntry> entry = Store().Find(row.scope, row.typed);
        const std::string found = entry ? N(entry->command) + "|" + N(entry->keyPath) + "|" + N(entry->target) + "|" +
                                              N(entry->path) + "|" + (entry->terminal ? "1" : "0")
                                        : std::string();
        EXPECT_EQ(found, row.found) << N(row.typed);
        if (entry) {
            EXPECT_EQ(entry->scope, row.scope);
        }
    }
    EXPECT_TRUE(reg.Balanced());
}

TEST_F(RunCommandStoreTest, RegisteringAsksBeforeReplacingAndNoWritesNothing) {
    const memreg::Keys before = reg.keys;
    prompts.answer = false;
    EXPECT_EQ(Store().Register(u"ed", u"C:\\Other\\ed.exe"), ChangeResult::kDeclined);
    ASSERT_EQ(prompts.replaceQuestions.size(), 1u);
    EXPECT_EQ(prompts.replaceQuestions[0], N(ReplaceQuestionText({u"ed", u"C:\\Tools\\ed.exe", u"C:\\Other\\ed.exe"})));
    EXPECT_EQ(reg.keys, before);

    prompts.answer = true;
    EXPECT_EQ(Store().Register(u"ed", u"C:\\Other\\ed.exe"), ChangeResult::kDone);
    EXPECT_EQ(Store().TargetOf(u"ed"), u"C:\\Other\\ed.exe");
    EXPECT_EQ(reg.TextOf("AP\\ed.exe", "Path"), "C:\\Tools") << "the other values stay";
    // The user's scope writes below the user's root, read back there.
    EXPECT_EQ(Store(RunScope::kCurrentUser).Register(u"new", u"C:\\n.exe"), ChangeResult::kDone);
    EXPECT_EQ(reg.TextOf("U:AP\\new.exe", ""), "C:\\n.exe");
    EXPECT_EQ(Store(RunScope::kCurrentUser).TargetOf(u"new"), u"C:\\n.exe");
    EXPECT_TRUE(Store().TargetOf(u"new").IsEmpty()) << "not the machine's";
}

TEST_F(RunCommandStoreTest, DeletingAsksOnceNamingEveryEntryAndPrunesEmptyGroups) {
    const std::vector<RunEntry> entries{Listed("tools\\old", RunScope::kLocalMachine),
                                        Listed("shared", RunScope::kCurrentUser)};
    prompts.answer = false;
    const memreg::Keys before = reg.keys;
    EXPECT_TRUE(Store().Delete(entries).cancelled);
    EXPECT_EQ(reg.keys, before) << "No deletes nothing";
    ASSERT_EQ(prompts.deleteQuestions.size(), 1u);
    EXPECT_EQ(prompts.deleteQuestions[0], N(DeleteQuestionText(entries)));

    prompts.answer = true;
    const RunBatchResult result = Store().Delete(entries);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.done.size(), 2u);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(reg.keys.count("AP\\tools"), 0u) << "the group it leaves empty goes";
    EXPECT_EQ(reg.keys.count("U:AP\\shared.exe"), 0u);
    EXPECT_EQ(reg.keys.count("AP\\group without entries"), 1u) << "other groups stay";
    EXPECT_TRUE(Store().Delete({}).done.empty()) << "nothing to delete asks nothing";
    EXPECT_EQ(prompts.deleteQuestions.size(), 2u);
}

TEST_F(RunCommandStoreTest, ARefusedDeleteIsReportedWithItsCodeAndTheOthersGoOn) {
    const std::vector<RunEntry> entries{Listed("ed", RunScope::kLocalMachine),
                                        Listed("shared", RunScope::kLocalMachine)};
    reg.RefuseDelete("AP\\ed.exe");
    const RunBatchResult result = Store().Delete(entries);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(N(result.failures[0].entry.command), "ed");
    EXPECT_EQ(result.failures[0].status, kRegistryAccessDenied);
    ASSERT_EQ(result.done.size(), 1u);
    EXPECT_EQ(reg.TextOf("AP\\ed.exe", ""), "C:\\Tools\\ed.exe");
    EXPECT_EQ(reg.keys.count("AP\\shared.exe"), 0u);
}

TEST_F(RunCommandStoreTest, CopyingNeedsAdministratorRightsAndAsksBeforeReplacing) {
    const std::vector<RunEntry> entries{Listed("shared", RunScope::kLocalMachine),
                                        Listed("ed", RunScope::kLocalMachine),
                                        Listed("shared", RunScope::kCurrentUser)};
    const memreg::Keys before = reg.keys;
    const RunBatchResult refused = Store(RunScope::kCurrentUser).CopyToScope(entries, RunScope::kCurrentUser);
    EXPECT_TRUE(refused.cancelled);
    EXPECT_EQ(reg.keys, before);
    EXPECT_TRUE(prompts.replaceQuestions.empty());

    prompts.answer = false;  // keep the user's own "shared"
    const RunBatchResult copied = Store().CopyToScope(entries, RunScope::kCurrentUser);
    EXPECT_EQ(prompts.replaceQuestions.size(), 1u) << "only the entry the user has already";
    ASSERT_EQ(copied.done.size(), 1u);
    EXPECT_EQ(N(copied.done[0].command), "ed");
    EXPECT_EQ(copied.declined, 1) << "the user's own is kept; one of that scope already is passed over";
    EXPECT_EQ(reg.TextOf("U:AP\\ed.exe", "Path"), "C:\\Tools");
    EXPECT_EQ(reg.TextOf("U:AP\\shared.exe", ""), "C:\\Mine\\shared.exe");
}

TEST_F(RunCommandStoreTest, ImportIsPlannedAsWritableForTheMachineOnlyWithRights) {
    const std::u16string file =
        u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\AP\\imp.exe]\r\n@=\"C:\\\\imp.exe\"\r\n";
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    const std::size_t size = file.size() * sizeof(char16_t);
    const ImportPlan withRights = Store().PlanImport(bytes, size);
    ASSERT_EQ(withRights.items.size(), 1u);
    EXPECT_EQ(withRights.items[0].action, ImportAction::kAdd);
    const ImportPlan without = Store(RunScope::kCurrentUser).PlanImport(bytes, size);
    ASSERT_EQ(without.items.size(), 1u);
    EXPECT_EQ(without.items[0].refusal, ImportRefusal::kScopeNotWritable);
    // An administrator writing to the user's scope has the rights all the same.
    const ImportPlan adminForUser = Store(RunScope::kCurrentUser, true).PlanImport(bytes, size);
    ASSERT_EQ(adminForUser.items.size(), 1u);
    EXPECT_EQ(adminForUser.items[0].action, ImportAction::kAdd);
    EXPECT_EQ(Store().ApplyImport(withRights, {}).added, 1);
    EXPECT_EQ(reg.TextOf("AP\\imp.exe", ""), "C:\\imp.exe");
}

}  // namespace
