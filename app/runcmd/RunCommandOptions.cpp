#include "app/runcmd/RunCommandOptions.h"

#include <algorithm>

#include "app/registry/RegistryValues.h"
#include "app/runcmd/RunEntries.h"

namespace {

bool IsText(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz; }

CStringW NameOfVariable(const CStringW& assignment) {
    const int equals = assignment.Find(u'=', 1);
    return equals < 0 ? CStringW() : assignment.Left(equals);
}

}  // namespace

RunCommandOptionsChange ChangeSettingAll(const RunCommandOptions& options) {
    RunCommandOptionsChange change;
    if (!options.arguments.IsEmpty()) change.arguments = options.arguments;
    if (!options.folder.IsEmpty()) change.folder = options.folder;
    change.environment = options.environment;
    if (options.administrator) change.administrator = true;
    return change;
}

RunCommandOptionsChange ChangeBetween(const RunCommandOptions& from, const RunCommandOptions& to) {
    RunCommandOptionsChange change;
    if (from.arguments != to.arguments) change.arguments = to.arguments;
    if (from.folder != to.folder) change.folder = to.folder;
    if (from.administrator != to.administrator) change.administrator = to.administrator;
    const auto has = [](const std::vector<CStringW>& list, const CStringW& name) {
        return std::any_of(list.begin(), list.end(), [&name](const CStringW& held) {
            return velmora::CompareNoCase(NameOfVariable(held), name) == 0;
        });
    };
    for (const CStringW& held : from.environment)
        if (!has(to.environment, NameOfVariable(held)))
            change.environment.push_back(NameOfVariable(held) + u"=");
    for (const CStringW& wanted : to.environment)
        if (std::find(from.environment.begin(), from.environment.end(), wanted) == from.environment.end())
            change.environment.push_back(wanted);
    return change;
}

bool ApplyOptionsChange(const RunCommandOptions& options, const RunCommandOptionsChange& change,
                        RunCommandOptions* pChanged) {
    RunCommandOptions changed = options;
    if (change.arguments) changed.arguments = *change.arguments;
    if (change.folder) changed.folder = *change.folder;
    if (change.administrator) changed.administrator = *change.administrator;
    for (const CStringW& assignment : change.environment) {
        const CStringW name = NameOfVariable(assignment);
        if (name.IsEmpty() || assignment.GetAt(0) == u'=') return false;
        const bool removes = assignment.GetLength() == name.GetLength() + 1;
        auto found = std::find_if(changed.environment.begin(), changed.environment.end(),
                                  [&name](const CStringW& held) {
                                      return velmora::CompareNoCase(NameOfVariable(held), name) == 0;
                                  });
        if (found != changed.environment.end()) {
            if (removes)
                changed.environment.erase(found);
            else
                *found = assignment;
        } else if (!removes) {
            changed.environment.push_back(assignment);
        }
    }
    *pChanged = changed;
    return true;
}

std::vector<CStringW> TextsOfMultiString(const std::vector<unsigned char>& data) {
    std::vector<CStringW> texts;
    CStringW text;
    for (std::size_t at = 0; at + 1 < data.size(); at += 2) {
        const char16_t unit = static_cast<char16_t>(data[at] | (data[at + 1] << 8));
        if (unit != 0) {
            text += unit;
        } else if (!text.IsEmpty()) {
            texts.push_back(text);
            text.Empty();
        } else {
            break;  // the empty text that ends the value
        }
    }
    if (!text.IsEmpty()) texts.push_back(text);
    return texts;
}

std::vector<unsigned char> MultiStringBytes(const std::vector<CStringW>& texts) {
    std::vector<unsigned char> bytes;
    for (const CStringW& text : texts) {
        if (text.IsEmpty()) continue;
        const std::vector<unsigned char> one = StringValueBytes(text);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

bool TakeOptionValue(const CStringW& name, std::uint32_t type, const std::vector<unsigned char>& data,
                     RunCommandOptions& options) {
    const auto text = [&] {
        return IsText(type) ? velmora::WideFromRegistryData(data.data(), data.size()) : CStringW();
    };
    if (velmora::CompareNoCase(name, kOptionArgumentsValue) == 0) {
        options.arguments = text();
    } else if (velmora::CompareNoCase(name, kOptionFolderValue) == 0) {
        options.folder = text();
    } else if (velmora::CompareNoCase(name, kOptionEnvironmentValue) == 0) {
        options.environment = type == kRegMultiSz ? TextsOfMultiString(data) : std::vector<CStringW>();
    } else if (velmora::CompareNoCase(name, kOptionAdministratorValue) == 0) {
        options.administrator =
            type == kRegDword && data.size() == 4 && (data[0] | data[1] | data[2] | data[3]) != 0;
    } else {
        return false;
    }
    return true;
}

RunCommandOptions ReadRunCommandOptions(IRegistry& registry, RegKey key) {
    RunCommandOptions options;
    for (const char16_t* name :
         {kOptionArgumentsValue, kOptionFolderValue, kOptionEnvironmentValue, kOptionAdministratorValue}) {
        std::uint32_t type = kRegNone;
        std::vector<unsigned char> data;
        if (registry.ReadValue(key, name, &type, &data) == kRegistrySuccess &&
            data.size() <= kMaxRegistryValueBytes)
            TakeOptionValue(name, type, data, options);
    }
    return options;
}

CStringW ReadCommandTarget(IRegistry& registry, RegKey root, const CStringW& keyPath) {
    const CStringW program = RegReadString(registry, root, keyPath, kOptionProgramValue);
    return !program.IsEmpty() ? program : RegReadString(registry, root, keyPath, CStringW());
}

bool IsOptionsLauncherPath(const CStringW& file) {
    CStringW folded(FolderOfFile(TargetFileOf(file)));
    std::replace(folded.begin(), folded.end(), u'/', u'\\');
    folded.MakeLower();
    const CStringW tail = CStringW(u"\\velmora\\bin\\") + kOptionsFolderName;
    return folded.GetLength() > tail.GetLength() && folded.Right(tail.GetLength()) == tail;
}
