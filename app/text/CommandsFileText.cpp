#include "app/text/CommandsFileText.h"

#include "app/text/OutcomeText.h"
#include "app/text/QuestionText.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::Text;
using velmora::WideFrom936;

CStringW Words(const char* text) { return WideFrom936(text); }

const char* JsonErrorWords(JsonError error) {
    static constexpr Text kBadUtf8{"不是 UTF-8 文本", "the text is not UTF-8"};
    static constexpr Text kUnexpected{"这里不能有这个字符", "a character that cannot stand here"};
    static constexpr Text kUnexpectedEnd{"文件在一个值的中间结束", "the file ends inside a value"};
    static constexpr Text kBadString{
        "字符串中有控制字符、错误的转义或半个代理对",
        "a control character, a bad escape or half a surrogate pair in a string"};
    static constexpr Text kBadNumber{"不是 JSON 的数字", "not a JSON number"};
    static constexpr Text kDuplicateMember{"同一个对象中的字段重复", "a field given twice in one object"};
    static constexpr Text kTooDeep{"嵌套太深", "nested too deeply"};
    static constexpr Text kTrailing{"文档结束后还有内容", "more text after the document"};
    switch (error) {
        case JsonError::kBadUtf8:
            return kBadUtf8;
        case JsonError::kUnexpected:
        case JsonError::kNone:
            return kUnexpected;
        case JsonError::kUnexpectedEnd:
            return kUnexpectedEnd;
        case JsonError::kBadString:
            return kBadString;
        case JsonError::kBadNumber:
            return kBadNumber;
        case JsonError::kDuplicateMember:
            return kDuplicateMember;
        case JsonError::kTooDeep:
            return kTooDeep;
        case JsonError::kTrailing:
            return kTrailing;
    }
    return kUnexpected;
}

const char* FileErrorWords(CommandsFileError error) {
    static constexpr Text kWrongType{"“%s”的类型不对", "\"%s\" has the wrong type"};
    static constexpr Text kMissingField{"缺少“%s”", "\"%s\" is missing"};
    static constexpr Text kUnknownField{"未知的字段“%s”", "unknown field \"%s\""};
    static constexpr Text kUnknownVersion{"未知的版本（只支持 1）", "unknown version (only 1 is known)"};
    static constexpr Text kBadName{"不能作为命令名（为空、两端有空白、超过 25 个字符或含控制字符）",
                                   "cannot be a command name (empty, blanks at its ends, over 25 characters "
                                   "or a control character)"};
    static constexpr Text kDuplicateName{"命令名在同一范围中重复", "a name given twice for the same scope"};
    static constexpr Text kBadScope{"范围应为 user 或 machine", "the scope must be user or machine"};
    static constexpr Text kBadProgram{"程序应为 .exe 文件的完整路径（可以以环境变量开头），不能含引号",
                                      "the program must be the full path of an .exe (it may start with an "
                                      "environment variable), without quotes"};
    static constexpr Text kBadFolder{"文件夹为空或含有 ; \" 或控制字符",
                                     "a folder is empty or holds ; \" or a control character"};
    static constexpr Text kBadEnvironment{"环境变量应为 NAME=VALUE", "a variable must be NAME=VALUE"};
    static constexpr Text kNotForTerminal{
        "“%s”需要能作为文件名的命令名（不带分组，不是设备名）",
        "\"%s\" needs a name that can be a file name (no group, no device name)"};
    switch (error) {
        case CommandsFileError::kWrongType:
            return kWrongType;
        case CommandsFileError::kMissingField:
            return kMissingField;
        case CommandsFileError::kUnknownField:
            return kUnknownField;
        case CommandsFileError::kUnknownVersion:
            return kUnknownVersion;
        case CommandsFileError::kBadName:
            return kBadName;
        case CommandsFileError::kDuplicateName:
            return kDuplicateName;
        case CommandsFileError::kBadScope:
            return kBadScope;
        case CommandsFileError::kBadProgram:
            return kBadProgram;
        case CommandsFileError::kBadFolder:
            return kBadFolder;
        case CommandsFileError::kBadEnvironment:
            return kBadEnvironment;
        case CommandsFileError::kNotForTerminal:
            return kNotForTerminal;
        case CommandsFileError::kNone:
        case CommandsFileError::kJson:
            break;
    }
    return kWrongType;
}

CStringW Scoped(const ApplyStep& step) {
    static constexpr Text kNamed{"%s（%s）", "%s (%s)"};
    return FillIn(Words(kNamed), {step.command.name, Words(ScopeText(step.command.scope))});
}

}  // namespace

CStringW CommandsFileErrorText(const CommandsFileRead& read) {
    static constexpr Text kWhere{"第 %s 行第 %s 列：%s", "line %s, column %s: %s"};
    const CStringW why = read.error == CommandsFileError::kJson
                             ? Words(JsonErrorWords(read.json))
                             : FillIn(Words(FileErrorWords(read.error)), {read.field});
    return FillIn(Words(kWhere), {DecimalText(read.line), DecimalText(read.column), why});
}

CStringW ApplySkipText(ApplySkip skip) {
    static constexpr Text kProgramMissing{"程序不存在，跳过", "the program does not exist here, skipped"};
    static constexpr Text kRequiredMissing{"程序不存在，而文件要求它（required）",
                                           "the program does not exist and the file requires it"};
    static constexpr Text kNeedsAdministrator{"需要管理员权限", "needs administrator rights"};
    switch (skip) {
        case ApplySkip::kProgramMissing:
            return Words(kProgramMissing);
        case ApplySkip::kRequiredMissing:
            return Words(kRequiredMissing);
        case ApplySkip::kNeedsAdministrator:
            return Words(kNeedsAdministrator);
        case ApplySkip::kNone:
            break;
    }
    return CStringW();
}

CStringW ApplyStepLine(const ApplyStep& step) {
    static constexpr Text kLine{"%s %s：%s", "%s %s: %s"};
    const auto line = [&step](const char16_t* mark, const CStringW& detail) {
        return FillIn(Words(kLine), {mark, Scoped(step), detail});
    };
    switch (step.action) {
        case ApplyAction::kInStep:
            return CStringW();
        case ApplyAction::kAdd:
            return line(u"+", step.command.program);
        case ApplyAction::kChange: {
            CStringW fields;
            for (const char16_t* field : step.fields)
                fields += (fields.IsEmpty() ? u"" : u", ") + CStringW(field);
            return line(u"~", fields);
        }
        case ApplyAction::kRemove:
            return line(u"-", step.command.program);
        case ApplyAction::kSkip:
            return line(u"!", ApplySkipText(step.skip));
    }
    return CStringW();
}

CStringW ApplyFailureLine(const ApplyStep& step) {
    static constexpr Text kFailed{"未能应用 %s：%s", "Could not apply %s: %s"};
    return FillIn(Words(kFailed), {Scoped(step), ChangeFailureReason(step.result)});
}
