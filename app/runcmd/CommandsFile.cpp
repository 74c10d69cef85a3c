#include "app/runcmd/CommandsFile.h"

#include "app/registry/KeyPath.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/TerminalName.h"

namespace {

using Kind = JsonValue::Kind;

bool HoldsControlCharacter(const CStringW& text) {
    for (const char16_t ch : text) {
        if (ch < 0x20 || ch == 0x7F) return true;
    }
    return false;
}

bool IsLetter(char16_t ch) { return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z'); }

class FileReader {
public:
    FileReader(CommandsFileRead& read, CommandsFileScopes scopes) : m_read(read), m_scopes(scopes) {}

    bool Document(const JsonValue& root) {
        if (root.kind != Kind::kObject) return Fail(CommandsFileError::kWrongType, root, u"");
        for (const JsonMember& member : root.members) {
            if (member.name != u"version" && member.name != u"commands" && member.name != u"$schema")
                return Fail(CommandsFileError::kUnknownField, member, member.name);
        }
        const JsonMember* version = FindMember(root, u"version");
        if (version == nullptr) return Fail(CommandsFileError::kMissingField, root, u"version");
        if (version->value.kind != Kind::kNumber)
            return Fail(CommandsFileError::kWrongType, *version, u"version");
        if (version->value.text != u"1")
            return Fail(CommandsFileError::kUnknownVersion, version->value, u"version");
        if (const JsonMember* schema = FindMember(root, u"$schema");
            schema && schema->value.kind != Kind::kString)
            return Fail(CommandsFileError::kWrongType, *schema, u"$schema");
        const JsonMember* commands = FindMember(root, u"commands");
        if (commands == nullptr) return Fail(CommandsFileError::kMissingField, root, u"commands");
        if (commands->value.kind != Kind::kArray)
            return Fail(CommandsFileError::kWrongType, *commands, u"commands");
        for (const JsonValue& item : commands->value.items) {
            if (!Command(item)) return false;
        }
        return true;
    }

private:
    bool Fail(CommandsFileError error, const JsonValue& at, const CStringW& field) {
        return Fail(error, at.line, at.column, field);
    }
    bool Fail(CommandsFileError error, const JsonMember& at, const CStringW& field) {
        return Fail(error, at.line, at.column, field);
    }
    bool Fail(CommandsFileError error, int line, int column, const CStringW& field) {
        m_read.error = error;
        m_read.line = line;
        m_read.column = column;
        m_read.field = field;
        return false;
    }

    // A member's text, or its absence; false on another type.
    bool Text(const JsonValue& object, const char16_t* name, std::optional<CStringW>& text) {
        const JsonMember* member = FindMember(object, name);
        if (member == nullptr) return true;
        if (member->value.kind != Kind::kString) return Fail(CommandsFileError::kWrongType, *member, name);
        text = member->value.text;
        return true;
    }
    bool Flag(const JsonValue& object, const char16_t* name, bool& flag) {
        const JsonMember* member = FindMember(object, name);
        if (member == nullptr) return true;
        if (member->value.kind != Kind::kBool) return Fail(CommandsFileError::kWrongType, *member, name);
        flag = member->value.boolean;
        return true;
    }
    bool Texts(const JsonValue& object, const char16_t* name, std::vector<CStringW>& texts,
               const JsonValue** pArray) {
        const JsonMember* member = FindMember(object, name);
        if (member == nullptr) return true;
        if (member->value.kind != Kind::kArray) return Fail(CommandsFileError::kWrongType, *member, name);
        for (const JsonValue& item : member->value.items) {
            if (item.kind != Kind::kString) return Fail(CommandsFileError::kWrongType, item, name);
            texts.push_back(item.text);
        }
        *pArray = &member->value;
        return true;
    }
    bool OnlyFields(const JsonValue& object, std::initializer_list<const char16_t*> names) {
        for (const JsonMember& member : object.members) {
            bool known = false;
            for (const char16_t* name : names) known = known || member.name == name;
            if (!known) return Fail(CommandsFileError::kUnknownField, member, member.name);
        }
        return true;
    }

    bool Options(const JsonMember& member, RunCommandOptions& options) {
        const JsonValue& object = member.value;
        if (object.kind != Kind::kObject) return Fail(CommandsFileError::kWrongType, member, u"options");
        if (!OnlyFields(object, {u"arguments", u"workingFolder", u"environment", u"administrator"}))
            return false;
        std::optional<CStringW> arguments, folder;
        const JsonValue* environment = nullptr;
        if (!Text(object, u"arguments", arguments) || !Text(object, u"workingFolder", folder) ||
            !Texts(object, u"environment", options.environment, &environment) ||
            !Flag(object, u"administrator", options.administrator))
            return false;
        options.arguments = arguments.value_or(CStringW());
        options.folder = folder.value_or(CStringW());
        if (HoldsControlCharacter(options.arguments))
            return Fail(CommandsFileError::kWrongType, *FindMember(object, u"arguments"), u"arguments");
        if (HoldsControlCharacter(options.folder) || options.folder.Find(u'"') >= 0)
            return Fail(CommandsFileError::kBadFolder, *FindMember(object, u"workingFolder"),
                        u"workingFolder");
        for (std::size_t i = 0; i < options.environment.size(); ++i) {
            const CStringW& text = options.environment[i];
            if (text.Find(u'=') <= 0 || text.Find(u'=') + 1 == text.GetLength() ||
                HoldsControlCharacter(text))
                return Fail(CommandsFileError::kBadEnvironment, environment->items[i], u"environment");
        }
        return true;
    }

    bool Command(const JsonValue& object) {
        if (object.kind != Kind::kObject) return Fail(CommandsFileError::kWrongType, object, u"commands");
        if (!OnlyFields(object,
                        {u"name", u"scope", u"program", u"path", u"options", u"terminal", u"required"}))
            return false;
        FileCommand command;
        command.line = object.line;
        command.column = object.column;
        std::optional<CStringW> name, scope, program;
        const JsonValue* folders = nullptr;
        if (!Text(object, u"name", name) || !Text(object, u"scope", scope) ||
            !Text(object, u"program", program) || !Texts(object, u"path", command.folders, &folders) ||
            !Flag(object, u"terminal", command.terminal) || !Flag(object, u"required", command.required))
            return false;
        if (!name) return Fail(CommandsFileError::kMissingField, object, u"name");
        if (!program) return Fail(CommandsFileError::kMissingField, object, u"program");
        const JsonValue& nameValue = FindMember(object, u"name")->value;
        command.name = *name;
        if (TrimCommandName(*name) != *name || SplitKeyPath(*name).empty() ||
            name->GetLength() > kCommandNameLimit || HoldsControlCharacter(*name) || name->Find(u'/') >= 0)
            return Fail(CommandsFileError::kBadName, nameValue, u"name");
        command.scope = m_scopes.fallback;
        if (scope) {
            if (*scope != u"user" && *scope != u"machine")
                return Fail(CommandsFileError::kBadScope, FindMember(object, u"scope")->value, u"scope");
            command.scope = *scope == u"user" ? RunScope::kCurrentUser : RunScope::kLocalMachine;
        }
        if (m_scopes.forced) command.scope = *m_scopes.forced;
        command.program = *program;
        if (!IsCommandsFileProgram(command.program))
            return Fail(CommandsFileError::kBadProgram, FindMember(object, u"program")->value, u"program");
        for (std::size_t i = 0; i < command.folders.size(); ++i) {
            CStringW folder = command.folders[i];
            if (folder.Trim().IsEmpty() || folder.Find(u';') >= 0 || folder.Find(u'"') >= 0 ||
                HoldsControlCharacter(folder))
                return Fail(CommandsFileError::kBadFolder, folders->items[i], u"path");
        }
        if (const JsonMember* options = FindMember(object, u"options")) {
            if (!Options(*options, command.options)) return false;
        }
        const CStringW keyPath = KeyPathOfCommand(command.name);
        if (command.terminal || command.options.Any()) {
            if (CheckTerminalName(CommandOfKeyPath(keyPath)) != TerminalNameCheck::kFits) {
                const JsonMember* why = FindMember(object, command.terminal ? u"terminal" : u"options");
                return Fail(CommandsFileError::kNotForTerminal, nameValue.line, nameValue.column,
                            why != nullptr ? why->name : CStringW(u"name"));
            }
        }
        for (const FileCommand& other : m_read.commands) {
            if (other.scope == command.scope && KeyPathOfCommand(other.name).CompareNoCase(keyPath) == 0)
                return Fail(CommandsFileError::kDuplicateName, nameValue, u"name");
        }
        m_read.commands.push_back(std::move(command));
        return true;
    }

    CommandsFileRead& m_read;
    CommandsFileScopes m_scopes;
};

}  // namespace

bool IsCommandsFileProgram(const CStringW& program) {
    if (!HasExeExtension(program) || program.Find(u'"') >= 0 || HoldsControlCharacter(program) ||
        program.Find(u';') >= 0)
        return false;
    const bool drive =
        program.GetLength() > 3 && IsLetter(program[0]) && program[1] == u':' && program[2] == u'\\';
    const bool share = program.GetLength() > 2 && program[0] == u'\\' && program[1] == u'\\';
    const bool variable = program.GetLength() > 2 && program[0] == u'%' && program.Find(u'%', 2) > 1;
    return drive || share || variable;
}

CommandsFileRead ReadCommandsFile(const unsigned char* data, std::size_t size, CommandsFileScopes scopes) {
    CommandsFileRead read;
    const JsonRead json = ReadJson(data, size);
    if (json.error != JsonError::kNone) {
        read.error = CommandsFileError::kJson;
        read.json = json.error;
        read.line = json.line;
        read.column = json.column;
        return read;
    }
    if (!FileReader(read, scopes).Document(json.root)) read.commands.clear();
    return read;
}
