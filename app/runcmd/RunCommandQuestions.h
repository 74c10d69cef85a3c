// The questions the store asks before it replaces or deletes what the user
// may want to keep, as data: the view that asks words them (app/text) and
// answers true to go ahead.
#pragma once

#include <functional>
#include <vector>

#include "app/runcmd/RunEntries.h"
#include "base/wide_text.h"

// Command `name` points at `existing` and would point at `replacement`
// (or its key would be replaced whole by one that does).
struct ReplaceQuestion {
    CStringW name;
    CStringW existing;
    CStringW replacement;
};

using ReplaceAnswer = std::function<bool(const ReplaceQuestion& question)>;

class RunCommandPrompts {
public:
    virtual ~RunCommandPrompts() = default;
    virtual bool ConfirmReplace(const ReplaceQuestion& question) = 0;
    // `entries` would be deleted.
    virtual bool ConfirmDelete(const std::vector<RunEntry>& entries) = 0;
};
