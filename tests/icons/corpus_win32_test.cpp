// Every input of the resource walk's fuzz corpus, and the regression inputs
// kept beside its seeds, through the real Win32 ExtractFileIcons under Wine:
// counted, then read at 48 x 48. Nothing may crash, the count-only call must
// agree with the walk over the same bytes, no slot beyond the count is
// written, and every icon returned is destroyed, leaving nothing behind.
//
// VELMORA_ICON_CORPUS lists the directories, separated by "|"; missing ones
// are skipped (the fuzzer's own corpus exists only after a fuzz run).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "icons/extract_icons.h"
#include "icons/file_kind.h"
#include "icons/pe_resources.h"
#include "tests/icons/win32_test_support.h"

namespace velmora {
namespace {

using namespace velmora::testing;

constexpr unsigned kMostSlots = 8;
const HICON kUntouched = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5A5A));

std::vector<std::string> CorpusDirectories() {
    std::vector<std::string> dirs;
    const char* list = std::getenv("VELMORA_ICON_CORPUS");
    std::string rest = list != nullptr ? list : "";
    while (!rest.empty()) {
        const std::size_t bar = rest.find('|');
        const std::string dir = rest.substr(0, bar);
        if (!dir.empty()) dirs.push_back(WinePath(dir));
        rest = bar == std::string::npos ? "" : rest.substr(bar + 1);
    }
    return dirs;
}

// What the walk over the bytes finds: icon groups of an executable image, or
// nothing to compare for the other kinds (the platform's loader decides).
std::optional<unsigned> ExpectedGroups(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kFileProbeSize) return 0u;
    const FileContentKind kind = ProbeFileContent(Bytes(bytes).first(kFileProbeSize));
    if (kind == FileContentKind::Unknown) return 0u;
    if (kind != FileContentKind::Executable) return std::nullopt;
    const auto directory = FindResourceDirectory(bytes);
    return directory ? CountResourceEntries(*directory, kResourceTypeGroupIcon) : 0u;
}

struct Tally {
    int files = 0;
    int counted = 0;  // slots counted, with or without an icon
    int icons = 0;
};

void ExtractEverything(const std::string& input, const std::string& copy, bool checkLeaks, Tally& tally) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(input);
    // Under a name of its own: the corpus's names and directories must not
    // bring an excluded extension in.
    ASSERT_TRUE(WriteFileBytes(copy, bytes));
    ++tally.files;
    const HandleProbe probe;
    const unsigned groups = ExtractFileIcons(copy.c_str(), 0, 48, 48, nullptr, nullptr, 0, LR_COLOR);
    if (const auto expected = ExpectedGroups(bytes)) {
        EXPECT_EQ(groups, *expected) << input;
    }

    HICON slots[kMostSlots + 1];
    int ids[kMostSlots + 1];
    std::fill(std::begin(slots), std::end(slots), kUntouched);
    std::fill(std::begin(ids), std::end(ids), -77);
    const unsigned asked = groups < kMostSlots ? (groups > 0 ? groups : 1) : kMostSlots;
    const unsigned made = ExtractFileIcons(copy.c_str(), 0, 48, 48, slots, ids, asked, LR_COLOR);
    EXPECT_LE(made, asked) << input;
    tally.counted += static_cast<int>(made);
    for (unsigned i = asked; i <= kMostSlots; ++i) {
        EXPECT_EQ(slots[i], kUntouched) << input << " slot " << i;
        EXPECT_EQ(ids[i], -77) << input << " slot " << i;
    }
    for (unsigned i = 0; i < made && i < asked; ++i) {
        if (slots[i] == nullptr) continue;
        EXPECT_NE(slots[i], kUntouched) << input << " slot " << i;
        EXPECT_TRUE(DestroyIcon(slots[i])) << input << " slot " << i;
        ++tally.icons;
    }
    if (checkLeaks) {
        EXPECT_TRUE(probe.NothingLeftSince()) << input;
    }
}

TEST(ExtractFileIconsCorpus, EveryInputThroughTheWin32Path) {
    const std::vector<std::string> dirs = CorpusDirectories();
    ASSERT_FALSE(dirs.empty()) << "VELMORA_ICON_CORPUS names no directory";
    const std::string copy = MakeScratchDirectory("corpus") + "\\input.bin";
    // The platform sets up parts of its icon machinery on first use (a
    // failed image, a scaled one, ...), which is no leak of an input: the
    // first pass over the corpus warms it up, the second checks for leaks.
    Tally warm, tally;
    for (const bool checkLeaks : {false, true}) {
        for (const std::string& dir : dirs) {
            for (const std::string& name : FilesIn(dir))
                ExtractEverything(dir + "\\" + name, copy, checkLeaks, checkLeaks ? tally : warm);
        }
    }
    EXPECT_GT(tally.files, 50) << "the seeds and the regression inputs at least";
    // Most seeds keep only the start of each image, so most slots stay empty.
    EXPECT_GT(tally.counted, 30);
    EXPECT_GT(tally.icons, 0);
    std::printf("%d inputs, %d slots counted, %d icons made and destroyed\n", tally.files, tally.counted,
                tally.icons);
}

}  // namespace
}  // namespace velmora
