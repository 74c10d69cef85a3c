#include "app/terminal/TerminalName.h"

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

CStringW TerminalNameProblem(const CStringW& command) {
    const char* text = nullptr;
    switch (CheckTerminalName(command)) {
        case TerminalNameCheck::kFits: return CStringW();
        case TerminalNameCheck::kGrouped: text = "“%s”带有分组，终端里只能用不带分组的名称"; break;
        case TerminalNameCheck::kReserved: text = "“%s”是系统保留的设备名，不能作为终端命令"; break;
        case TerminalNameCheck::kBadCharacter: text = "“%s”含有文件名不能用的字符，不能作为终端命令"; break;
        case TerminalNameCheck::kBadEnd: text = "“%s”以点或空格结尾，不能作为终端命令"; break;
    }
    return velmora::FillIn(velmora::WideFrom936(text), {command});
}
