#include "app/platform/TakenFile.h"

#include "app/runcmd/CommandText.h"

namespace {

bool EndsWithNoCase(const CStringW& text, const char16_t* end) {
    const CStringW tail(end);
    return text.size() >= tail.size() && text.Right(tail.GetLength()).CompareNoCase(tail) == 0;
}

}  // namespace

bool IsShortcutFile(const CStringW& path) { return EndsWithNoCase(path, u".lnk"); }

CStringW ShortcutProposedName(const CStringW& path) {
    CStringW name = path.Mid(path.ReverseFind(u'\\') + 1);
    if (IsShortcutFile(name)) name = name.Left(name.GetLength() - 4);
    if (HasExeExtension(name) && name.GetLength() > 4) name = name.Left(name.GetLength() - 4);
    return name;
}

TakenFile TakeFile(const CStringW& path, const ShortcutTargetReader& readShortcut) {
    TakenFile taken{GetFileTitleFromPath(path), CStringW()};
    if (HasExeExtension(path)) {
        taken.program = path;
        return taken;
    }
    CStringW target;
    if (IsShortcutFile(path) && readShortcut && readShortcut(path, &target) && HasExeExtension(target)) {
        taken.proposedName = ShortcutProposedName(path);
        taken.program = target;
    }
    return taken;
}
