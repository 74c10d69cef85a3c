// The store's questions as the windows ask them: a Yes/No message box owned
// by the window, No the default.
#pragma once

#include "app/runcmd/RunCommandStore.h"
#include "wnd/Wnd.h"

class WindowPrompts final : public RunCommandPrompts {
public:
    // `owner` must outlive the prompts; its window is read when a question
    // is asked.
    explicit WindowPrompts(const CWnd& owner) noexcept : m_owner(owner) {}

    bool ConfirmReplace(const CStringW& question) override;
    bool ConfirmDelete(const CStringW& question) override;

private:
    const CWnd& m_owner;
};
