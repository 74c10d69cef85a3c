// export and import: the manager's .reg backups from the command line.
#include "app/cli/CliVerbContext.h"
#include "app/cli/CommandsFileWriter.h"
#include "app/runcmd/CommandsFile.h"
#include "app/text/CommandsFileText.h"
#include "app/text/OutcomeText.h"
#include "app/text/QuestionText.h"
#include "app/text/ViewText.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;

CStringW ItemLine(const ImportItem& item) {
    switch (item.action) {
        case ImportAction::kAdd:
            return FillIn(
                CliText(velmora::Text{"%s  %s（%s）：%s", "%s  %s (%s): %s"}),
                {CliText(kImportAdd), item.command, CliText(ScopeText(item.scope)), item.newTarget});
        case ImportAction::kReplace:
            return FillIn(CliText(velmora::Text{"%s  %s（%s）：%s → %s", "%s  %s (%s): %s -> %s"}),
                          {CliText(kImportReplace), item.command, CliText(ScopeText(item.scope)),
                           item.oldTarget, item.newTarget});
        case ImportAction::kRefused:
            break;
    }
    return FillIn(CliText(velmora::Text{"%s  第 %s 行  %s：%s", "%s  line %s  %s: %s"}),
                  {CliText(kImportSkip), DecimalText(item.line), item.fileKey,
                   CliText(ImportRefusalText(item.refusal))});
}

// export --json: the commands file of the named entries, or of all, on
// the output. An entry whose target no commands file can hold is left out
// and named.
CliExitCode ExportCommandsFile(const CliVerbContext& context) {
    const CliRequest& request = context.request;
    std::vector<RunEntry> entries;
    if (request.operands.empty()) {
        for (RunEntry& entry : context.store.List().entries) {
            if (!context.scopeGiven || entry.scope == context.scope) entries.push_back(std::move(entry));
        }
    } else {
        bool allFound = true;
        for (const CStringW& name : request.operands) {
            const std::vector<RunEntry> named = EntriesNamed(context, name);
            if (named.empty()) {
                context.Err(FillIn(CliText(commands_text::kNoSuchCommand), {name}));
                allFound = false;
            }
            entries.insert(entries.end(), named.begin(), named.end());
        }
        if (!allFound) return CliExitCode::kNotFound;
    }
    std::vector<RunEntry> kept;
    for (const RunEntry& entry : entries) {
        if (IsCommandsFileProgram(entry.target))
            kept.push_back(entry);
        else
            context.Err(FillIn(CliText(commands_text::kExportLeftOut), {entry.command, entry.target}));
    }
    context.output.Out(CommandsFileOf(kept));
    return kept.size() == entries.size() ? CliExitCode::kSuccess : CliExitCode::kFailed;
}

}  // namespace

CliExitCode ExportVerb(const CliVerbContext& context) {
    const CliRequest& request = context.request;
    if (request.json) return ExportCommandsFile(context);
    const CStringW& file = request.operands[0];
    std::vector<RunEntry> entries;
    if (request.operands.size() == 1) {
        for (const RunEntry& entry : context.store.ListKeys().entries) {
            if (!context.scopeGiven || entry.scope == context.scope) entries.push_back(entry);
        }
    } else {
        bool allFound = true;
        for (std::size_t i = 1; i < request.operands.size(); ++i) {
            const std::vector<RunEntry> named = EntriesNamed(context, request.operands[i]);
            if (named.empty()) {
                context.Err(
                    FillIn(CliText(velmora::Text{"没有运行命令“%s”", "There is no run command \"%s\""}),
                           {request.operands[i]}));
                allFound = false;
            }
            entries.insert(entries.end(), named.begin(), named.end());
        }
        if (!allFound) {
            context.Err(
                CliText(velmora::Text{"未导出，未写入文件", "Nothing exported; no file was written"}));
            return CliExitCode::kNotFound;
        }
    }
    const RunCommandExport exported = context.store.Export(entries);
    if (!context.services.writeFile(file, exported.file)) {
        context.Err(FileFailureText(kExportAction, file,
                                    CliText(velmora::Text{"无法写入文件", "cannot write the file"})));
        return CliExitCode::kFailed;
    }
    const CStringW text =
        ExportStatusText(exported.exported, static_cast<int>(exported.unreadable.size()), file);
    if (!exported.unreadable.empty()) {
        context.Err(text);
        return CliExitCode::kFailed;
    }
    context.Out(text);
    return CliExitCode::kSuccess;
}

CliExitCode ImportVerb(const CliVerbContext& context) {
    const CliRequest& request = context.request;
    const CStringW& file = request.operands[0];
    std::vector<unsigned char> data;
    if (!context.services.readFile(file, &data)) {
        context.Err(FileFailureText(kImportAction, file,
                                    CliText(velmora::Text{"无法读取文件", "cannot read the file"})));
        return CliExitCode::kNotFound;
    }
    const ImportPlan plan = context.store.PlanImport(data.data(), data.size());
    if (plan.error != RegFileError::kNone) {
        context.Err(FileFailureText(kImportAction, file, DamagedFileText(plan.error, plan.errorLine)));
        context.Err(CliText(velmora::Text{"未做任何修改", "Nothing was changed"}));
        return CliExitCode::kFailed;
    }
    int added = 0, replaced = 0, refused = 0;
    for (const ImportItem& item : plan.items) {
        added += item.action == ImportAction::kAdd;
        replaced += item.action == ImportAction::kReplace;
        refused += item.action == ImportAction::kRefused;
    }
    if (request.dryRun) {
        for (const ImportItem& item : plan.items) context.Out(ItemLine(item));
        CStringW summary = FillIn(CliText(velmora::Text{"将添加 %s 个运行命令，替换 %s 个",
                                                        "%s run commands would be added, %s replaced"}),
                                  {DecimalText(added), DecimalText(replaced)});
        if (refused > 0)
            summary += FillIn(CliText(velmora::Text{"；%s 项不会写入", "; %s items would not be written"}),
                              {DecimalText(refused)});
        context.Out(summary +
                    CliText(velmora::Text{"（试运行，未做任何修改）", " (dry run, nothing was changed)"}));
        return CliExitCode::kSuccess;
    }
    if (replaced > 0 && !request.force) {
        for (const ImportItem& item : plan.items) {
            if (item.action == ImportAction::kReplace) context.Err(ItemLine(item));
        }
        context.Err(
            FillIn(CliText(velmora::Text{
                       "%s 个运行命令已存在，未做任何修改；要替换请加 --force",
                       "%s run commands exist already; nothing was changed. Add --force to replace them"}),
                   {DecimalText(replaced)}));
        return CliExitCode::kExists;
    }
    for (const ImportItem& item : plan.items) {
        if (item.action == ImportAction::kRefused) context.Err(ItemLine(item));
    }
    const std::vector<bool> replace(plan.items.size(), true);
    const ImportCounts counts = context.store.ApplyImport(plan, replace);
    if (counts.failed > 0) {
        context.Err(ImportOutcomeText(counts));
        return CliExitCode::kFailed;
    }
    context.Out(ImportOutcomeText(counts));
    return CliExitCode::kSuccess;
}
