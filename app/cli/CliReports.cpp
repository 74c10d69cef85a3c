// The verbs that only read: list, show, check.
#include <cstdint>
#include <cstring>
#include <optional>

#include "app/cli/CliVerbContext.h"
#include "app/cli/JsonText.h"
#include "app/cli/TextTable.h"
#include "app/registry/KeyPath.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/PathList.h"
#include "app/runcmd/RunEntryFilter.h"
#include "app/text/ExplorerText.h"
#include "app/text/OutcomeText.h"
#include "app/text/QuestionText.h"
#include "app/text/ViewText.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;

const char16_t* JsonBool(bool value) { return value ? u"true" : u"false"; }

CStringW JsonStringArray(const std::vector<CStringW>& texts) {
    CStringW json = u"[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) json += u',';
        json += JsonString(texts[i]);
    }
    return json + u"]";
}

// The listed entries the request asks for: its scope, its pattern (as the
// manager's filter matches) and --broken.
std::vector<RunEntry> Selected(const CliVerbContext& context, const std::vector<RunEntry>& entries) {
    std::vector<RunEntry> selected;
    RunEntryFilter filter;
    filter.Index(entries);
    const CStringW pattern = context.request.operands.empty() ? CStringW() : context.request.operands[0];
    for (const int index : filter.Matching(pattern)) {
        const RunEntry& entry = entries[static_cast<std::size_t>(index)];
        if (context.scopeGiven && entry.scope != context.scope) continue;
        if (context.request.broken && !entry.broken) continue;
        selected.push_back(entry);
    }
    return selected;
}

CStringW OptionsJson(const RunCommandOptions& options) {
    return u"{\"arguments\":" + JsonString(options.arguments) + u",\"workingFolder\":" +
           JsonString(options.folder) + u",\"environment\":" + JsonStringArray(options.environment) +
           u",\"administrator\":" + JsonBool(options.administrator) + u"}";
}

// The options of a command, one line each, for show.
void AppendOptionLines(const CliVerbContext& context, const RunEntry& entry) {
    const RunCommandOptions& options = entry.options;
    if (!options.Any()) return;
    context.Out(FillIn(CliText(velmora::Text{"  程序：%s", "  Program: %s"}), {entry.target}));
    for (const CStringW& line : OptionLines(options)) context.Out(u"  " + line);
}

CStringW EntryJson(const RunEntry& entry) {
    return u"{\"name\":" + JsonString(entry.command) + u",\"scope\":\"" + ScopeKey(entry.scope) +
           u"\",\"key\":" + JsonString(entry.keyPath) + u",\"target\":" + JsonString(entry.target) +
           u",\"path\":" + JsonString(entry.path) + u",\"folders\":" +
           JsonStringArray(SplitPathList(entry.path)) + u",\"broken\":" + JsonBool(entry.broken) +
           u",\"shadowed\":" + JsonBool(entry.shadowed) + u",\"terminal\":" + JsonBool(entry.terminal) +
           u",\"terminalLauncherMissing\":" + JsonBool(entry.terminalLauncherMissing) +
           u",\"terminalShadowedBy\":" + JsonString(entry.terminalShadowedBy) + u",\"hasOptions\":" +
           JsonBool(entry.options.Any()) + u",\"options\":" + OptionsJson(entry.options) + u"}";
}

const char16_t* TypeName(std::uint32_t type) {
    switch (type) {
        case 0:
            return u"REG_NONE";
        case 1:
            return u"REG_SZ";
        case 2:
            return u"REG_EXPAND_SZ";
        case 3:
            return u"REG_BINARY";
        case 4:
            return u"REG_DWORD";
        case 5:
            return u"REG_DWORD_BIG_ENDIAN";
        case 6:
            return u"REG_LINK";
        case 7:
            return u"REG_MULTI_SZ";
        case 8:
            return u"REG_RESOURCE_LIST";
        case 9:
            return u"REG_FULL_RESOURCE_DESCRIPTOR";
        case 10:
            return u"REG_RESOURCE_REQUIREMENTS_LIST";
        case 11:
            return u"REG_QWORD";
        default:
            return nullptr;
    }
}

CStringW TypeText(std::uint32_t type) {
    const char16_t* name = TypeName(type);
    return name != nullptr ? CStringW(name) : u"REG_" + DecimalText(type);
}

CStringW HexText(const std::vector<unsigned char>& data) {
    static const char16_t kHex[] = u"0123456789abcdef";
    CStringW hex;
    for (const unsigned char byte : data) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0xF];
    }
    return hex;
}

