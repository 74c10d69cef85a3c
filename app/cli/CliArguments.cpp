#include "app/cli/CliArguments.h"

#include <cstring>

namespace {

using velmora::FillIn;
using velmora::WideFrom936;

enum Flag : unsigned {
    kUser = 1u << 0,
    kMachine = 1u << 1,
    kBroken = 1u << 2,
    kJson = 1u << 3,
    kForce = 1u << 4,
    kDryRun = 1u << 5,
    kPathList = 1u << 6,
    kPathChanges = 1u << 7,  // --add --remove --set --clear
    kTerminal = 1u << 8,     // add --terminal
    kAll = 1u << 9,          // terminal off --all
};

struct VerbRule {
    const char* verb;
    int minOperands;
    int maxOperands;  // -1: any number
    unsigned flags;
    const char* operandNames;  // for the "missing" message
};

const VerbRule kVerbRules[] = {
    {"list", 0, 1, kUser | kMachine | kBroken | kJson, "PATTERN"},
    {"show", 1, 1, kUser | kMachine | kJson, "NAME"},
    {"add", 2, 2, kUser | kMachine | kPathList | kForce | kTerminal, "NAME PROGRAM"},
    {"remove", 1, -1, kUser | kMachine, "NAME..."},
    {"rename", 2, 2, kUser | kMachine | kForce, "OLD NEW"},
    {"set-target", 2, 2, kUser | kMachine | kForce, "NAME PROGRAM"},
    {"path", 1, 1, kUser | kMachine | kPathChanges | kJson, "NAME"},
    {"check", 0, 0, kUser | kMachine | kJson, ""},
    {"export", 1, -1, kUser | kMachine, "FILE [NAME...]"},
    {"import", 1, 1, kUser | kMachine | kDryRun | kForce, "FILE"},
    {"terminal", 1, -1, kUser | kMachine | kAll, "on|off|repair NAME..."},
};

const VerbRule* RuleOf(const CStringW& verb) {
    for (const VerbRule& rule : kVerbRules) {
        if (verb == WideFrom936(rule.verb)) return &rule;
    }
    return nullptr;
}

struct FlagName {
    const char16_t* name;
    Flag flag;
    bool takesValue;
};

const FlagName kFlagNames[] = {
    {u"--user", kUser, false},       {u"--machine", kMachine, false}, {u"--broken", kBroken, false},
    {u"--json", kJson, false},       {u"--force", kForce, false},     {u"--dry-run", kDryRun, false},
    {u"--path", kPathList, true},    {u"--add", kPathChanges, true},  {u"--remove", kPathChanges, true},
    {u"--set", kPathChanges, true},  {u"--clear", kPathChanges, false},
    {u"--terminal", kTerminal, false}, {u"--all", kAll, false},
};

bool IsHelpFlag(const CStringW& arg) { return arg == u"--help" || arg == u"-h" || arg == u"/?"; }

// Stores flag `name` (with its value) in the request; false with `error` set
// when it cannot be taken.
bool TakeFlag(CliRequest& request, const FlagName& flag, const CStringW& value, CStringW& error) {
    switch (flag.flag) {
        case kUser: request.user = true; break;
        case kMachine: request.machine = true; break;
        case kBroken: request.broken = true; break;
        case kJson: request.json = true; break;
        case kForce: request.force = true; break;
        case kDryRun: request.dryRun = true; break;
        case kTerminal: request.terminal = true; break;
        case kAll: request.all = true; break;
        case kPathList:
            request.hasPathList = true;
            request.pathList = value;
            break;
        case kPathChanges: {
            if (request.pathChange != PathChange::kShow) {
                error = WideFrom936("--add、--remove、--set 和 --clear 只能用其中一个");
                return false;
            }
            const CStringW name(flag.name);
            request.pathChange = name == u"--add"      ? PathChange::kAdd
                                 : name == u"--remove" ? PathChange::kRemove
                                 : name == u"--set"    ? PathChange::kSet
                                                       : PathChange::kClear;
            request.pathArgument = value;
            break;
        }
    }
    return true;
}

}  // namespace

const std::vector<const char*>& CliVerbs() {
    static const std::vector<const char*> verbs = [] {
        std::vector<const char*> names;
        for (const VerbRule& rule : kVerbRules) names.push_back(rule.verb);
        return names;
    }();
    return verbs;
}

CliParse ParseCliArguments(const std::vector<CStringW>& args) {
    CliParse parse;
    CliRequest& request = parse.request;
    std::size_t next = 0;
    // Before the verb: only --help and --version.
    while (next < args.size() && (IsHelpFlag(args[next]) || args[next] == u"--version")) {
        if (IsHelpFlag(args[next])) request.help = true;
        else request.version = true;
        ++next;
    }
    if (next == args.size()) {
        if (!request.help && !request.version) parse.error = WideFrom936("缺少命令（例如 list）");
        return parse;
    }
    request.verb = args[next++];
    const VerbRule* rule = RuleOf(request.verb);
    if (rule == nullptr) {
        parse.error = request.verb.size() > 1 && request.verb[0] == u'-'
                          ? FillIn(WideFrom936("未知的选项：%s"), {request.verb})
                          : FillIn(WideFrom936("未知的命令：%s"), {request.verb});
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
        const FlagName* flag = nullptr;
        for (const FlagName& known : kFlagNames) {
            if (name == known.name) flag = &known;
        }
        if (flag == nullptr || (rule->flags & flag->flag) == 0) {
            parse.error = flag == nullptr ? FillIn(WideFrom936("未知的选项：%s"), {name})
                                          : FillIn(WideFrom936("%s 不接受选项 %s"), {request.verb, name});
            return parse;
        }
        CStringW value;
        if (flag->takesValue) {
            if (equals >= 0) {
                value = arg.Mid(equals + 1);
            } else if (next + 1 < args.size()) {
                value = args[++next];
            } else {
                parse.error = FillIn(WideFrom936("选项 %s 缺少参数"), {name});
                return parse;
            }
        } else if (equals >= 0) {
            parse.error = FillIn(WideFrom936("选项 %s 不带参数"), {name});
            return parse;
        }
        if (!TakeFlag(request, *flag, value, parse.error)) return parse;
    }
    if (request.help) return parse;
    if (request.user && request.machine) {
        parse.error = WideFrom936("--user 和 --machine 只能用其中一个");
        return parse;
    }
    const int count = static_cast<int>(request.operands.size());
    if (request.verb == u"terminal" && count > 0) {
        // The action, then the names it acts on.
        const CStringW& action = request.operands[0];
        if (action != u"on" && action != u"off" && action != u"repair") {
            parse.error = FillIn(WideFrom936("terminal 后应为 on、off 或 repair，而不是 %s"), {action});
        } else if (request.all && action != u"off") {
            parse.error = WideFrom936("--all 只用于 terminal off");
        } else if (action == u"repair" ? count > 1 : (count > 1) == request.all) {
            parse.error = action == u"repair" ? FillIn(WideFrom936("terminal repair 的参数太多：%s"), {request.operands[1]})
                          : request.all       ? WideFrom936("terminal off --all 不接受名称")
                                              : FillIn(WideFrom936("terminal %s 缺少参数：NAME..."), {action});
        }
        return parse;
    }
    if (count < rule->minOperands) {
        parse.error = FillIn(WideFrom936("%s 缺少参数：%s"), {request.verb, WideFrom936(rule->operandNames)});
    } else if (rule->maxOperands >= 0 && count > rule->maxOperands) {
        parse.error = FillIn(WideFrom936("%s 的参数太多：%s"), {request.verb, request.operands[rule->maxOperands]});
    }
    return parse;
}
