// The store's questions answered the same way every time, for tests and
// tools that ask nobody.
#pragma once

#include <vector>

#include "app/runcmd/RunCommandQuestions.h"

struct FixedPrompts final : RunCommandPrompts {
    explicit FixedPrompts(bool yes = true) : answer(yes) {}
    bool ConfirmReplace(const ReplaceQuestion&) override { return answer; }
    bool ConfirmDelete(const std::vector<RunEntry>&) override { return answer; }
    bool answer;
};