// A number value's bytes in the platform's order, when they have its size.
bool NumberOf(const RegValue& value, unsigned long long* pNumber) {
    const std::size_t size = value.type == kRegDword ? 4 : value.type == kRegQword ? 8 : 0;
    if (size == 0 || value.data.size() != size) return false;
    unsigned long long number = 0;
    for (std::size_t i = size; i-- > 0;) number = (number << 8) | value.data[i];
    *pNumber = number;
    return true;
}

// A number as decimal text, all 64 bits of it (a REG_QWORD may use the top one).
CStringW UnsignedText(unsigned long long number) {
    CStringW text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + number % 10));
        number /= 10;
    } while (number != 0);
    return text;
}

CStringW ValueDataJson(const RegValue& value) {
    unsigned long long number = 0;
    if (value.type == kRegSz || value.type == kRegExpandSz) return JsonString(TextOfValue(value));
    if (value.type == kRegMultiSz) return JsonStringArray(TextsOfMultiString(value.data));
    if (NumberOf(value, &number)) return UnsignedText(number);
    return JsonString(HexText(value.data));
}

CStringW ValueDataText(const RegValue& value) {
    unsigned long long number = 0;
    if (value.type == kRegSz || value.type == kRegExpandSz) return TextOfValue(value);
    if (value.type == kRegMultiSz) {
        CStringW text;
        for (const CStringW& part : TextsOfMultiString(value.data))
            text += (text.empty() ? u"" : u"\\0") + part;
        return text;
    }
    if (NumberOf(value, &number)) return UnsignedText(number);
    return HexText(value.data);
}

CStringW KeyJson(const RegKeyContents& contents) {
    CStringW json = u"\"values\":[";
    for (std::size_t i = 0; i < contents.values.size(); ++i) {
        const RegValue& value = contents.values[i];
        if (i > 0) json += u',';
        json += u"{\"name\":" + JsonString(value.name) + u",\"type\":\"" + TypeText(value.type) +
                u"\",\"data\":" + ValueDataJson(value) + u"}";
    }
    json += u"],\"subkeys\":[";
    for (std::size_t i = 0; i < contents.subKeys.size(); ++i) {
        if (i > 0) json += u',';
        json += u"{\"name\":" + JsonString(contents.subKeys[i].name) + u"," +
                KeyJson(contents.subKeys[i].contents) + u"}";
    }
    return json + u"]";
}

void AppendKeyRows(const RegKeyContents& contents, const CStringW& indent,
                   std::vector<std::vector<CStringW>>& rows) {
    for (const RegValue& value : contents.values) {
        rows.push_back(
            {indent + (value.name.empty() ? CliText(velmora::Text{"(默认)", "(Default)"}) : value.name),
             TypeText(value.type), ValueDataText(value)});
    }
    for (const RegKeyContents::SubKey& subKey : contents.subKeys) {
        rows.push_back({indent + u"[" + subKey.name + u"]"});
        AppendKeyRows(subKey.contents, indent + u"  ", rows);
    }
}

CStringW RootName(RunScope scope) {
    return scope == RunScope::kCurrentUser ? u"HKEY_CURRENT_USER\\" : u"HKEY_LOCAL_MACHINE\\";
}

// A problem `check` reports.
struct Problem {
    const char16_t* kind;  // "broken", "shadowed", "name", "terminal-shadowed", "launcher-*"
    CStringW text;         // 失效, 被覆盖, or what is wrong
    CStringW command;
    RunScope scope;
    CStringW target;  // the entry's, or the launcher file for a launcher problem
    CStringW winner;  // what starts instead, for a name taken elsewhere
};

Problem EntryProblem(const char16_t* kind, const CStringW& text, const RunEntry& entry) {
    return {kind, text, entry.command, entry.scope, entry.target};
}

// The launchers that are not in step with their commands.
void AddLauncherProblems(const CliVerbContext& context, const std::vector<RunEntry>& entries,
                         std::vector<Problem>& problems) {
    for (const LauncherProblem& problem : context.store.LauncherProblems(entries)) {
        if (context.scopeGiven && problem.scope != context.scope) continue;
        if (problem.kind == LauncherProblem::kUnsafeFolder) {
            problems.push_back({u"launcher-folder-unsafe", UnsafeFolderText(problem.file, problem.folder),
                                problem.command, problem.scope, problem.file});
            continue;
        }
        static const struct {
            const char16_t* kind;
            velmora::Text text;
        } kKinds[] = {
            {u"launcher-orphan", velmora::Text{"多余的终端启动文件", "Extra terminal launcher"}},
            {u"launcher-missing", velmora::Text{"终端启动文件缺失", "Terminal launcher missing"}},
            {u"launcher-wrong-kind",
             velmora::Text{"终端启动文件类型不符", "Terminal launcher of the wrong kind"}},
            {u"options-not-applied",
             velmora::Text{"选项未生效：默认值不再指向它的启动文件",
                           "Options not applied: the default value no longer points to its launcher"}},
            {u"options-launcher-missing",
             velmora::Text{"选项的启动文件缺失", "Launcher of the options missing"}},
            {u"options-folder-missing", velmora::Text{"起始位置不存在", "Start-in folder missing"}},
        };
        const auto& kind = kKinds[problem.kind];
        problems.push_back({kind.kind, CliText(kind.text), problem.command, problem.scope, problem.file});
    }
}

