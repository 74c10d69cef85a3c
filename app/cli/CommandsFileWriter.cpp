#include "app/cli/CommandsFileWriter.h"

#include <algorithm>

#include "app/cli/CliVerbContext.h"
#include "app/cli/JsonText.h"
#include "app/runcmd/CommandsFile.h"
#include "app/runcmd/PathList.h"

namespace {

CStringW StringList(const std::vector<CStringW>& texts) {
    CStringW list = u"[";
    for (std::size_t i = 0; i < texts.size(); ++i) list += (i > 0 ? u", " : u"") + JsonString(texts[i]);
    return list + u"]";
}

CStringW CommandText(const RunEntry& entry) {
    const CStringW in = u"      ";
    CStringW text = u"    {\n" + in + u"\"name\": " + JsonString(entry.command) + u",\n" + in +
                    u"\"scope\": \"" + ScopeKey(entry.scope) + u"\",\n" + in + u"\"program\": " +
                    JsonString(entry.target);
    const std::vector<CStringW> folders = SplitPathList(entry.path);
    if (!folders.empty()) text += u",\n" + in + u"\"path\": " + StringList(folders);
    const RunCommandOptions& options = entry.options;
    if (options.Any()) {
        std::vector<CStringW> fields;
        if (!options.arguments.IsEmpty())
            fields.push_back(u"\"arguments\": " + JsonString(options.arguments));
        if (!options.folder.IsEmpty()) fields.push_back(u"\"workingFolder\": " + JsonString(options.folder));
        if (!options.environment.empty())
            fields.push_back(u"\"environment\": " + StringList(options.environment));
        if (options.administrator) fields.push_back(u"\"administrator\": true");
        text += u",\n" + in + u"\"options\": {";
        for (std::size_t i = 0; i < fields.size(); ++i)
            text += (i > 0 ? u",\n" : u"\n") + in + u"  " + fields[i];
        text += u"\n" + in + u"}";
    }
    if (entry.terminal) text += u",\n" + in + u"\"terminal\": true";
    return text + u"\n    }";
}

}  // namespace

CStringW CommandsFileOf(std::vector<RunEntry> entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const RunEntry& a, const RunEntry& b) {
        if (a.scope != b.scope) return a.scope == RunScope::kLocalMachine;
        return a.command.CompareNoCase(b.command) < 0;
    });
    CStringW text =
        u"{\n  \"version\": " + velmora::DecimalText(kCommandsFileVersion) + u",\n  \"commands\": [";
    for (std::size_t i = 0; i < entries.size(); ++i)
        text += (i > 0 ? u",\n" : u"\n") + CommandText(entries[i]);
    return text + (entries.empty() ? u"]\n}\n" : u"\n  ]\n}\n");
}
