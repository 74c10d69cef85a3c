// What a change to run commands touched, as it was before: every key and
// value is noted before it is written, and every file outside the registry
// (a launcher) leaves a way back. A change that fails part way puts back
// everything it noted, so that it is all or nothing however many keys,
// values and files it spans. The store makes one journal per change and
// hands it to every step and to its follower.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/registry/RegistryAccess.h"
#include "app/registry/RegistryValues.h"
#include "base/wide_text.h"

class ChangeJournal {
public:
    explicit ChangeJournal(IRegistry& registry) noexcept : m_registry(registry) {}
    ChangeJournal(const ChangeJournal&) = delete;
    ChangeJournal& operator=(const ChangeJournal&) = delete;

    // Notes key `base\relative` below `root` as it is now: whole (every
    // value and subkey) when it is there, as missing when not; putting back
    // a missing key deletes it and the groups between it and `base` that it
    // leaves empty. A key noted already is not read again. False when the
    // key can be neither read nor found missing: the change must not touch it.
    bool NoteKey(RegKey root, const CStringW& base, const CStringW& relative);
    // Notes one value of key `keyPath` below `root` (its type and bytes, or
    // that there is none). False when it cannot be read.
    bool NoteValue(RegKey root, const CStringW& keyPath, const CStringW& valueName);
    // Something outside the registry that the change is about to alter:
    // `undo` puts it back (false when it cannot).
    void NoteUndo(std::function<bool()> undo);

    // Puts back everything noted, the last first, and forgets it. What is
    // as it was noted is not written at all. False when something could not
    // be put back; the rest is still tried.
    bool Restore();
    // Whether anything was noted since the last Restore.
    bool Empty() const noexcept { return m_notes.empty(); }

private:
    struct Note {
        enum class Kind { kKey, kValue, kUndo } kind = Kind::kKey;
        RegKey root = 0;
        CStringW base;      // kKey: where empty groups stop
        CStringW relative;  // kKey: below base; kValue: the key path
        CStringW valueName;
        bool existed = false;
        RegKeyContents contents;  // kKey
        RegValue value;           // kValue
        std::function<bool()> undo;
    };
    bool RestoreKey(const Note& note);
    bool RestoreValue(const Note& note);

    IRegistry& m_registry;
    std::vector<Note> m_notes;
};
