#include "app/YesNoQuestion.h"

bool AskYesNo(HWND hOwner, const char* caption, const char* text) {
    return ::MessageBoxA(hOwner, text, caption, MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}
