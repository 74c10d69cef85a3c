#include "app/launcher/Launchers.h"

#include <set>

#include "app/launcher/PathVariable.h"
#include "app/registry/RegistryValues.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/PathList.h"
#include "app/runcmd/RunCommandOptions.h"
#include "app/runcmd/TerminalName.h"

namespace {

CStringW Folded(CStringW text) {
    text.MakeLower();
    return text;
}

// Value types a PATH may have; anything else is not touched.
bool IsTextType(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz; }

}  // namespace

Launchers::Launchers(IRegistry& registry, const RunCommandPlace& place, LauncherFiles& files,
                     TerminalEnvironmentKeys environment)
    : m_registry(registry), m_place(place), m_files(files), m_environment(std::move(environment)) {}

CStringW Launchers::LauncherFile(RunScope scope, const CStringW& command) const {
    return m_files.Folder(scope) + u"\\" + command + u".exe";
}

CStringW Launchers::OptionsFolder(RunScope scope) const {
    return m_files.Folder(scope) + u"\\" + kOptionsFolderName;
}

CStringW Launchers::OptionsLauncherFile(RunScope scope, const CStringW& command) const {
    return OptionsFolder(scope) + u"\\" + command + u".exe";
}

Launchers::KeyState Launchers::ReadKey(RunScope scope, const CStringW& command) const {
    KeyState state;
    RegKey opened = 0;
    const RegKey root = m_place.RootOf(scope);
    if (m_registry.OpenKeyForRead(root, m_place.KeyPathOf(KeyPathOfCommand(command)).GetString(), &opened) !=
        kRegistrySuccess) {
        return state;
    }
    ScopedRegKey key(m_registry, root);
    key.Replace(opened);
    state.exists = true;
    state.marked = ReadTerminalMark(m_registry, key.Get());
    // A command with options starts its program value.
    state.target = ReadStringValue(m_registry, key.Get(), kOptionProgramValue);
    if (state.target.IsEmpty()) state.target = ReadStringValue(m_registry, key.Get(), CStringW());
    return state;
}

ProgramKind Launchers::KindOfFile(const CStringW& file) const {
    std::vector<unsigned char> head;
    if (!m_files.ReadHead(file, &head)) return ProgramKind::kNotAProgram;
    return ProgramKindOf(head.data(), head.size());
}

// The launcher a target needs: by its program's headers; a target that
// cannot be read (gone for now) keeps the launcher there, else a console one,
// which reports the missing program where it is typed.
ProgramKind Launchers::LauncherKindFor(const CStringW& target, const CStringW& launcher) const {
    const ProgramKind kind = KindOfTarget(target);
    if (kind != ProgramKind::kNotAProgram) return kind;
    const ProgramKind present = m_files.Exists(launcher) ? KindOfFile(launcher) : ProgramKind::kNotAProgram;
    return present != ProgramKind::kNotAProgram ? present : ProgramKind::kConsole;
}

bool Launchers::NoteFile(const CStringW& file, ChangeJournal& journal) const {
    LauncherFiles& files = m_files;
    if (!files.Exists(file)) {
        journal.NoteUndo([&files, file] { return files.Remove(file); });
        return true;
    }
    std::vector<unsigned char> bytes;
    if (!files.ReadWhole(file, &bytes)) return false;
    journal.NoteUndo([&files, file, bytes] { return files.WriteWhole(file, bytes); });
    return true;
}

const CStringW& Launchers::EnvironmentKey(RunScope scope) const {
    return scope == RunScope::kCurrentUser ? m_environment.user : m_environment.machine;
}

bool Launchers::ReadPath(RunScope scope, std::uint32_t* pType, CStringW* pPath) const {
    *pType = kRegExpandSz;
    pPath->Empty();
    RegKey opened = 0;
    const RegKey root = m_place.RootOf(scope);
    const long status = m_registry.OpenKeyForRead(root, EnvironmentKey(scope).GetString(), &opened);
    if (status == kRegistryFileNotFound) return true;
    if (status != kRegistrySuccess) return false;
    ScopedRegKey key(m_registry, root);
    key.Replace(opened);
    std::vector<unsigned char> data;
    const long read = m_registry.ReadValue(key.Get(), u"Path", pType, &data);
    if (read == kRegistryFileNotFound) {
        *pType = kRegExpandSz;
        return true;
    }
    if (read != kRegistrySuccess || !IsTextType(*pType)) return false;
    *pPath = velmora::WideFromRegistryData(data.data(), data.size());
    return true;
}

