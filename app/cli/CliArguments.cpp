#include "app/cli/CliArguments.h"

#include "app/cli/CliVerbTable.h"

namespace {

using velmora::FillIn;
using velmora::WideFrom936;

// A flag: the switch it sets, where its value goes (none when it takes
// none), and for the Path changes, which one it is (only one may be given).
struct FlagRow {
    const char16_t* name;
    bool CliRequest::*set;
    CStringW CliRequest::*value;
    PathChange change;
};

const FlagRow kFlags[] = {
    {u"--user", &CliRequest::user, nullptr, PathChange::kShow},
    {u"--machine", &CliRequest::machine, nullptr, PathChange::kShow},
    {u"--broken", &CliRequest::broken, nullptr, PathChange::kShow},
    {u"--json", &CliRequest::json, nullptr, PathChange::kShow},
    {u"--force", &CliRequest::force, nullptr, PathChange::kShow},
    {u"--dry-run", &CliRequest::dryRun, nullptr, PathChange::kShow},
    {u"--terminal", &CliRequest::terminal, nullptr, PathChange::kShow},
    {u"--all", &CliRequest::all, nullptr, PathChange::kShow},
    {u"--prune", &CliRequest::prune, nullptr, PathChange::kShow},
    {u"--pattern", &CliRequest::hasPattern, &CliRequest::pattern, PathChange::kShow},
    {u"--path", &CliRequest::hasPathList, &CliRequest::pathList, PathChange::kShow},
    {u"--add", nullptr, &CliRequest::pathArgument, PathChange::kAdd},
    {u"--remove", nullptr, &CliRequest::pathArgument, PathChange::kRemove},
    {u"--set", nullptr, &CliRequest::pathArgument, PathChange::kSet},
    {u"--clear", nullptr, nullptr, PathChange::kClear},
    {u"--args", &CliRequest::hasArguments, &CliRequest::arguments, PathChange::kShow},
    {u"--cwd", &CliRequest::hasFolder, &CliRequest::folder, PathChange::kShow},
    {u"--env", nullptr, &CliRequest::environmentArgument, PathChange::kShow},
    {u"--admin", &CliRequest::administrator, nullptr, PathChange::kShow},
    {u"--no-admin", &CliRequest::noAdministrator, nullptr, PathChange::kShow},
    {u"--lang", nullptr, &CliRequest::language, PathChange::kShow},
};

// A name given to --lang as narrow text; nothing when it is no ASCII.
std::optional<std::string> AsciiName(const CStringW& name) {
    std::string ascii;
    for (const char16_t unit : name) {
        if (unit < 0x20 || unit > 0x7E) return std::nullopt;
        ascii += static_cast<char>(unit);
    }
    return ascii;
}

// Takes `--lang VALUE` or `--lang=VALUE` at args[*pNext]: true when it is
// one, with *pNext past it and its value (empty when it lacks one) in
// *pValue.
bool TakeLanguageFlag(const std::vector<CStringW>& args, std::size_t* pNext, CStringW* pValue) {
    const CStringW& arg = args[*pNext];
    if (arg.rfind(u"--lang=", 0) == 0) {
        *pValue = arg.substr(7);
    } else if (arg == u"--lang") {
        *pValue = *pNext + 1 < args.size() ? args[++*pNext] : CStringW();
    } else {
        return false;
    }
    ++*pNext;
    return true;
}

const FlagRow* FindFlag(const CStringW& name) {
    for (const FlagRow& flag : kFlags) {
        if (name == flag.name) return &flag;
    }
    return nullptr;
}

bool IsHelpFlag(const CStringW& arg) { return arg == u"--help" || arg == u"-h" || arg == u"/?"; }

// Stores `flag` with its value in the request; false with `error` set when
// it cannot be taken.
bool TakeFlag(CliRequest& request, const FlagRow& flag, const CStringW& value, CStringW& error) {
    if (flag.change != PathChange::kShow) {
        if (request.pathChange != PathChange::kShow) {
            error = WideFrom936(velmora::Text{"--add、--remove、--set 和 --clear 只能用其中一个",
                                              "Only one of --add, --remove, --set and --clear can be used"});
            return false;
        }
        request.pathChange = flag.change;
    }
    if (flag.set != nullptr) request.*flag.set = true;
    if (flag.value != nullptr) request.*flag.value = value;
    // --env is given once for each variable.
    if (flag.value == &CliRequest::environmentArgument) {
        const int equals = value.Find(u'=');
        if (equals <= 0) {
            error = FillIn(
                WideFrom936(velmora::Text{"--env 应为 NAME=VALUE：%s", "--env must be NAME=VALUE: %s"}),
                {value});
            return false;
        }
        request.environment.push_back(value);
    }
    if (flag.value == &CliRequest::language) {
        const std::optional<std::string> name = AsciiName(value);
        if (!name || !velmora::LanguageNamed(*name)) {
            error =
                FillIn(WideFrom936(velmora::Text{"--lang 应为 en 或 zh：%s", "--lang must be en or zh: %s"}),
                       {value});
            return false;
        }
    }
    if (request.administrator && request.noAdministrator) {
        error = WideFrom936(velmora::Text{"--admin 和 --no-admin 只能用其中一个",
                                          "Only one of --admin and --no-admin can be used"});
        return false;
    }
    return true;
}

// The operand counts of `verb`: the refusal, or empty.
CStringW CheckOperandCount(const CliVerbRow& verb, const CliRequest& request) {
    const int count = static_cast<int>(request.operands.size());
    if (count < verb.minOperands)
        return FillIn(WideFrom936(velmora::Text{"%s 缺少参数：%s", "%s is missing arguments: %s"}),
                      {request.verb, WideFrom936(verb.operandNames)});
    if (verb.maxOperands >= 0 && count > verb.maxOperands)
        return FillIn(WideFrom936(velmora::Text{"%s 的参数太多：%s", "Too many arguments for %s: %s"}),
                      {request.verb, request.operands[verb.maxOperands]});
    return CStringW();
}

}  // namespace

