// Key paths split and normalised, and the registry walk of RegWriteString and
// RegReadString against the registry in memory, which counts every open and
// close and can fail any step.
#include <gtest/gtest.h>

#include <string>

#include "app/registry/KeyPath.h"
#include "app/registry/RegistryAccess.h"
#include "app/runcmd/CommandText.h"
#include "memory_registry.h"

namespace {

using memreg::MemoryRegistry;
using memreg::kRoot;
using memreg::StoredValue;

std::vector<CStringW> Split(const char16_t* source, const char16_t* separators, bool trim) {
    std::vector<CStringW> pieces;
    SplitString(source, separators, pieces, trim);
    return pieces;
}

std::vector<CStringW> Pieces(std::initializer_list<const char16_t*> texts) {
    std::vector<CStringW> pieces;
    for (const char16_t* text : texts) pieces.emplace_back(text);
    return pieces;
}

const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// The full key path of command `name` below the root, as registration walks it.
CStringW CommandKey(const CStringW& name) { return CStringW(kAppPathsKey) + u"\\" + KeyPathOfCommand(name); }

TEST(RegWriteStringTest, CreatesEveryKeyAndStoresTheTextWithItsZero) {
    MemoryRegistry reg;
    ASSERT_TRUE(RegWriteString(reg, kRoot, CommandKey(u"edit2"), u"", u"C:\\Tools\\ed.exe"));
    const StoredValue& value = reg.keys.at(kAppPaths + "\\edit2.exe").at("");
    EXPECT_EQ(value.data, memreg::Utf16Bytes(std::string("C:\\Tools\\ed.exe", 16)));
    EXPECT_EQ(value.data.size(), 32u) << "UTF-16, its zero included";
    EXPECT_EQ(value.type, kRegSz);
    EXPECT_EQ(reg.opens, 6);
    EXPECT_TRUE(reg.Balanced());
}

TEST(RegWriteStringTest, BackslashInTheNameMakesNestedKeys) {
    for (const char* name : {"tools\\ed", "tools\\\\ed"}) {
        MemoryRegistry reg;
        ASSERT_TRUE(RegWriteString(reg, kRoot, CStringW(kAppPathsKey) + u"\\" + W(name) + u".exe", u"", u"C:\\Tools\\ed.exe"))
            << name;
        EXPECT_EQ(reg.keys.count(kAppPaths + "\\tools"), 1u);
        EXPECT_EQ(reg.keys.at(kAppPaths + "\\tools\\ed.exe").at("").data,
                  memreg::Utf16Bytes(std::string("C:\\Tools\\ed.exe", 16)));
        EXPECT_EQ(reg.keys.at(kAppPaths + "\\tools").count(""), 0u) << "nothing stored in the middle key";
        EXPECT_TRUE(reg.Balanced());
    }
}

TEST(RegWriteStringTest, ReplacesTheDefaultValueAndKeepsOthers) {
    MemoryRegistry reg;
    reg.Put(kAppPaths + "\\edit2.exe", "", "C:\\Old\\old.exe");
    reg.Put(kAppPaths + "\\edit2.exe", "Path", "C:\\Old");
    ASSERT_TRUE(RegWriteString(reg, kRoot, CommandKey(u"edit2"), u"", u"C:\\New\\new.exe"));
    EXPECT_EQ(reg.keys.at(kAppPaths + "\\edit2.exe").at("").data,
              memreg::Utf16Bytes(std::string("C:\\New\\new.exe", 15)));
    EXPECT_EQ(reg.TextOf(kAppPaths + "\\edit2.exe", "Path"), "C:\\Old");
}

TEST(RegWriteStringTest, FailureAtAnyStepClosesEveryKeyAndKeepsEarlierKeys) {
    // Six key steps and one value step.
    for (int step = 0; step < 7; ++step) {
        MemoryRegistry reg;
        reg.failAtCall = step;
        EXPECT_FALSE(RegWriteString(reg, kRoot, CommandKey(u"edit2"), u"", u"C:\\Tools\\ed.exe"))
            << "step " << step;
        EXPECT_TRUE(reg.Balanced()) << "step " << step << ": " << reg.opens << " opens, " << reg.closes
                                    << " closes, " << reg.strayCloses << " stray closes";
        EXPECT_EQ(reg.opens, step < 6 ? step : 6) << "step " << step;
        EXPECT_EQ(static_cast<int>(reg.keys.size()), 2 + reg.opens) << "keys created before the failure stay";
    }
}

TEST(RegWriteStringTest, EmptyPathWritesTheRootValueWithoutClosingTheRoot) {
    MemoryRegistry reg;
    EXPECT_TRUE(RegWriteString(reg, kRoot, u" \\ \\", u"name", u"x"));
    EXPECT_EQ(reg.keys.at("").at("name").data, memreg::Utf16Bytes(std::string("x", 2)));
    EXPECT_TRUE(reg.Balanced());
    EXPECT_EQ(reg.opens, 0);
}

TEST(RegWriteStringTest, TextUpToTheCapIsStoredALongerOneRefused) {
    for (const std::size_t units : {std::size_t{kMaxRegistryValueBytes / 2 - 1}, std::size_t{kMaxRegistryValueBytes / 2}}) {
        MemoryRegistry reg;
        const bool fits = (units + 1) * 2 <= kMaxRegistryValueBytes;
        EXPECT_EQ(RegWriteString(reg, kRoot, u"k", u"", CStringW(units, u'x')), fits) << units;
        EXPECT_EQ(reg.keys.at("k").count(""), fits ? 1u : 0u) << units;
        EXPECT_TRUE(reg.Balanced());
    }
}

TEST(RegReadStringTest, ReadsTheTextUpToTheFirstZero) {
    MemoryRegistry reg;
    reg.Put("k", "", std::string("C:\\Velmora.exe\0", 15));
    reg.Put("k", "embedded", std::string("abc\0def\0", 8));
    reg.Put("k", "unterminated", "no zero at the end");
    reg.Put("k", "empty", "");
    EXPECT_EQ(RegReadString(reg, kRoot, u"k", u""), CStringW(u"C:\\Velmora.exe"));
    EXPECT_EQ(RegReadString(reg, kRoot, u"k", u"embedded"), CStringW(u"abc"));
    EXPECT_EQ(RegReadString(reg, kRoot, u"k", u"unterminated"), CStringW(u"no zero at the end"));
    EXPECT_EQ(RegReadString(reg, kRoot, u"k", u"empty"), CStringW());
    EXPECT_TRUE(reg.Balanced());
    EXPECT_EQ(reg.opens, 4);
}

TEST(RegReadStringTest, EveryProblemGivesTheEmptyStringAndClosesTheKey) {
    {
        MemoryRegistry reg;
        EXPECT_EQ(RegReadString(reg, kRoot, u"missing", u""), CStringW());
        EXPECT_TRUE(reg.Balanced());
    }
    {
        MemoryRegistry reg;
        reg.Put("k", "other", "x");
        EXPECT_EQ(RegReadString(reg, kRoot, u"k", u""), CStringW());
        EXPECT_EQ(reg.opens, 1);
        EXPECT_TRUE(reg.Balanced());
    }
    {
        // The registry could not read the value whole (it kept changing
        // size while being read).
        MemoryRegistry reg;
        reg.Put("k", "", "short");
        reg.failKind = memreg::RegCall::kReadValue;
        reg.failAtCall = 0;
        reg.failure = kRegistryMoreData;
        EXPECT_EQ(RegReadString(reg, kRoot, u"k", u""), CStringW());
        EXPECT_TRUE(reg.Balanced());
    }
    for (const std::size_t size : {kMaxRegistryValueBytes, kMaxRegistryValueBytes + 1}) {
        // Text up to the cap is read; one byte more and it is unreadable.
        MemoryRegistry reg;
        reg.PutRaw("k", "", kRegSz, std::string(size, 'x'));
        EXPECT_EQ(RegReadString(reg, kRoot, u"k", u"").size(), size > kMaxRegistryValueBytes ? 0u : size / 2)
            << size;
        EXPECT_TRUE(reg.Balanced());
    }
    // Opening the key and reading the value.
    for (int step = 0; step < 2; ++step) {
        MemoryRegistry reg;
        reg.Put("k", "", "value");
        reg.failAtCall = step;
        EXPECT_EQ(RegReadString(reg, kRoot, u"k", u""), CStringW()) << "step " << step;
        EXPECT_TRUE(reg.Balanced()) << "step " << step;
    }
}

TEST(SplitStringTest, RunsOfSeparatorsCountAsOne) {
    EXPECT_EQ(Split(u"A\\\\B\\", u"\\", true), Pieces({u"A", u"B"}));
    EXPECT_EQ(Split(u"\\\\A\\B", u"\\", false), Pieces({u"A", u"B"}));
    EXPECT_EQ(Split(u"a,b;;c", u",;", false), Pieces({u"a", u"b", u"c"}));
    EXPECT_EQ(Split(u"", u"\\", true), Pieces({}));
    EXPECT_EQ(Split(u"\\\\\\", u"\\", true), Pieces({}));
    EXPECT_EQ(Split(u"abc", u"", true), Pieces({u"abc"}));
    EXPECT_EQ(Split(u"abc", nullptr, false), Pieces({u"abc"}));
}

TEST(SplitStringTest, TrimFlagTrimsSourceAndPieces) {
    // The source loses " |*\r\n\t" at its ends, each piece " \r\n\t".
    EXPECT_EQ(Split(u" |*a | b *|\t", u"\\", true), Pieces({u"a | b"}));
    EXPECT_EQ(Split(u" a \\ b \\  \\c", u"\\", true), Pieces({u"a", u"b", u"c"}));
    EXPECT_EQ(Split(u" a \\ b ", u"\\", false), Pieces({u" a ", u" b "}));
    // A piece of blanks only disappears with trimming, stays without.
    EXPECT_EQ(Split(u"a\\ \t \\b", u"\\", true), Pieces({u"a", u"b"}));
    EXPECT_EQ(Split(u"a\\ \\b", u"\\", false), Pieces({u"a", u" ", u"b"}));
}

TEST(SplitStringTest, AppendsToWhatTheArrayHeld) {
    std::vector<CStringW> pieces = Pieces({u"kept"});
    SplitString(u"x\\y", u"\\", pieces, true);
    EXPECT_EQ(pieces, Pieces({u"kept", u"x", u"y"}));
}

TEST(SplitStringTest, NoOtherCharacterIsTakenForASeparator) {
    // U+4E5C and U+1F65C (a surrogate pair) have 0x5C, a backslash's value,
    // in a byte of their code units.
    EXPECT_EQ(Split(u"a\u4E5Cb\\c\U0001F65C", u"\\", true), Pieces({u"a\u4E5Cb", u"c\U0001F65C"}));
    EXPECT_EQ(Split(u"工具\\编辑", u"\\", true), Pieces({u"工具", u"编辑"}));
    // An unpaired surrogate is a character of the name like any other.
    EXPECT_EQ(Split(u"x\xD800\\y", u"\\", true), Pieces({u"x\xD800", u"y"}));
}

TEST(SplitKeyPathTest, KeyNamesAlongThePath) {
    EXPECT_EQ(SplitKeyPath(u" \\SOFTWARE\\X\\\\tools\\ed.exe\\ "),
              Pieces({u"SOFTWARE", u"X", u"tools", u"ed.exe"}));
    EXPECT_EQ(SplitKeyPath(u"tools\\\\ed.exe"), Pieces({u"tools", u"ed.exe"}));
    EXPECT_EQ(NormalizeKeyPath(u" tools \\\\ ed.exe\\"), CStringW(u"tools\\ed.exe"));
    EXPECT_EQ(SplitKeyPath(u" \\ "), Pieces({}));
}

}  // namespace