bool Launchers::WritePath(RunScope scope, std::uint32_t type, const CStringW& path, ChangeJournal& journal) {
    RegKey created = 0;
    const RegKey root = m_place.RootOf(scope);
    // Put back, the value is announced again.
    LauncherFiles& files = m_files;
    journal.NoteUndo([&files] {
        files.AnnounceEnvironmentChange();
        return true;
    });
    if (!journal.NoteValue(root, EnvironmentKey(scope), u"Path")) return false;
    if (m_registry.CreateKey(root, EnvironmentKey(scope).GetString(), &created) != kRegistrySuccess)
        return false;
    ScopedRegKey key(m_registry, root);
    key.Replace(created);
    const std::vector<unsigned char> bytes = StringValueBytes(path);
    if (m_registry.SetValue(key.Get(), u"Path", type, bytes.data(),
                            static_cast<std::uint32_t>(bytes.size())) != kRegistrySuccess) {
        return false;
    }
    m_files.AnnounceEnvironmentChange();
    return true;
}

ChangeResult Launchers::PutFolderOnPath(RunScope scope, ChangeJournal& journal) {
    std::uint32_t type = kRegExpandSz;
    CStringW path;
    if (!ReadPath(scope, &type, &path)) return ChangeResult::kRegistryFailed;
    const CStringW folder = m_files.Folder(scope);
    if (PathListHas(path, folder)) return ChangeResult::kUnchanged;
    return WritePath(scope, type, PathListWith(path, folder), journal) ? ChangeResult::kDone
                                                                       : ChangeResult::kRegistryFailed;
}

bool Launchers::FolderOnPath(RunScope scope) const {
    std::uint32_t type = kRegExpandSz;
    CStringW path;
    return ReadPath(scope, &type, &path) && PathListHas(path, m_files.Folder(scope));
}

ChangeResult Launchers::TakeFolderOffPath(RunScope scope, ChangeJournal& journal) {
    std::uint32_t type = kRegExpandSz;
    CStringW path;
    if (!ReadPath(scope, &type, &path)) return ChangeResult::kRegistryFailed;
    const CStringW folder = m_files.Folder(scope);
    if (!PathListHas(path, folder)) return ChangeResult::kUnchanged;
    return WritePath(scope, type, PathListWithout(path, folder), journal) ? ChangeResult::kDone
                                                                          : ChangeResult::kRegistryFailed;
}

ProgramKind Launchers::KindOfTarget(const CStringW& target) const {
    const CStringW file = m_files.Expand(TargetFileOf(target));
    return file.IsEmpty() ? ProgramKind::kNotAProgram : KindOfFile(file);
}

ChangeResult Launchers::CheckFit(const CStringW& command, const CStringW& target) const {
    if (CheckTerminalName(command) != TerminalNameCheck::kFits) return ChangeResult::kNotForTerminal;
    return KindOfTarget(target) == ProgramKind::kNotAProgram ? ChangeResult::kNotAProgram
                                                             : ChangeResult::kDone;
}

NameSearch Launchers::TerminalSearch() const {
    std::uint32_t type = 0;
    CStringW machinePath;
    CStringW userPath;
    ReadPath(RunScope::kLocalMachine, &type, &machinePath);
    ReadPath(RunScope::kCurrentUser, &type, &userPath);
    NameSearch search;
    search.folders =
        PathFoldersBefore(m_files.Expand(machinePath) + u";" + m_files.Expand(userPath), CStringW());
    CStringW extensions = m_files.Expand(u"%PATHEXT%");
    if (extensions.IsEmpty() || extensions == u"%PATHEXT%") extensions = u".COM;.EXE;.BAT;.CMD";
    search.extensions = PathFoldersBefore(extensions, CStringW());
    return search;
}

NameSearch Launchers::RunBoxSearch(const NameSearch& terminal) const {
    NameSearch search = terminal;
    const CStringW windows = m_files.Expand(u"%SystemRoot%");
    if (windows.Find(u'%') < 0 && !windows.IsEmpty())
        search.folders.insert(search.folders.begin(), {windows, windows + u"\\System32"});
    return search;
}

