#include "app/RunCommandBackup.h"

// Not written yet: nothing is exported and every file is refused.
RunCommandExport ExportRunCommands(IRegistry&, const RunCommandPlace&, const std::vector<RunEntry>& entries) {
    RunCommandExport result;
    result.unreadable = entries;
    return result;
}
ImportPlan PlanRunCommandImport(IRegistry&, const RunCommandPlace&, const unsigned char*, std::size_t, bool) {
    ImportPlan plan;
    plan.error = RegFileError::kBadHeader;
    plan.errorLine = 1;
    return plan;
}
ImportCounts ApplyRunCommandImport(IRegistry&, const RunCommandPlace&, const ImportPlan& plan,
                                   const std::vector<bool>&) {
    ImportCounts counts;
    counts.skipped = static_cast<int>(plan.items.size());
    return counts;
}