CliParse ParseCliArguments(const std::vector<CStringW>& args) {
    CliParse parse;
    CliRequest& request = parse.request;
    std::size_t next = 0;
    // Before the verb: only --help, --version and --lang.
    while (next < args.size()) {
        CStringW language;
        if (TakeLanguageFlag(args, &next, &language)) {
            if (!TakeFlag(request, *FindFlag(u"--lang"), language, parse.error)) return parse;
            continue;
        }
        if (IsHelpFlag(args[next]))
            request.help = true;
        else if (args[next] == u"--version")
            request.version = true;
        else
            break;
        ++next;
    }
    if (next == args.size()) {
        if (!request.help && !request.version)
            parse.error =
                WideFrom936(velmora::Text{"缺少命令（例如 list）", "A verb is missing (for example list)"});
        return parse;
    }
    request.verb = args[next++];
    const CliVerbRow* verb = FindCliVerb(request.verb);
    if (verb == nullptr) {
        parse.error =
            request.verb.size() > 1 && request.verb[0] == u'-'
                ? FillIn(WideFrom936(velmora::Text{"未知的选项：%s", "Unknown option: %s"}), {request.verb})
                : FillIn(WideFrom936(velmora::Text{"未知的命令：%s", "Unknown verb: %s"}), {request.verb});
        return parse;
    }
    bool operandsOnly = false;
    for (; next < args.size(); ++next) {
        const CStringW& arg = args[next];
        if (operandsOnly || arg.empty() || arg[0] != u'-' || arg == u"-") {
            request.operands.push_back(arg);
            continue;
        }
        if (arg == u"--") {
            operandsOnly = true;
            continue;
        }
        if (IsHelpFlag(arg)) {
            request.help = true;
            continue;
        }
        const int equals = arg.Find(u'=');
        const CStringW name = equals < 0 ? arg : arg.Left(equals);
        const FlagRow* flag = FindFlag(name);
        if (flag == nullptr || !TakesFlag(*verb, name)) {
            parse.error =
                flag == nullptr
                    ? FillIn(WideFrom936(velmora::Text{"未知的选项：%s", "Unknown option: %s"}), {name})
                    : FillIn(WideFrom936(velmora::Text{"%s 不接受选项 %s", "%s does not take the option %s"}),
                             {request.verb, name});
            return parse;
        }
        CStringW value;
        if (flag->value != nullptr) {
            if (equals >= 0) {
                value = arg.Mid(equals + 1);
            } else if (next + 1 < args.size()) {
                value = args[++next];
            } else {
                parse.error = FillIn(
                    WideFrom936(velmora::Text{"选项 %s 缺少参数", "The option %s is missing its value"}),
                    {name});
                return parse;
            }
        } else if (equals >= 0) {
            parse.error = FillIn(
                WideFrom936(velmora::Text{"选项 %s 不带参数", "The option %s takes no value"}), {name});
            return parse;
        }
        if (!TakeFlag(request, *flag, value, parse.error)) return parse;
    }
    if (request.help) return parse;
    if (request.user && request.machine) {
        parse.error = WideFrom936(velmora::Text{"--user 和 --machine 只能用其中一个",
                                                "Only one of --user and --machine can be used"});
        return parse;
    }
    parse.error = CheckOperandCount(*verb, request);
    if (parse.error.empty() && verb->checkOperands != nullptr) parse.error = verb->checkOperands(request);
    return parse;
}

velmora::Language CliLanguage(const std::vector<CStringW>& args, std::optional<std::string_view> environment,
                              std::optional<std::string_view> remembered) {
    std::optional<std::string> flag;
    for (std::size_t next = 0; next < args.size() && args[next] != u"--";) {
        CStringW value;
        if (!TakeLanguageFlag(args, &next, &value)) {
            ++next;
            continue;
        }
        flag = AsciiName(value);
    }
    return velmora::ChooseLanguage(flag ? std::optional<std::string_view>(*flag) : std::nullopt, environment,
                                   remembered);
}
