// Shortcut files (.lnk) through the shell's IShellLinkW, and the user's
// SendTo folder: what the main window reads from a dropped shortcut and
// the Explorer entries' service.
#pragma once

#include "app/platform/ExplorerEntries.h"
#include "base/wide_text.h"

// The target stored in shortcut `file`, as it is: no window is shown and no
// moved target is looked for. False when the file cannot be read as a
// shortcut or names no file system path (a shortcut to a virtual folder or
// an installer's advertised shortcut).
bool ReadShortcutTarget(const CStringW& file, CStringW* pTarget);

// Writes shortcut `file` (replacing it) that starts `target` with
// `arguments`, in the target's folder, showing the target's first icon.
bool WriteShortcut(const CStringW& file, const CStringW& target, const CStringW& arguments = CStringW());

// The user's SendTo folder (FOLDERID_SendTo); empty when it cannot be found.
CStringW UserSendToFolder();

// The Explorer entries' files on this system.
class Win32ShortcutFiles final : public ShortcutFiles {
public:
    CStringW SendToFolder() override { return UserSendToFolder(); }
    bool ReadTarget(const CStringW& file, CStringW* pTarget) override {
        return ReadShortcutTarget(file, pTarget);
    }
    bool Write(const CStringW& file, const CStringW& target) override { return WriteShortcut(file, target); }
    bool Remove(const CStringW& file) override;
    bool ProgramExists(const CStringW& path) override;
};
