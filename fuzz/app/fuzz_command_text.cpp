// Dropped paths and typed command names of any bytes: the file title is a
// piece of the path, key names are never empty and never carry a separator,
// the key walk over an in-memory registry closes every key it opens and reads
// back what it stored, the manager's listing finds it, and deleting it with
// the groups it leaves empty restores the registry.
//
// Input: one byte n, then a path of n UTF-16 code units (or the rest), then
// the name; code units are little-endian byte pairs, an odd last byte is left
// out. Each text ends at its first zero unit, as texts from the platform do
// (the drop, the edit control); any other unit may come, unpaired surrogates
// too.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/registry/KeyPath.h"
#include "app/registry/RegistryAccess.h"
#include "app/registry/RegistryTree.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/RunEntries.h"
#include "tests/app/memory_registry.h"

namespace {

using memreg::kRoot;
using memreg::MemoryRegistry;

// Aborts with the line of the failed check.
void Check(bool condition, int line = __builtin_LINE()) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_command_text.cpp:%d: check failed\n", line);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    CStringW units;
    for (std::size_t i = 1; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    const std::size_t pathLength = std::min<std::size_t>(data[0], units.size());
    const auto untilZero = [](const CStringW& text) { return text.substr(0, text.find(u'\0')); };
    const CStringW strPath = untilZero(units.substr(0, pathLength));
    const CStringW strTyped = untilZero(units.substr(pathLength));

    const CStringW strTitle = GetFileTitleFromPath(strPath);
    Check(strTitle.IsEmpty() || strPath.find(strTitle) != CStringW::npos);
    HasExeExtension(strPath);

    const CStringW strName = TrimCommandName(strTyped);
    // The full key path as typed, and as the store normalises it.
    const CStringW strKeyPath = CStringW(kAppPathsKey) + u"\\" + strName + u".exe";
    for (const CStringW& name : SplitKeyPath(strKeyPath)) {
        Check(!name.IsEmpty());
        CStringW strTrimmed(name);
        strTrimmed.Trim(u" \r\n\t");
        Check(strTrimmed == name);
    }

    MemoryRegistry registry;
    const bool stored = RegWriteString(registry, kRoot, strKeyPath, u"", strPath);
    Check(stored && registry.Balanced());
    // Read back through the names the walk created, as the tool reads.
    const CStringW strRead = RegReadString(registry, kRoot, NormalizeKeyPath(strKeyPath), u"");
    Check(registry.Balanced());
    // The text is read back whole.
    Check(strRead == strPath);

    // The manager lists the name as its one entry, unless a part of the
    // name before the last makes an entry of its own ("a.exe\\b" lists
    // a.exe, and nothing below it).
    const std::vector<CStringW> pieces = SplitKeyPath(strKeyPath);
    const std::size_t appPathsDepth = SplitKeyPath(kAppPathsKey).size();
    Check(pieces.size() >= appPathsDepth);
    const CStringW strNormalized = NormalizeKeyPath(strKeyPath);
    const bool hasRelative = pieces.size() > appPathsDepth;
    const CStringW strRelative =
        hasRelative ? strNormalized.Mid(static_cast<int>(std::char_traits<char16_t>::length(kAppPathsKey)) + 1)
                    : CStringW();
    if (hasRelative) {
        Check(KeyPathOfCommand(strTyped) == strRelative);
        Check(CommandOfKeyPath(strRelative) + u".exe" == strRelative);
    }
    std::vector<RunEntry> entries;
    // A group nested deeper than the walks go is skipped, and counted.
    const int skipped = ListRunEntries(registry, kRoot, kAppPathsKey, RunScope::kLocalMachine, entries);
    Check(skipped == 0 || skipped == 1);
    Check(registry.Balanced());
    Check(entries.size() <= 1);
    bool nestedEntry = false;
    for (std::size_t i = appPathsDepth; i + 1 < pieces.size(); ++i)
        nestedEntry = nestedEntry || IsRunEntryKeyName(pieces[i]);
    const std::size_t depth = pieces.size() - appPathsDepth;
    if (hasRelative && !nestedEntry && IsRunEntryKeyName(pieces.back()) &&
        depth <= static_cast<std::size_t>(kMaxKeyTreeDepth)) {
        Check(skipped == 0 && entries.size() == 1 && entries[0].target == strRead &&
              entries[0].keyPath == strRelative);
    }

    // Deleting the entry and the groups it leaves empty gives the registry
    // back as it was before the write, but for the App Paths keys.
    if (hasRelative) {
        Check(DeleteKeyTree(registry, kRoot, strNormalized) == 0);
        RemoveEmptyParentKeys(registry, kRoot, kAppPathsKey, strRelative);
        Check(registry.Balanced());
        Check(registry.keys.size() == appPathsDepth + 2);  // and the user's root
    }
    return 0;
}
