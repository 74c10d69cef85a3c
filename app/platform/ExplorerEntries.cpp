#include "app/platform/ExplorerEntries.h"

#include "app/registry/RegistryTree.h"
#include "app/text/ExplorerText.h"

const char16_t* const kUserClassesKey = u"Software\\Classes";

namespace {

// The verb's own key name: Velmora's, so that nothing else is ever taken for it.
constexpr char16_t kVerbName[] = u"VelmoraAddRunCommand";

// A verb key's path below kUserClassesKey.
CStringW VerbPathBelowClasses(ExplorerEntry entry) {
    const char16_t* extension = entry == ExplorerEntry::kProgramVerb ? u".exe" : u".lnk";
    return CStringW(u"SystemFileAssociations\\") + extension + u"\\shell\\" + kVerbName;
}

bool EndsWithNoCase(const CStringW& text, const char16_t* end) {
    const CStringW tail(end);
    return text.size() >= tail.size() && text.Right(tail.GetLength()).CompareNoCase(tail) == 0;
}

}  // namespace

CStringW ExplorerVerbKey(ExplorerEntry entry) {
    if (entry == ExplorerEntry::kSendTo) return CStringW();
    return CStringW(kUserClassesKey) + u"\\" + VerbPathBelowClasses(entry);
}

std::vector<ExplorerValue> ExplorerVerbValues(const CStringW& program) {
    std::vector<ExplorerValue> values;
    for (const ExplorerEntry entry : {ExplorerEntry::kProgramVerb, ExplorerEntry::kShortcutVerb}) {
        const CStringW key = ExplorerVerbKey(entry);
        values.push_back({key, u"MUIVerb", ExplorerVerbText()});
        values.push_back({key, u"Icon", program + u",0"});
        values.push_back({key, u"MultiSelectModel", u"Single"});
        values.push_back({key + u"\\command", CStringW(), VerbCommandLine(program)});
    }
    return values;
}

CStringW VerbCommandLine(const CStringW& program) { return u"\"" + program + u"\" \"%1\""; }

CStringW ProgramOfCommandLine(const CStringW& commandLine) {
    if (commandLine.empty()) return CStringW();
    if (commandLine[0] == u'"') {
        const std::size_t close = commandLine.find(u'"', 1);
        return commandLine.substr(1, close == CStringW::npos ? CStringW::npos : close - 1);
    }
    return commandLine.substr(0, commandLine.find(u' '));
}

CStringW WindowProgramBeside(const CStringW& modulePath) {
    if (!EndsWithNoCase(modulePath, u".com")) return modulePath;
    return modulePath.Left(modulePath.GetLength() - 4) + u".exe";
}

CStringW SendToShortcutFile(const CStringW& sendToFolder) {
    CStringW file = sendToFolder;
    if (!file.empty() && file.back() != u'\\') file += u'\\';
    return file + SendToShortcutTitle() + u".lnk";
}

ExplorerEntryState ExplorerIntegration::StateOf(ExplorerEntry entry) {
    ExplorerEntryState state;
    state.entry = entry;
    if (entry == ExplorerEntry::kSendTo) {
        const CStringW folder = m_files.SendToFolder();
        state.present = !folder.empty() && m_files.ReadTarget(SendToShortcutFile(folder), &state.program);
    } else {
        RegKey key = 0;
        state.present =
            m_registry.OpenKeyForRead(m_userRoot, ExplorerVerbKey(entry).c_str(), &key) == kRegistrySuccess;
        if (state.present) {
            m_registry.CloseKey(key);
            state.program = ProgramOfCommandLine(
                RegReadString(m_registry, m_userRoot, ExplorerVerbKey(entry) + u"\\command", CStringW()));
        }
    }
    state.programExists = state.present && !state.program.empty() && m_files.ProgramExists(state.program);
    return state;
}

std::vector<ExplorerEntryState> ExplorerIntegration::Status() {
    std::vector<ExplorerEntryState> states;
    for (const ExplorerEntry entry : kExplorerEntries) states.push_back(StateOf(entry));
    return states;
}

bool ExplorerIntegration::IsOn(const CStringW& program) {
    for (const ExplorerEntryState& state : Status()) {
        if (!state.present || state.program.CompareNoCase(program) != 0) return false;
    }
    return true;
}

bool ExplorerIntegration::Write(ExplorerEntry entry, const CStringW& program) {
    if (entry == ExplorerEntry::kSendTo) {
        const CStringW folder = m_files.SendToFolder();
        return !folder.empty() && m_files.Write(SendToShortcutFile(folder), program);
    }
    // A verb is written whole: what it held before (another copy's) goes.
    if (DeleteKeyTree(m_registry, m_userRoot, ExplorerVerbKey(entry)) != kRegistrySuccess) return false;
    for (const ExplorerValue& value : ExplorerVerbValues(program)) {
        if (value.key.compare(0, ExplorerVerbKey(entry).size(), ExplorerVerbKey(entry)) != 0) continue;
        if (!RegWriteString(m_registry, m_userRoot, value.key, value.name, value.data)) return false;
    }
    return true;
}

bool ExplorerIntegration::Remove(ExplorerEntry entry) {
    if (entry == ExplorerEntry::kSendTo) {
        const CStringW folder = m_files.SendToFolder();
        CStringW target;
        if (folder.empty() || !m_files.ReadTarget(SendToShortcutFile(folder), &target)) return true;
        return m_files.Remove(SendToShortcutFile(folder));
    }
    if (DeleteKeyTree(m_registry, m_userRoot, ExplorerVerbKey(entry)) != kRegistrySuccess) return false;
    // From each depth in turn: an `on` cut short may have left a key above
    // the verb with none below it. Software\Classes itself goes only when
    // empty: never on Windows, where it holds the user's classes, but a
    // fresh Wine prefix has none until `on` makes it.
    CStringW path = u"Classes\\" + VerbPathBelowClasses(entry);
    for (int slash = path.ReverseFind(u'\\'); slash > 0; slash = path.ReverseFind(u'\\')) {
        RemoveEmptyParentKeys(m_registry, m_userRoot, u"Software", path);
        path = path.Left(slash);
    }
    return true;
}

bool ExplorerIntegration::TurnOn(const CStringW& program) {
    for (const ExplorerEntry entry : kExplorerEntries) {
        if (!Write(entry, program)) {
            TurnOff();
            return false;
        }
    }
    return true;
}

bool ExplorerIntegration::TurnOff() {
    bool removed = true;
    for (const ExplorerEntry entry : kExplorerEntries) removed = Remove(entry) && removed;
    return removed;
}

ExplorerIntegration::RepairCount ExplorerIntegration::Repair(const CStringW& program) {
    RepairCount count;
    const bool canMend = !program.empty() && m_files.ProgramExists(program);
    for (const ExplorerEntryState& state : Status()) {
        if (!state.Stale()) continue;
        if (canMend ? Write(state.entry, program) : Remove(state.entry)) {
            ++(canMend ? count.mended : count.removed);
        } else {
            count.failed = true;
        }
    }
    return count;
}

CStringW SwitchExplorerEntries(ExplorerIntegration& explorer, const CStringW& program, bool runsAsShellUser) {
    if (!runsAsShellUser) return ExplorerOtherUserText();
    if (explorer.IsOn(program)) return explorer.TurnOff() ? ExplorerOffText() : ExplorerFailedText(false);
    return explorer.TurnOn(program) ? ExplorerOnText(program) : ExplorerFailedText(true);
}