CStringW Launchers::ShadowOf(const NameSearch& terminal, RunScope scope, const CStringW& command,
                             FolderListings& listings) const {
    NameSearch before = terminal;
    before.folders.clear();
    for (const CStringW& folder : terminal.folders) {
        if (SameFolder(folder, m_files.Folder(scope))) break;
        before.folders.push_back(folder);
    }
    return FirstAnswer(before, command, listings, LauncherFile(scope, command));
}

void Launchers::MarkListed(std::vector<RunEntry>& entries) const {
    if (entries.empty()) return;
    FolderListings listings([this](const CStringW& folder) { return m_files.FileNamesIn(folder); });
    const NameSearch terminal = TerminalSearch();
    const NameSearch runBox = RunBoxSearch(terminal);
    const CStringW aliases = m_files.Expand(u"%LOCALAPPDATA%") + u"\\Microsoft\\WindowsApps";
    for (RunEntry& entry : entries) {
        // A name with a folder in it is a path to the Run box, never searched.
        if (entry.command.Find(u'\\') < 0 && entry.command.Find(u'/') < 0) {
            entry.runTakenBy =
                FirstAnswer(runBox, entry.command, listings, LauncherFile(entry.scope, entry.command));
            entry.runTakenByAlias = !entry.runTakenBy.IsEmpty() && LiesIn(entry.runTakenBy, aliases);
        }
        if (!entry.terminal) continue;
        entry.terminalLauncherMissing = !m_files.Exists(LauncherFile(entry.scope, entry.command));
        entry.terminalShadowedBy = ShadowOf(terminal, entry.scope, entry.command, listings);
    }
}

std::vector<CStringW> Launchers::GuardedFolders(RunScope scope) const {
    if (scope != RunScope::kLocalMachine) return {};
    const CStringW folder = m_files.Folder(scope);
    const int slash = folder.ReverseFind(u'\\');
    if (slash <= 2) return {folder};
    return {folder.Left(slash), folder};
}

FolderVerdict Launchers::JudgeFolder(const CStringW& folder, bool* pMissing) const {
    const LauncherFiles::FolderSecurityRead read = m_files.ReadFolderSecurity(folder);
    *pMissing = read.kind == LauncherFiles::FolderSecurityRead::kMissing;
    switch (read.kind) {
        case LauncherFiles::FolderSecurityRead::kMissing:
            return {};
        case LauncherFiles::FolderSecurityRead::kFolder:
            return JudgeFolderSddl(read.sddl);
        case LauncherFiles::FolderSecurityRead::kNotPlain:
            return {FolderFlaw::kLink, CStringW(), 0};
        case LauncherFiles::FolderSecurityRead::kUnreadable:
            break;
    }
    return {FolderFlaw::kUnreadable, CStringW(), 0};
}

ChangeResult Launchers::SecureFolder(RunScope scope) { return SecureFolders(GuardedFolders(scope)); }

ChangeResult Launchers::SecureFolders(const std::vector<CStringW>& folders) {
    bool changed = false;
    for (const CStringW& folder : folders) {
        bool missing = false;
        const FolderVerdict verdict = JudgeFolder(folder, &missing);
        if (missing) {
            if (!m_files.MakeFolder(folder, kLauncherFolderSddl)) return ChangeResult::kLauncherFailed;
            changed = true;
            continue;
        }
        if (verdict.Safe()) continue;
        // A link is never repaired: its rights are those of where it leads.
        if (verdict.flaw == FolderFlaw::kLink || !m_files.SetFolderSecurity(folder, kLauncherFolderSddl))
            return ChangeResult::kFolderUnsafe;
        changed = true;
    }
    return changed ? ChangeResult::kDone : ChangeResult::kUnchanged;
}

