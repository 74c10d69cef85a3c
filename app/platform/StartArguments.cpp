#include "app/platform/StartArguments.h"

namespace {

bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }

// Where the program's name ends (GetCommandLineW's first argument follows
// simpler rules than the others: no escapes).
std::size_t AfterProgramName(const CStringW& line) {
    std::size_t at = 0;
    if (at < line.size() && line[at] == u'"') {
        const std::size_t close = line.find(u'"', 1);
        return close == CStringW::npos ? line.size() : close + 1;
    }
    while (at < line.size() && !IsBlank(line[at])) ++at;
    return at;
}

// One argument from `at` by the platform's rules; `at` ends past it.
CStringW ReadArgument(const CStringW& line, std::size_t& at) {
    CStringW argument;
    bool quoted = false;
    while (at < line.size()) {
        const char16_t unit = line[at];
        if (unit == u'\\') {
            std::size_t slashes = 0;
            while (at < line.size() && line[at] == u'\\') {
                ++slashes;
                ++at;
            }
            if (at < line.size() && line[at] == u'"') {
                argument.append(slashes / 2, u'\\');
                if (slashes % 2 == 1) {
                    argument += u'"';
                    ++at;
                }
            } else {
                argument.append(slashes, u'\\');
            }
            continue;
        }
        if (unit == u'"') {
            if (quoted && at + 1 < line.size() && line[at + 1] == u'"') {
                argument += u'"';
                at += 2;
                continue;
            }
            quoted = !quoted;
            ++at;
            continue;
        }
        if (IsBlank(unit) && !quoted) break;
        argument += unit;
        ++at;
    }
    return argument;
}

}  // namespace

StartFile StartFileOf(const CStringW& commandLine, const std::function<bool(const CStringW&)>& exists) {
    StartFile start;
    std::size_t at = AfterProgramName(commandLine);
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    if (at >= commandLine.size()) return start;
    start.given = true;
    const std::size_t restAt = at;
    start.path = ReadArgument(commandLine, at);
    if (start.path.empty() || exists(start.path)) return start;
    CStringW rest = commandLine.substr(restAt);
    rest.Trim(u" \t");
    if (rest.find(u'"') == CStringW::npos && rest != start.path && exists(rest)) start.path = rest;
    return start;
}
