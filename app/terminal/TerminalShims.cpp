#include "app/terminal/TerminalShims.h"

#include <set>

#include "app/registry/RegistryValues.h"
#include "app/runcmd/RunCommandRegistration.h"
#include "app/terminal/PathVariable.h"
#include "app/terminal/TerminalName.h"

namespace {

CStringW Folded(CStringW text) {
    text.MakeLower();
    return text;
}

// Value types a PATH may have; anything else is not touched.
bool IsTextType(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz; }

}  // namespace

TerminalShims::TerminalShims(IRegistry& registry, const RunCommandPlace& place, ShimFiles& files,
                             TerminalEnvironmentKeys environment)
    : m_registry(registry), m_place(place), m_files(files), m_environment(std::move(environment)) {}

CStringW TerminalShims::LauncherFile(RunScope scope, const CStringW& command) const {
    return m_files.Folder(scope) + u"\\" + command + u".exe";
}

TerminalShims::KeyState TerminalShims::ReadKey(RunScope scope, const CStringW& command) const {
    KeyState state;
    RegKey opened = 0;
    const RegKey root = m_place.RootOf(scope);
    if (m_registry.OpenKeyForRead(root, CommandKeyPath(m_place, command).GetString(), &opened) != kRegistrySuccess) {
        return state;
    }
    ScopedRegKey key(m_registry, root);
    key.Replace(opened);
    state.exists = true;
    state.marked = ReadTerminalMark(m_registry, key.Get());
    state.target = ReadStringValue(m_registry, key.Get(), CStringW());
    return state;
}

ProgramKind TerminalShims::KindOfFile(const CStringW& file) const {
    std::vector<unsigned char> head;
    if (!m_files.ReadHead(file, &head)) return ProgramKind::kNotAProgram;
    return ProgramKindOf(head.data(), head.size());
}

// The launcher a target needs: by its program's headers; a target that
// cannot be read (gone for now) keeps the launcher there, else a console one,
// which reports the missing program where it is typed.
ProgramKind TerminalShims::LauncherKindFor(const CStringW& target, const CStringW& launcher) const {
    const ProgramKind kind = KindOfTarget(target);
    if (kind != ProgramKind::kNotAProgram) return kind;
    const ProgramKind present = m_files.Exists(launcher) ? KindOfFile(launcher) : ProgramKind::kNotAProgram;
    return present != ProgramKind::kNotAProgram ? present : ProgramKind::kConsole;
}

bool TerminalShims::SetMark(const RunEntry& entry, bool marked) {
    RegKey opened = 0;
    const RegKey root = m_place.RootOf(entry.scope);
    if (m_registry.OpenKeyForWrite(root, m_place.KeyPathOf(entry.keyPath).GetString(), &opened) !=
        kRegistrySuccess) {
        return false;
    }
    ScopedRegKey key(m_registry, root);
    key.Replace(opened);
    if (!marked) {
        const long status = m_registry.DeleteValue(key.Get(), kTerminalMarkValue);
        return status == kRegistrySuccess || status == kRegistryFileNotFound;
    }
    const unsigned char one[4] = {1, 0, 0, 0};
    return m_registry.SetValue(key.Get(), kTerminalMarkValue, kRegDword, one, sizeof one) == kRegistrySuccess;
}

const CStringW& TerminalShims::EnvironmentKey(RunScope scope) const {
    return scope == RunScope::kCurrentUser ? m_environment.user : m_environment.machine;
}

