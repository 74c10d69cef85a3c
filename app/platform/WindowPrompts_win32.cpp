#include "app/platform/WindowPrompts_win32.h"

#include "app/platform/YesNoQuestion_win32.h"
#include "app/runcmd/RunCommandQuestions.h"

bool WindowPrompts::ConfirmReplace(const CStringW& question) {
    return AskYesNo(m_owner.m_hWnd, velmora::WideFrom936(kReplaceQuestionCaption), question);
}

bool WindowPrompts::ConfirmDelete(const CStringW& question) {
    return AskYesNo(m_owner.m_hWnd, velmora::WideFrom936(kDeleteQuestionCaption), question);
}
