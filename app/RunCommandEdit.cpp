#include "app/RunCommandEdit.h"

// Not written yet: every action reports a failure and changes nothing.
EditResult RenameRunCommand(IRegistry&, const RunCommandPlace&, const RunEntry&, const CStringW&,
                            const ReplaceAnswer&) {
    return EditResult::kFailed;
}
EditResult ChangeRunCommandTarget(IRegistry&, const RunCommandPlace&, const RunEntry&, const CStringW&,
                                  const ReplaceAnswer&) {
    return EditResult::kFailed;
}
std::vector<CStringW> ReadRunCommandPath(IRegistry&, const RunCommandPlace&, const RunEntry&) { return {}; }
EditResult SetRunCommandPath(IRegistry&, const RunCommandPlace&, const RunEntry&, const std::vector<CStringW>&) {
    return EditResult::kFailed;
}
EditResult CopyRunCommandToScope(IRegistry&, const RunCommandPlace&, const RunEntry&, RunScope,
                                 const ReplaceAnswer&) {
    return EditResult::kFailed;
}