std::vector<LauncherProblem> Launchers::Problems(const std::vector<RunEntry>& entries) const {
    std::vector<LauncherProblem> problems;
    std::vector<CStringW> guarded = GuardedFolders(RunScope::kLocalMachine);
    guarded.push_back(OptionsFolder(RunScope::kLocalMachine));
    for (const CStringW& folder : guarded) {
        bool missing = false;
        const FolderVerdict verdict = JudgeFolder(folder, &missing);
        if (!verdict.Safe())
            problems.push_back(
                {LauncherProblem::kUnsafeFolder, RunScope::kLocalMachine, CStringW(), folder, verdict});
    }
    for (const RunScope scope : {RunScope::kLocalMachine, RunScope::kCurrentUser}) {
        std::set<CStringW> marked;
        for (const RunEntry& entry : entries) {
            if (entry.scope != scope || !entry.terminal) continue;
            if (CheckTerminalName(entry.command) != TerminalNameCheck::kFits) continue;
            marked.insert(Folded(entry.command));
            const CStringW launcher = LauncherFile(scope, entry.command);
            if (!m_files.Exists(launcher)) {
                problems.push_back({LauncherProblem::kMissingLauncher, scope, entry.command, launcher, {}});
                continue;
            }
            const ProgramKind wanted = LauncherKindFor(entry.target, launcher);
            if (KindOfFile(launcher) != wanted) {
                problems.push_back({LauncherProblem::kWrongLauncher, scope, entry.command, launcher, {}});
            }
        }
        for (const RunEntry& entry : entries)
            if (entry.scope == scope) AddOptionsProblems(entry, problems);
        for (const CStringW& name : m_files.LauncherNames(scope)) {
            if (marked.count(Folded(name)) == 0) {
                problems.push_back(
                    {LauncherProblem::kOrphanLauncher, scope, name, LauncherFile(scope, name), {}});
            }
        }
    }
    return problems;
}

void Launchers::AddOptionsProblems(const RunEntry& entry, std::vector<LauncherProblem>& problems) const {
    if (!entry.options.Any() || CheckTerminalName(entry.command) != TerminalNameCheck::kFits) return;
    const CStringW launcher = OptionsLauncherFile(entry.scope, entry.command);
    if (entry.launcherTarget.IsEmpty() ||
        velmora::CompareNoCase(TargetFileOf(entry.launcherTarget), launcher) != 0) {
        problems.push_back({LauncherProblem::kOptionsNotApplied, entry.scope, entry.command, launcher, {}});
    } else if (!m_files.Exists(launcher)) {
        problems.push_back(
            {LauncherProblem::kMissingOptionsLauncher, entry.scope, entry.command, launcher, {}});
    }
    const CStringW folder = m_files.Expand(entry.options.folder);
    if (!folder.IsEmpty() && !m_files.FolderExists(folder))
        problems.push_back({LauncherProblem::kMissingOptionsFolder, entry.scope, entry.command, folder, {}});
}

