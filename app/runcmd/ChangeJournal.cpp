#include "app/runcmd/ChangeJournal.h"

#include <utility>

#include "app/registry/KeyPath.h"
#include "app/registry/RegistryTree.h"

namespace {

CStringW JoinKey(const CStringW& base, const CStringW& relative) {
    if (base.IsEmpty()) return relative;
    if (relative.IsEmpty()) return base;
    return base + u"\\" + relative;
}

// Whether the key is there; one that cannot be read counts as there, so
// that putting back never removes what it could not see.
bool KeyExists(IRegistry& registry, RegKey root, const CStringW& keyPath) {
    RegKey opened = 0;
    const long status = registry.OpenKeyForRead(root, keyPath.GetString(), &opened);
    if (status == kRegistrySuccess) registry.CloseKey(opened);
    return status != kRegistryFileNotFound;
}

// Whether the last name of `keyPath` is spelled so by the registry (ASCII
// letter case is all two spellings of one key can differ in). True when
// that cannot be told.
bool SpelledAs(IRegistry& registry, RegKey root, const CStringW& keyPath) {
    const CStringW name = SpelledKeyName(registry, root, keyPath);
    return name.IsEmpty() || name == keyPath.Mid(keyPath.ReverseFind(u'\\') + 1);
}

// The value as it is now: kRegistrySuccess with its type and bytes, or
// kRegistryFileNotFound when it (or its key) is not there.
long ReadValueNow(IRegistry& registry, RegKey root, const CStringW& keyPath, const CStringW& name,
                  RegValue* pValue) {
    RegKey opened = 0;
    const long openStatus = registry.OpenKeyForRead(root, keyPath.GetString(), &opened);
    if (openStatus != kRegistrySuccess) return openStatus;
    ScopedRegKey key(registry, root);
    key.Replace(opened);
    pValue->name = name;
    return registry.ReadValue(key.Get(), name.GetString(), &pValue->type, &pValue->data);
}

}  // namespace

bool ChangeJournal::NoteKey(RegKey root, const CStringW& base, const CStringW& relative) {
    for (const Note& note : m_notes) {
        if (note.kind == Note::Kind::kKey && note.root == root &&
            velmora::CompareNoCase(JoinKey(note.base, note.relative), JoinKey(base, relative)) == 0)
            return true;
    }
    Note note;
    note.kind = Note::Kind::kKey;
    note.root = root;
    note.base = base;
    note.relative = relative;
    const long status = ReadKeyContents(m_registry, root, JoinKey(base, relative), &note.contents);
    if (status != kRegistrySuccess && status != kRegistryFileNotFound) return false;
    note.existed = status == kRegistrySuccess;
    if (!note.existed) {
        // Only the groups the change makes go again: the deepest group that
        // is there now becomes the base of the clean-up.
        std::vector<CStringW> names;
        SplitString(relative, u"\\", names, false);
        std::size_t present = 0;
        CStringW path = base;
        while (present + 1 < names.size() && KeyExists(m_registry, root, JoinKey(path, names[present]))) {
            path = JoinKey(path, names[present]);
            ++present;
        }
        CStringW rest;
        for (std::size_t i = present; i < names.size(); ++i) rest = JoinKey(rest, names[i]);
        note.base = path;
        note.relative = rest;
    }
    m_notes.push_back(std::move(note));
    return true;
}

bool ChangeJournal::NoteValue(RegKey root, const CStringW& keyPath, const CStringW& valueName) {
    Note note;
    note.kind = Note::Kind::kValue;
    note.root = root;
    note.relative = keyPath;
    note.valueName = valueName;
    const long status = ReadValueNow(m_registry, root, keyPath, valueName, &note.value);
    if (status != kRegistrySuccess && status != kRegistryFileNotFound) return false;
    note.existed = status == kRegistrySuccess;
    m_notes.push_back(std::move(note));
    return true;
}

void ChangeJournal::NoteUndo(std::function<bool()> undo) {
    Note note;
    note.kind = Note::Kind::kUndo;
    note.undo = std::move(undo);
    m_notes.push_back(std::move(note));
}

bool ChangeJournal::RestoreKey(const Note& note) {
    const CStringW keyPath = JoinKey(note.base, note.relative);
    RegKeyContents now;
    const long status = ReadKeyContents(m_registry, note.root, keyPath, &now);
    if (note.existed) {
        // A rename in letter case only leaves the same contents under
        // another spelling: that is put back too.
        if (status == kRegistrySuccess && now == note.contents && SpelledAs(m_registry, note.root, keyPath))
            return true;
        if (status != kRegistryFileNotFound &&
            DeleteKeyTree(m_registry, note.root, keyPath) != kRegistrySuccess) {
            // A key that will not go gets back what it held over what is
            // left of it; whole again when nothing was added to it.
            RegKeyContents merged;
            return WriteKeyContents(m_registry, note.root, keyPath, note.contents) == kRegistrySuccess &&
                   ReadKeyContents(m_registry, note.root, keyPath, &merged) == kRegistrySuccess &&
                   merged == note.contents;
        }
        return WriteKeyContents(m_registry, note.root, keyPath, note.contents) == kRegistrySuccess;
    }
    if (status != kRegistryFileNotFound && DeleteKeyTree(m_registry, note.root, keyPath) != kRegistrySuccess)
        return false;
    RemoveEmptyParentKeys(m_registry, note.root, note.base, note.relative);
    return true;
}

bool ChangeJournal::RestoreValue(const Note& note) {
    RegValue now;
    const long status = ReadValueNow(m_registry, note.root, note.relative, note.valueName, &now);
    if (!note.existed) {
        if (status == kRegistryFileNotFound) return true;
        RegKey opened = 0;
        if (m_registry.OpenKeyForWrite(note.root, note.relative.GetString(), &opened) != kRegistrySuccess)
            return false;
        ScopedRegKey key(m_registry, note.root);
        key.Replace(opened);
        const long deleted = m_registry.DeleteValue(key.Get(), note.valueName.GetString());
        return deleted == kRegistrySuccess || deleted == kRegistryFileNotFound;
    }
    if (status == kRegistrySuccess && now.type == note.value.type && now.data == note.value.data) return true;
    RegKey created = 0;
    if (m_registry.CreateKey(note.root, note.relative.GetString(), &created) != kRegistrySuccess)
        return false;
    ScopedRegKey key(m_registry, note.root);
    key.Replace(created);
    return m_registry.SetValue(key.Get(), note.valueName.GetString(), note.value.type, note.value.data.data(),
                               static_cast<std::uint32_t>(note.value.data.size())) == kRegistrySuccess;
}

bool ChangeJournal::Restore() {
    bool whole = true;
    for (auto note = m_notes.rbegin(); note != m_notes.rend(); ++note) {
        switch (note->kind) {
            case Note::Kind::kKey:
                whole = RestoreKey(*note) && whole;
                break;
            case Note::Kind::kValue:
                whole = RestoreValue(*note) && whole;
                break;
            case Note::Kind::kUndo:
                whole = note->undo() && whole;
                break;
        }
    }
    m_notes.clear();
    return whole;
}