// Explorer entries of the current user whose Velmora is gone.
void AddExplorerProblems(const CliVerbContext& context, std::vector<Problem>& problems) {
    if (context.services.explorer == nullptr ||
        (context.scopeGiven && context.scope != RunScope::kCurrentUser))
        return;
    for (const ExplorerEntryState& state : context.services.explorer->Status()) {
        if (state.Stale()) {
            problems.push_back({u"explorer-stale", ExplorerStaleProblemText(),
                                ExplorerEntryText(static_cast<int>(state.entry)), RunScope::kCurrentUser,
                                state.program});
        }
    }
}

// While it lives, texts read in Chinese when `chinese` says so: the texts
// of a JSON document are the same in every language.
class ChineseWhile {
public:
    explicit ChineseWhile(bool chinese) {
        if (chinese) velmora::UseLanguage(velmora::Language::kChinese);
    }
    ~ChineseWhile() { velmora::UseLanguage(m_was); }
    ChineseWhile(const ChineseWhile&) = delete;
    ChineseWhile& operator=(const ChineseWhile&) = delete;

private:
    velmora::Language m_was = velmora::CurrentLanguage();
};

}  // namespace

CliExitCode ListVerb(const CliVerbContext& context) {
    const RunListing listing = context.store.List();
    const std::vector<RunEntry> entries = Selected(context, listing.entries);
    if (context.request.json) {
        CStringW json = u"{\"entries\":[";
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (i > 0) json += u',';
            json += EntryJson(entries[i]);
        }
        context.Out(json + u"],\"unreadable\":" + DecimalText(listing.unreadable) + u"}");
        return CliExitCode::kSuccess;
    }
    const RunColumn columns[] = {RunColumn::kCommand, RunColumn::kScope, RunColumn::kState,
                                 RunColumn::kTarget,  RunColumn::kPath,  RunColumn::kTerminal};
    // A column of its own marks the commands with options, when any is listed.
    bool anyOptions = false;
    for (const RunEntry& entry : entries) anyOptions = anyOptions || entry.options.Any();
    std::vector<std::vector<CStringW>> rows(1);
    for (const RunColumn column : columns) rows[0].push_back(CliText(ColumnHeading(column)));
    if (anyOptions) rows[0].push_back(CliText(velmora::Text{"选项", "Options"}));
    for (const RunEntry& entry : entries) {
        rows.emplace_back();
        for (const RunColumn column : columns) rows.back().push_back(CellText(entry, column));
        if (anyOptions) rows.back().push_back(entry.options.Any() ? CStringW(u"\u2713") : CStringW());
    }
    context.output.Out(AlignedTable(rows));
    context.Out(ListingStatusText(entries, listing.unreadable));
    return CliExitCode::kSuccess;
}

CliExitCode ShowVerb(const CliVerbContext& context) {
    const CStringW& name = context.request.operands[0];
    const std::vector<RunEntry> entries = EntriesNamed(context, name);
    if (entries.empty()) {
        context.Err(
            FillIn(CliText(velmora::Text{"没有运行命令“%s”", "There is no run command \"%s\""}), {name}));
        return CliExitCode::kNotFound;
    }
    CStringW json = u"{\"entries\":[";
    bool failed = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const RunEntry& entry = entries[i];
        RegKeyContents contents;
        const long status = context.store.Contents(entry, &contents);
        const CStringW key = RootName(entry.scope) + context.services.place.KeyPathOf(entry.keyPath);
        if (status != kRegistrySuccess) {
            context.Err(FillIn(
                CliText(velmora::Text{"无法读取 %s：注册表错误 %s", "Cannot read %s: registry error %s"}),
                {key, DecimalText(status)}));
            failed = true;
            continue;
        }
        if (context.request.json) {
            if (json.back() != u'[') json += u',';
            json += u"{\"name\":" + JsonString(entry.command) + u",\"scope\":\"" + ScopeKey(entry.scope) +
                    u"\",\"key\":" + JsonString(key) + u",\"target\":" + JsonString(entry.target) +
                    u",\"options\":" + OptionsJson(entry.options) + u"," + KeyJson(contents) + u"}";
            continue;
        }
        if (i > 0) context.Out(CStringW());
        context.Out(FillIn(CliText(velmora::Text{"%s（%s）", "%s (%s)"}),
                           {entry.command, CliText(ScopeText(entry.scope))}));
        context.Out(key);
        std::vector<std::vector<CStringW>> rows;
        AppendKeyRows(contents, u"  ", rows);
        context.output.Out(AlignedTable(rows));
        AppendOptionLines(context, entry);
    }
    if (context.request.json) context.Out(json + u"]}");
    return failed ? CliExitCode::kFailed : CliExitCode::kSuccess;
}