bool TerminalShims::ReadPath(RunScope scope, std::uint32_t* pType, CStringW* pPath) const {
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

bool TerminalShims::WritePath(RunScope scope, std::uint32_t type, const CStringW& path) {
    RegKey created = 0;
    const RegKey root = m_place.RootOf(scope);
    if (m_registry.CreateKey(root, EnvironmentKey(scope).GetString(), &created) != kRegistrySuccess) return false;
    ScopedRegKey key(m_registry, root);
    key.Replace(created);
    const std::vector<unsigned char> bytes = StringValueBytes(path);
    if (m_registry.SetValue(key.Get(), u"Path", type, bytes.data(), static_cast<std::uint32_t>(bytes.size())) !=
        kRegistrySuccess) {
        return false;
    }
    m_files.AnnounceEnvironmentChange();
    return true;
}

bool TerminalShims::PutFolderOnPath(RunScope scope) {
    std::uint32_t type = kRegExpandSz;
    CStringW path;
    if (!ReadPath(scope, &type, &path)) return false;
    const CStringW folder = m_files.Folder(scope);
    if (PathListHas(path, folder)) return true;
    return WritePath(scope, type, PathListWith(path, folder));
}

bool TerminalShims::FolderOnPath(RunScope scope) const {
    std::uint32_t type = kRegExpandSz;
    CStringW path;
    return ReadPath(scope, &type, &path) && PathListHas(path, m_files.Folder(scope));
}

TerminalResult TerminalShims::TakeFolderOffPath(RunScope scope) {
    std::uint32_t type = kRegExpandSz;
    CStringW path;
    if (!ReadPath(scope, &type, &path)) return TerminalResult::kRegistryFailed;
    const CStringW folder = m_files.Folder(scope);
    if (!PathListHas(path, folder)) return TerminalResult::kUnchanged;
    return WritePath(scope, type, PathListWithout(path, folder)) ? TerminalResult::kDone
                                                                 : TerminalResult::kRegistryFailed;
}

ProgramKind TerminalShims::KindOfTarget(const CStringW& target) const {
    const CStringW file = m_files.Expand(TargetFileOf(target));
    return file.IsEmpty() ? ProgramKind::kNotAProgram : KindOfFile(file);
}

TerminalResult TerminalShims::CheckFit(const CStringW& command, const CStringW& target) const {
    if (CheckTerminalName(command) != TerminalNameCheck::kFits) return TerminalResult::kBadName;
    return KindOfTarget(target) == ProgramKind::kNotAProgram ? TerminalResult::kNotAProgram : TerminalResult::kDone;
}

TerminalResult TerminalShims::TurnOn(const RunEntry& entry) {
    const TerminalResult fit = CheckFit(entry.command, entry.target);
    if (fit != TerminalResult::kDone) return fit;
    const CStringW launcher = LauncherFile(entry.scope, entry.command);
    const ProgramKind kind = KindOfTarget(entry.target);
    const KeyState before = ReadKey(entry.scope, entry.command);
    if (!before.exists) return TerminalResult::kNotAProgram;
    const bool hadLauncher = m_files.Exists(launcher);
    if (before.marked && hadLauncher && KindOfFile(launcher) == kind && FolderOnPath(entry.scope)) {
        return TerminalResult::kUnchanged;
    }
    if (!m_files.WriteLauncher(launcher, kind)) return TerminalResult::kFileFailed;
    if (!SetMark(entry, true) || !PutFolderOnPath(entry.scope)) {
        if (!before.marked) SetMark(entry, false);
        if (!hadLauncher) m_files.Remove(launcher);
        return TerminalResult::kRegistryFailed;
    }
    return TerminalResult::kDone;
}

TerminalResult TerminalShims::TurnOff(const RunEntry& entry, bool* pLastInScope) {
    const CStringW launcher = LauncherFile(entry.scope, entry.command);
    const KeyState before = ReadKey(entry.scope, entry.command);
    const bool hadLauncher = m_files.Exists(launcher);
    TerminalResult result = TerminalResult::kUnchanged;
    if (before.marked || hadLauncher) {
        if (!m_files.Remove(launcher)) return TerminalResult::kFileFailed;
        if (before.exists && !SetMark(entry, false)) {
            // The launcher goes back: a marked command keeps it.
            if (hadLauncher) m_files.WriteLauncher(launcher, LauncherKindFor(before.target, launcher));
            return TerminalResult::kRegistryFailed;
        }
        result = TerminalResult::kDone;
    }
    if (pLastInScope != nullptr) *pLastInScope = m_files.LauncherNames(entry.scope).empty();
    return result;
}

TerminalShims::SearchOrder TerminalShims::TerminalSearchOrder() const {
    // A new terminal's PATH: the machine's value, then the user's.
    std::uint32_t type = 0;
    CStringW machinePath;
    CStringW userPath;
    ReadPath(RunScope::kLocalMachine, &type, &machinePath);
    ReadPath(RunScope::kCurrentUser, &type, &userPath);
    SearchOrder order;
    order.path = m_files.Expand(machinePath) + u";" + m_files.Expand(userPath);
    CStringW extensions = m_files.Expand(u"%PATHEXT%");
    if (extensions.IsEmpty() || extensions == u"%PATHEXT%") extensions = u".COM;.EXE;.BAT;.CMD";
    order.extensions = PathFoldersBefore(extensions, CStringW());
    return order;
}

CStringW TerminalShims::ShadowOf(const SearchOrder& order, RunScope scope, const CStringW& command) const {
    const CStringW launcher = LauncherFile(scope, command);
    for (const CStringW& folder : PathFoldersBefore(order.path, m_files.Folder(scope))) {
        for (const CStringW& extension : order.extensions) {
            CStringW candidate = folder;
            if (candidate.GetAt(candidate.GetLength() - 1) != u'\\') candidate += u"\\";
            candidate += command + extension;
            if (velmora::CompareNoCase(candidate, launcher) != 0 && m_files.Exists(candidate)) return candidate;
        }
    }
    return CStringW();
}

void TerminalShims::MarkListed(std::vector<RunEntry>& entries) const {
    bool anyMarked = false;
    for (const RunEntry& entry : entries) anyMarked = anyMarked || entry.terminal;
    if (!anyMarked) return;
    const SearchOrder order = TerminalSearchOrder();
    for (RunEntry& entry : entries) {
        if (!entry.terminal) continue;
        entry.terminalLauncherMissing = !m_files.Exists(LauncherFile(entry.scope, entry.command));
        entry.terminalShadowedBy = ShadowOf(order, entry.scope, entry.command);
    }
}

std::vector<TerminalProblem> TerminalShims::Problems(const std::vector<RunEntry>& entries) const {
    std::vector<TerminalProblem> problems;
    for (const RunScope scope : {RunScope::kLocalMachine, RunScope::kCurrentUser}) {
        std::set<CStringW> marked;
        for (const RunEntry& entry : entries) {
            if (entry.scope != scope || !entry.terminal) continue;
            if (CheckTerminalName(entry.command) != TerminalNameCheck::kFits) continue;
            marked.insert(Folded(entry.command));
            const CStringW launcher = LauncherFile(scope, entry.command);
            if (!m_files.Exists(launcher)) {
                problems.push_back({TerminalProblem::kMissingLauncher, scope, entry.command, launcher});
                continue;
            }
            const ProgramKind wanted = LauncherKindFor(entry.target, launcher);
            if (KindOfFile(launcher) != wanted) {
                problems.push_back({TerminalProblem::kWrongLauncher, scope, entry.command, launcher});
            }
        }
        for (const CStringW& name : m_files.LauncherNames(scope)) {
            if (marked.count(Folded(name)) == 0) {
                problems.push_back({TerminalProblem::kOrphanLauncher, scope, name, LauncherFile(scope, name)});
            }
        }
    }
    return problems;
}

std::vector<TerminalProblem> TerminalShims::Repair(const std::vector<TerminalProblem>& problems) {
    std::vector<TerminalProblem> left;
    for (const TerminalProblem& problem : problems) {
        if (!Follow(problem.scope, problem.command)) left.push_back(problem);
    }
    return left;
}

CStringW TerminalShims::RefusedName(const RunEntry& entry, const CStringW& newName) const {
    if (!entry.terminal) return CStringW();
    return TerminalNameProblem(newName);
}

bool TerminalShims::Follow(RunScope scope, const CStringW& command) {
    const CStringW launcher = LauncherFile(scope, command);
    const KeyState state = ReadKey(scope, command);
    const bool wanted =
        state.exists && state.marked && CheckTerminalName(command) == TerminalNameCheck::kFits;
    const bool present = m_files.Exists(launcher);
    if (!wanted) return !present || m_files.Remove(launcher);
    const ProgramKind kind = LauncherKindFor(state.target, launcher);
    if (present && KindOfFile(launcher) == kind) return PutFolderOnPath(scope);
    if (!m_files.WriteLauncher(launcher, kind)) return false;
    if (PutFolderOnPath(scope)) return true;
    if (!present) m_files.Remove(launcher);
    return false;
}

bool TerminalShims::Release(const RunEntry& entry) {
    const CStringW launcher = LauncherFile(entry.scope, entry.command);
    return !m_files.Exists(launcher) || m_files.Remove(launcher);
}
