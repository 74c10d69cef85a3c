#include "app/platform/YesNoQuestion_win32.h"

bool AskYesNo(HWND hOwner, const CStringW& caption, const CStringW& text) {
    return ::MessageBoxW(hOwner, velmora::WinText(text), velmora::WinText(caption),
                         MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}
