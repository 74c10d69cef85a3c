// Every question a window asks, and every warning it gives, as message boxes
// owned by the window: the store's questions (before replacing or
// deleting), a Yes/No question of the window's own, and a warning to
// acknowledge. Yes/No boxes have No as their default.
#pragma once

#include "app/runcmd/RunCommandQuestions.h"
#include "base/wide_text.h"
#include "wnd/Wnd.h"

class WindowPrompts final : public RunCommandPrompts {
public:
    // `owner` must outlive the prompts; its window is read when a question
    // is asked.
    explicit WindowPrompts(const CWnd& owner) noexcept : m_owner(owner) {}

    bool ConfirmReplace(const ReplaceQuestion& question) override;
    bool ConfirmDelete(const std::vector<RunEntry>& entries) override;

    // Asks with the question icon; true only for Yes (Enter answers No).
    bool Ask(const CStringW& caption, const CStringW& text) const;
    // Tells with the warning icon and an OK button.
    void Warn(const CStringW& caption, const CStringW& text) const;

private:
    const CWnd& m_owner;
};