CliExitCode CheckVerb(const CliVerbContext& context) {
    const RunListing listing = context.store.List();
    const std::vector<RunEntry> entries = Selected(context, listing.entries);
    std::vector<Problem> problems;
    std::optional<ChineseWhile> jsonTexts(std::in_place, context.request.json);
    for (const RunEntry& entry : entries) {
        if (entry.broken)
            problems.push_back(EntryProblem(u"broken", CliText(velmora::Text{"失效", "Broken"}), entry));
        if (entry.shadowed)
            problems.push_back(
                EntryProblem(u"shadowed", CliText(velmora::Text{"被覆盖", "Overridden"}), entry));
        if (entry.command.GetLength() > kCommandNameLimit) {
            problems.push_back(EntryProblem(
                u"name",
                FillIn(CliText(velmora::Text{"名称超过 %s 个字符", "Name longer than %s characters"}),
                       {DecimalText(kCommandNameLimit)}),
                entry));
        } else if (NormalizeKeyPath(entry.keyPath) != entry.keyPath) {
            problems.push_back(
                EntryProblem(u"name",
                             CliText(velmora::Text{"名称两端有空白或多余的反斜杠",
                                                   "Name with blanks or extra backslashes at its ends"}),
                             entry));
        }
        if (!entry.terminalShadowedBy.IsEmpty()) {
            problems.push_back(
                EntryProblem(u"terminal-shadowed",
                             CliText(velmora::Text{"终端中被遮蔽：", "Shadowed in terminals: "}) +
                                 entry.terminalShadowedBy,
                             entry));
            problems.back().winner = entry.terminalShadowedBy;
        }
        if (!entry.runTakenBy.IsEmpty()) {
            problems.push_back(EntryProblem(
                entry.runTakenByAlias ? u"run-alias" : u"run-taken",
                FillIn(CliText(RunTakenText(entry.runTakenByAlias)), {entry.runTakenBy}), entry));
            problems.back().winner = entry.runTakenBy;
        }
    }
    AddLauncherProblems(context, entries, problems);
    AddExplorerProblems(context, problems);
    jsonTexts.reset();
    if (context.request.json) {
        CStringW json = u"{\"problems\":[";
        for (std::size_t i = 0; i < problems.size(); ++i) {
            const Problem& problem = problems[i];
            if (i > 0) json += u',';
            json += u"{\"kind\":\"" + CStringW(problem.kind) + u"\",\"name\":" + JsonString(problem.command) +
                    u",\"scope\":\"" + ScopeKey(problem.scope) + u"\",\"target\":" +
                    JsonString(problem.target) + u",\"text\":" + JsonString(problem.text);
            if (!problem.winner.IsEmpty()) json += u",\"winner\":" + JsonString(problem.winner);
            json += u"}";
        }
        context.Out(json + u"],\"checked\":" + DecimalText(static_cast<long long>(entries.size())) +
                    u",\"unreadable\":" + DecimalText(listing.unreadable) + u"}");
    } else {
        std::vector<std::vector<CStringW>> rows;
        for (const Problem& problem : problems) {
            rows.push_back(
                {problem.text, problem.command, CliText(ScopeText(problem.scope)), problem.target});
        }
        context.output.Out(AlignedTable(rows));
        context.Out(problems.empty()
                        ? FillIn(CliText(velmora::Text{"检查了 %s 个运行命令，没有发现问题",
                                                       "Checked %s run commands and found no problems"}),
                                 {DecimalText(static_cast<long long>(entries.size()))})
                        : FillIn(CliText(velmora::Text{"检查了 %s 个运行命令，发现 %s 个问题",
                                                       "Checked %s run commands and found %s problems"}),
                                 {DecimalText(static_cast<long long>(entries.size())),
                                  DecimalText(static_cast<long long>(problems.size()))}));
    }
    if (listing.unreadable > 0) {
        context.Err(FillIn(CliText(velmora::Text{"%s 个键无法读取", "%s keys could not be read"}),
                           {DecimalText(listing.unreadable)}));
        return CliExitCode::kFailed;
    }
    return problems.empty() ? CliExitCode::kSuccess : CliExitCode::kProblemsFound;
}
