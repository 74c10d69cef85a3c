#include "app/runcmd/TerminalName.h"

namespace {

bool IsReservedDeviceName(const CStringW& command) {
    // The part before the first dot names the device: "con.txt" is con too.
    const int dot = command.Find(u'.');
    CStringW stem = dot < 0 ? command : command.Left(dot);
    stem.TrimRight(u" ");
    stem.MakeLower();
    static const char16_t* const kDevices[] = {u"con", u"prn", u"aux", u"nul", u"conin$", u"conout$"};
    for (const char16_t* device : kDevices) {
        if (stem == device) return true;
    }
    if (stem.GetLength() == 4 && (stem.Left(3) == u"com" || stem.Left(3) == u"lpt")) {
        const char16_t digit = stem.GetAt(3);
        // COM0 and LPT0 are reserved too, and the superscript digits ¹ ² ³.
        return (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' ||
               digit == u'\u00B3';
    }
    return false;
}

}  // namespace

TerminalNameCheck CheckTerminalName(const CStringW& command) {
    if (command.Find(u'\\') >= 0) return TerminalNameCheck::kGrouped;
    for (const char16_t ch : command) {
        if (ch < 0x20 || ch == u'<' || ch == u'>' || ch == u':' || ch == u'"' || ch == u'/' || ch == u'|' ||
            ch == u'?' || ch == u'*') {
            return TerminalNameCheck::kBadCharacter;
        }
    }
    if (command.IsEmpty()) return TerminalNameCheck::kBadCharacter;
    const char16_t last = command.GetAt(command.GetLength() - 1);
    if (last == u'.' || last == u' ') return TerminalNameCheck::kBadEnd;
    if (IsReservedDeviceName(command)) return TerminalNameCheck::kReserved;
    return TerminalNameCheck::kFits;
}
