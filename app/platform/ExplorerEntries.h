// The Explorer entries Velmora makes for the current user, only when asked:
// the verb 添加为运行命令… on programs (.exe) and on shortcuts (.lnk), each a
// key below HKEY_CURRENT_USER\Software\Classes\SystemFileAssociations, and
// the shortcut 添加为运行命令.lnk in the user's SendTo folder. Each starts
// Velmora.exe from where it lies with the file as its one argument. A static
// verb shows on the classic menu only (Windows 11 keeps its top-level menu
// for packaged programs); no administrator rights and nothing outside
// these keys and that file. Plain code over the registry interface and a
// service for shortcut files; the Win32 side gives both.
#pragma once

#include <vector>

#include "app/registry/RegistryAccess.h"
#include "base/wide_text.h"

// The shortcut files the entries need, given by the platform (or a test).
class ShortcutFiles {
public:
    virtual ~ShortcutFiles() = default;
    // The user's SendTo folder; empty when it cannot be found.
    virtual CStringW SendToFolder() = 0;
    // The program shortcut `file` starts: false when there is no such file or
    // it holds no file system path.
    virtual bool ReadTarget(const CStringW& file, CStringW* pTarget) = 0;
    // Writes shortcut `file` (replacing it) to start `target` with no
    // arguments, showing the target's own icon.
    virtual bool Write(const CStringW& file, const CStringW& target) = 0;
    virtual bool Remove(const CStringW& file) = 0;
    // Whether program `path` exists (a file, not a folder).
    virtual bool ProgramExists(const CStringW& path) = 0;
};

enum class ExplorerEntry { kProgramVerb = 0, kShortcutVerb = 1, kSendTo = 2 };
constexpr ExplorerEntry kExplorerEntries[] = {ExplorerEntry::kProgramVerb, ExplorerEntry::kShortcutVerb,
                                              ExplorerEntry::kSendTo};

// The key the verbs lie below, under HKEY_CURRENT_USER.
extern const char16_t* const kUserClassesKey;  // Software\Classes
// A verb's key below kUserClassesKey (kSendTo has none: empty).
CStringW ExplorerVerbKey(ExplorerEntry entry);

// One value `on` writes: its key below kUserClassesKey, its name (empty:
// the default value) and its text (REG_SZ).
struct ExplorerValue {
    CStringW key;
    CStringW name;
    CStringW data;
};
// Every value the verbs hold, for `program` (Velmora.exe's full path): per
// verb its text (MUIVerb), Velmora's icon, one file at a time
// (MultiSelectModel Single), and the command.
std::vector<ExplorerValue> ExplorerVerbValues(const CStringW& program);

// The command a verb starts: "PROGRAM" "%1".
CStringW VerbCommandLine(const CStringW& program);
// The program of such a command: the text inside its leading quotes, or up
// to its first blank when it has none. Empty for an empty command.
CStringW ProgramOfCommandLine(const CStringW& commandLine);
// The windows program beside the console twin: Velmora.com gives
// Velmora.exe in the same folder (Velmora64.com Velmora64.exe); any other
// path is that program itself.
CStringW WindowProgramBeside(const CStringW& modulePath);
// The SendTo shortcut's file in `sendToFolder`.
CStringW SendToShortcutFile(const CStringW& sendToFolder);

// What one entry is now.
struct ExplorerEntryState {
    ExplorerEntry entry;
    bool present = false;
    CStringW program;  // the Velmora it starts
    bool programExists = false;
    // There, but its Velmora is gone (moved or deleted).
    bool Stale() const { return present && !programExists; }
};

// The entries of the current user: read, made, removed and mended. Every
// change is all or nothing: `on` that fails removes what it wrote.
class ExplorerIntegration {
public:
    ExplorerIntegration(IRegistry& registry, RegKey userRoot, ShortcutFiles& files)
        : m_registry(registry), m_userRoot(userRoot), m_files(files) {}

    std::vector<ExplorerEntryState> Status();
    // Every entry there and starting `program` (letter case of ASCII letters ignored).
    bool IsOn(const CStringW& program);
    // Writes every entry for `program`. False when a step failed; then none
    // of the entries is left.
    bool TurnOn(const CStringW& program);
    // Removes the verbs' keys, the keys above them that they leave empty (up
    // to Software\Classes, itself only when nothing else is in it), and the
    // SendTo shortcut. False when something could not be removed.
    bool TurnOff();

    struct RepairCount {
        int mended = 0;
        int removed = 0;
        bool failed = false;
    };
    // Each stale entry made to start `program` when that program exists,
    // else removed. Entries that start an existing Velmora stay as they are.
    RepairCount Repair(const CStringW& program);

private:
    ExplorerEntryState StateOf(ExplorerEntry entry);
    bool Write(ExplorerEntry entry, const CStringW& program);
    bool Remove(ExplorerEntry entry);

    IRegistry& m_registry;
    RegKey m_userRoot;
    ShortcutFiles& m_files;
};

// The switch of the main window's menu and of the manager: turns the
// entries off when they are all on for `program`, else on for it (replacing
// entries of another copy). Nothing is written when the process runs as
// another user than the one logged on. The words for what came of it.
CStringW SwitchExplorerEntries(ExplorerIntegration& explorer, const CStringW& program, bool runsAsShellUser);