ChangeResult Launchers::FollowOptions(RunScope scope, const CStringW& command, ChangeJournal& journal) {
    const CStringW launcher = OptionsLauncherFile(scope, command);
    const RegKey root = m_place.RootOf(scope);
    const CStringW keyPath = KeyPathOfCommand(command);
    const auto failed = [&journal](ChangeResult result) {
        journal.Restore();
        return result;
    };
    RegKeyContents contents;
    const long read = ReadKeyContents(m_registry, root, m_place.KeyPathOf(keyPath), &contents);
    if (read != kRegistrySuccess && read != kRegistryFileNotFound)
        return failed(ChangeResult::kRegistryFailed);
    RunCommandOptions options;
    for (const RegValue& value : contents.values)
        TakeOptionValue(value.name, value.type, value.data, options);
    const RegValue* shown = FindValue(contents, CStringW());
    const RegValue* program = FindValue(contents, kOptionProgramValue);
    const bool shownIsLauncher = shown != nullptr && IsTextType(shown->type) &&
                                 (IsOptionsLauncherPath(TextOfValue(*shown)) ||
                                  velmora::CompareNoCase(TargetFileOf(TextOfValue(*shown)), launcher) == 0);
    const bool wanted =
        read == kRegistrySuccess && options.Any() && CheckTerminalName(command) == TerminalNameCheck::kFits;
    if (wanted) {
        // The default value names a launcher only in a folder that no one
        // but an administrator can change, as for the terminal's.
        std::vector<CStringW> guarded = GuardedFolders(scope);
        if (!guarded.empty()) guarded.push_back(OptionsFolder(scope));
        const ChangeResult secured = SecureFolders(guarded);
        if (!Succeeded(secured)) return failed(secured);
    }

    // What the key should hold: the default value, and the program value
    // (none for a plain entry).
    std::optional<RegValue> wantedShown = shown != nullptr ? std::optional<RegValue>(*shown) : std::nullopt;
    std::optional<RegValue> wantedProgram;
    if (wanted) {
        // The default value is the program unless it names a launcher: a
        // registration, or another tool, has pointed the command elsewhere.
        const RegValue* real = shown != nullptr && !shownIsLauncher ? shown : program;
        if (real == nullptr) return failed(ChangeResult::kNotAProgram);
        wantedProgram = *real;
        wantedProgram->name = kOptionProgramValue;
        wantedShown = RegValue{CStringW(), kRegSz, StringValueBytes(launcher)};
    } else if (program != nullptr && (shown == nullptr || shownIsLauncher)) {
        // The last option cleared: a plain entry again, its program as it was.
        wantedShown = *program;
        wantedShown->name.Empty();
    }
    const bool keyChanges =
        read == kRegistrySuccess &&
        (!(wantedShown ? shown != nullptr && *shown == *wantedShown : shown == nullptr) ||
         !(wantedProgram ? program != nullptr && *program == *wantedProgram : program == nullptr));
    if (keyChanges) {
        ScopedRegKey key(m_registry, root);
        RegKey opened = 0;
        if (!journal.NoteKey(root, m_place.appPathsKey, keyPath) ||
            m_registry.OpenKeyForWrite(root, m_place.KeyPathOf(keyPath).GetString(), &opened) !=
                kRegistrySuccess)
            return failed(ChangeResult::kRegistryFailed);
        key.Replace(opened);
        const auto set = [&](const RegValue& value) {
            return m_registry.SetValue(key.Get(), value.name.GetString(), value.type, value.data.data(),
                                       static_cast<std::uint32_t>(value.data.size())) == kRegistrySuccess;
        };
        bool written = wantedShown ? set(*wantedShown) : true;
        if (written && wantedProgram) written = set(*wantedProgram);
        if (written && !wantedProgram && program != nullptr)
            written = m_registry.DeleteValue(key.Get(), kOptionProgramValue) == kRegistrySuccess;
        if (!written) return failed(ChangeResult::kRegistryFailed);
    }

    const bool present = m_files.Exists(launcher);
    if (!wanted) {
        if (present && (!NoteFile(launcher, journal) || !m_files.Remove(launcher)))
            return failed(ChangeResult::kLauncherFailed);
        return keyChanges || present ? ChangeResult::kDone : ChangeResult::kUnchanged;
    }
    const ProgramKind kind = LauncherKindFor(TextOfValue(*wantedProgram), launcher);
    if (present && KindOfFile(launcher) == kind)
        return keyChanges ? ChangeResult::kDone : ChangeResult::kUnchanged;
    if (!NoteFile(launcher, journal) || !m_files.WriteLauncher(launcher, kind))
        return failed(ChangeResult::kLauncherFailed);
    return ChangeResult::kDone;
}

ChangeResult Launchers::Follow(RunScope scope, const CStringW& command, ChangeJournal& journal) {
    const ChangeResult options = FollowOptions(scope, command, journal);
    if (!Succeeded(options)) return options;
    const ChangeResult terminal = FollowTerminal(scope, command, journal);
    if (!Succeeded(terminal)) return terminal;
    return options == ChangeResult::kDone ? ChangeResult::kDone : terminal;
}

ChangeResult Launchers::FollowTerminal(RunScope scope, const CStringW& command, ChangeJournal& journal) {
    const CStringW launcher = LauncherFile(scope, command);
    const KeyState state = ReadKey(scope, command);
    const bool wanted =
        state.exists && state.marked && CheckTerminalName(command) == TerminalNameCheck::kFits;
    const bool present = m_files.Exists(launcher);
    const auto failed = [&journal](ChangeResult result) {
        journal.Restore();
        return result;
    };
    if (!wanted) {
        if (!present) return ChangeResult::kUnchanged;
        if (!NoteFile(launcher, journal) || !m_files.Remove(launcher))
            return failed(ChangeResult::kLauncherFailed);
        return ChangeResult::kDone;
    }
    // Nothing goes into a folder on PATH, and no folder goes on PATH, that
    // others than administrators could change.
    const ChangeResult secured = SecureFolder(scope);
    if (!Succeeded(secured)) return failed(secured);
    const ProgramKind kind = LauncherKindFor(state.target, launcher);
    bool written = false;
    if (!present || KindOfFile(launcher) != kind) {
        if (!NoteFile(launcher, journal) || !m_files.WriteLauncher(launcher, kind))
            return failed(ChangeResult::kLauncherFailed);
        written = true;
    }
    const ChangeResult onPath = PutFolderOnPath(scope, journal);
    if (!Succeeded(onPath)) return failed(onPath);
    return written || onPath == ChangeResult::kDone || secured == ChangeResult::kDone
               ? ChangeResult::kDone
               : ChangeResult::kUnchanged;
}
