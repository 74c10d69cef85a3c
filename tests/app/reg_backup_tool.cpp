// The run-command backup on its own, for the round trips through the
// registry editor in fresh Wine prefixes (regedit_roundtrip.sh). It works on
// the App Paths key of the tests below both roots.
//   reg_backup_tool fill          every value type in two entries of each root
//   reg_backup_tool dump FILE     both trees, value by value (registry_dump.h)
//   reg_backup_tool export FILE   every listed entry as a .reg file
//   reg_backup_tool import FILE   every entry of the file, replacing any
// Exit code 0 on success; import fails when anything was refused, skipped
// or failed.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/registry/Registry_win32.h"
#include "app/runcmd/RunCommandBackup.h"
#include "app/runcmd/RunCommandStore.h"
#include "app/runcmd/RunEntries.h"
#include "fixed_prompts.h"
#include "registry_dump.h"

namespace {

const wchar_t kTestRoot[] = L"SOFTWARE\\Velmora Backup Tests";
const wchar_t kAppPaths[] = L"SOFTWARE\\Velmora Backup Tests\\App Paths";
const RunCommandPlace kPlace{{ToRegKey(HKEY_LOCAL_MACHINE), ToRegKey(HKEY_CURRENT_USER)},
                             u"SOFTWARE\\Velmora Backup Tests\\App Paths"};

int Fill() {
    const std::wstring base = kAppPaths;
    const bool stored = registry_dump::PutEveryType(HKEY_LOCAL_MACHINE, base + L"\\ed.exe") &&
                        registry_dump::PutEveryType(HKEY_LOCAL_MACHINE, base + L"\\tools\\nested.exe") &&
                        registry_dump::PutEveryType(HKEY_CURRENT_USER, base + L"\\mine.exe") &&
                        registry_dump::PutText(HKEY_CURRENT_USER, base + L"\\plain.exe", L"", REG_SZ,
                                               L"C:\\\u5DE5\u5177\\plain.exe");
    return stored ? 0 : 1;
}

int DumpTo(const char* file) {
    std::ofstream out(file, std::ios::binary);
    for (const auto& [name, root] : {std::pair{"HKLM", HKEY_LOCAL_MACHINE}, std::pair{"HKCU", HKEY_CURRENT_USER}}) {
        for (const std::string& line : registry_dump::Dump(root, kTestRoot)) out << name << "|" << line << "\n";
    }
    return out ? 0 : 1;
}

int Export(const char* file) {
    CWin32Registry registry;
    std::vector<RunEntry> entries;
    const int skipped = ListRunEntries(registry, kPlace.roots.machine, kPlace.appPathsKey, RunScope::kLocalMachine, entries) +
                        ListRunEntries(registry, kPlace.roots.user, kPlace.appPathsKey, RunScope::kCurrentUser, entries);
    const RunCommandExport exported = ExportRunCommands(registry, kPlace, entries);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(exported.file.data()), static_cast<std::streamsize>(exported.file.size()));
    std::printf("exported %d, unreadable %zu, skipped %d\n", exported.exported, exported.unreadable.size(), skipped);
    return out && exported.unreadable.empty() && skipped == 0 && exported.exported > 0 ? 0 : 1;
}

int Import(const char* file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CWin32Registry registry;
    const ImportPlan plan = PlanRunCommandImport(registry, kPlace, data.data(), data.size(), true);
    if (plan.error != RegFileError::kNone) {
        std::printf("damaged: error %d at line %d\n", static_cast<int>(plan.error), plan.errorLine);
        return 1;
    }
    for (const ImportItem& item : plan.items) {
        if (item.action == ImportAction::kRefused)
            std::printf("refused line %d: reason %d\n", item.line, static_cast<int>(item.refusal));
    }
    FixedPrompts prompts;
    RunCommandStore store(registry, kPlace, {RunScope::kLocalMachine, true}, prompts, [](const CStringW&) { return true; });
    const ImportCounts counts = store.ApplyImport(plan, std::vector<bool>(plan.items.size(), true));
    std::printf("added %d, replaced %d, skipped %d, failed %d\n", counts.added, counts.replaced, counts.skipped,
                counts.failed);
    return counts.added + counts.replaced > 0 && counts.skipped == 0 && counts.failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "fill" && argc == 2) return Fill();
    if (command == "dump" && argc == 3) return DumpTo(argv[2]);
    if (command == "export" && argc == 3) return Export(argv[2]);
    if (command == "import" && argc == 3) return Import(argv[2]);
    std::fprintf(stderr, "usage: reg_backup_tool fill | dump FILE | export FILE | import FILE\n");
    return 2;
}
