#include "app/platform/WindowPrompts_win32.h"

#include <windows.h>

#include "app/text/QuestionText.h"

bool WindowPrompts::ConfirmReplace(const ReplaceQuestion& question) {
    return Ask(velmora::WideFrom936(kReplaceQuestionCaption), ReplaceQuestionText(question));
}

bool WindowPrompts::ConfirmDelete(const std::vector<RunEntry>& entries) {
    return Ask(velmora::WideFrom936(kDeleteQuestionCaption), DeleteQuestionText(entries));
}

bool WindowPrompts::Ask(const CStringW& caption, const CStringW& text) const {
    return ::MessageBoxW(m_owner.m_hWnd, velmora::WinText(text), velmora::WinText(caption),
                         MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}

void WindowPrompts::Warn(const CStringW& caption, const CStringW& text) const {
    ::MessageBoxW(m_owner.m_hWnd, velmora::WinText(text), velmora::WinText(caption), MB_OK | MB_ICONWARNING);
}
