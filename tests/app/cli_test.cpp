// The console program without a console: its arguments, its JSON and table
// text, and every verb over the store with a registry in memory. Each verb's
// refusals are checked with their exit codes and that nothing was written.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/CliArguments.h"
#include "app/cli/CliVerbs.h"
#include "app/cli/JsonText.h"
#include "app/cli/TextTable.h"
#include "app/runcmd/CommandsFile.h"
#include "base/language.h"
#include "app/runcmd/RunCommandStore.h"
#include "fixed_prompts.h"
#include "memory_launcher_files.h"
#include "memory_registry.h"
#include "memory_shortcut_files.h"

namespace {

using memreg::MemoryRegistry;

// The arguments of a row: GBK pieces between '|'.
std::vector<CStringW> Args(const std::string& line) {
    std::vector<CStringW> args;
    if (line.empty()) return args;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find('|', start);
        args.push_back(W(line.substr(start, end == std::string::npos ? std::string::npos : end - start)));
        if (end == std::string::npos) return args;
        start = end + 1;
    }
}

TEST(CliArgumentsTest, ParsesOrRefusesEachForm) {
    struct Row {
        const char* args;
        const char* error;  // a part of the refusal, "" when accepted
        const char* verb;
        std::size_t operands;
    } const rows[] = {
        {"", "缺少命令", "", 0},
        {"--help", "", "", 0},
        {"--version", "", "", 0},
        {"frob", "未知的命令：frob", "frob", 0},
        {"--frob", "未知的选项：--frob", "--frob", 0},
        {"list|--frob", "未知的选项：--frob", "list", 0},
        {"list|--force", "list 不接受选项 --force", "list", 0},
        {"list|a|b", "参数太多：b", "list", 2},
        {"list|--user|--machine", "只能用其中一个", "list", 0},
        {"add|x", "add 缺少参数：NAME PROGRAM", "add", 1},
        {"add|x|y|--path", "选项 --path 缺少参数", "add", 2},
        {"add|x|y|--force=1", "选项 --force 不带参数", "add", 2},
        {"add|--help", "", "add", 0},
        {"add|x|C:\\a b\\x.exe|--path=C:\\1;C:\\2", "", "add", 2},
        {"remove|a|b|c", "", "remove", 3},
        {"remove|--|-dash", "", "remove", 1},
        {"path|ed|--add|C:\\x|--clear", "只能用其中一个", "path", 1},
        {"import|f.reg|--dry-run|--force", "", "import", 1},
        {"check|x", "参数太多", "check", 1},
        {"add|x|y|--args|-A %*|--cwd=C:\\w|--env|A=1|--env=B=|--admin", "", "add", 2},
        {"set|x", "set 缺少选项", "set", 1},
        {"set|x|--args=", "", "set", 1},
        {"set|x|--env|A", "--env 应为 NAME=VALUE：A", "set", 1},
        {"set|x|--env|=1", "--env 应为 NAME=VALUE", "set", 1},
        {"set|x|--admin|--no-admin", "只能用其中一个", "set", 1},
        {"add|x|y|--no-admin", "add 不接受选项 --no-admin", "add", 2},
        // --lang goes with every verb, before it or after it.
        {"--lang|en|list", "", "list", 0},
        {"list|--lang=zh|--json", "", "list", 0},
        {"remove|a|--lang|en-US", "", "remove", 1},
        {"list|--lang|fr", "--lang 应为 en 或 zh：fr", "list", 0},
        {"--lang=de|list", "--lang 应为 en 或 zh：de", "", 0},
        {"list|--lang", "选项 --lang 缺少参数", "list", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const CliParse parse = ParseCliArguments(Args(row.args));
        if (*row.error == '\0') EXPECT_TRUE(parse.error.empty()) << N(parse.error);
        else EXPECT_NE(N(parse.error).find(row.error), std::string::npos) << N(parse.error);
        EXPECT_EQ(N(parse.request.verb), row.verb);
        EXPECT_EQ(parse.request.operands.size(), row.operands);
    }
    const CliRequest add = ParseCliArguments(Args("add|x|C:\\a b\\x.exe|--path=C:\\1;C:\\2|--user")).request;
    EXPECT_TRUE(add.hasPathList && add.user && !add.machine);
    EXPECT_EQ(N(add.pathList), "C:\\1;C:\\2");
    const CliRequest options =
        ParseCliArguments(Args("add|x|y|--args|-A %*|--cwd=C:\\w|--env|A=1|--env=B=|--admin")).request;
    EXPECT_TRUE(options.hasArguments && options.hasFolder && options.administrator && !options.noAdministrator);
    EXPECT_EQ(N(options.arguments), "-A %*");
    EXPECT_EQ(options.environment, (std::vector<CStringW>{u"A=1", u"B="}));
    const CliRequest path = ParseCliArguments(Args("path|ed|--remove|C:\\x")).request;
    EXPECT_EQ(path.pathChange, PathChange::kRemove);
    EXPECT_EQ(N(path.pathArgument), "C:\\x");
}

TEST(CliArgumentsTest, TheLanguageIsTheFlagsOverTheEnvironmentsOverTheRememberedOne) {
    using velmora::Language;
    struct Row {
        const char* args;
        std::optional<std::string_view> environment, remembered;
        Language expected;
    } const rows[] = {
        {"list", std::nullopt, std::nullopt, Language::kChinese},
        {"list", std::nullopt, "en", Language::kEnglish},
        {"list", "zh", "en", Language::kChinese},
        {"list|--lang|en", "zh", "zh", Language::kEnglish},
        {"--lang=en|list", std::nullopt, std::nullopt, Language::kEnglish},
        {"--lang|en|list|--lang|zh", std::nullopt, "en", Language::kChinese},  // the last one given
        {"list|--lang|fr", "en", std::nullopt, Language::kEnglish},  // refused later, in English
        {"remove|--|--lang|en", std::nullopt, std::nullopt, Language::kChinese},  // an operand
    };
    for (const Row& row : rows)
        EXPECT_EQ(CliLanguage(Args(row.args), row.environment, row.remembered), row.expected) << row.args;
}

TEST(CliTextTest, JsonStringsAndUtf8) {
    struct Row {
        std::u16string text;
        std::u16string json;
        std::string utf8;
    } const rows[] = {
        {u"plain", u"\"plain\"", "plain"},
        {u"a\"b\\c", u"\"a\\\"b\\\\c\"", "a\"b\\c"},
        {u"\n\r\t\b\f", u"\"\\n\\r\\t\\b\\f\"", "\n\r\t\b\f"},
        {std::u16string(u"\x01\x1f\x7f", 3), u"\"\\u0001\\u001f\\u007f\"", "\x01\x1f\x7f"},
        {u"中文 Jörg", u"\"中文 Jörg\"", "\xE4\xB8\xAD\xE6\x96\x87 J\xC3\xB6rg"},
        {u"\U0001F600", u"\"\U0001F600\"", "\xF0\x9F\x98\x80"},
        // Lone surrogates: escaped in JSON, U+FFFD in plain UTF-8.
        {u"a\xD800z", u"\"a\\ud800z\"", "a\xEF\xBF\xBDz"},
        {u"\xDC00\xD83D", u"\"\\udc00\\ud83d\"", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {u"", u"\"\"", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(std::u16string(JsonString(CStringW(row.text))), row.json);
        EXPECT_EQ(Utf8FromUtf16(CStringW(row.text)), row.utf8);
    }
}

// Each refusal of a commands file with where it is: '@' in a row marks the
// expected line and column and is taken out before the text is read.
TEST(CommandsFileTest, RefusesWithLineAndColumn) {
    using E = CommandsFileError;
    using J = JsonError;
    const std::string c = "{\"version\":1,\"commands\":[\n";  // commands from line 2
    const std::string ed = "\"name\":\"ed\",\"program\":\"C:\\\\ed.exe\"";
    struct Row {
        std::string text;
        E error;
        J json;
        const char* field;
    } const rows[] = {
        {"@", E::kJson, J::kUnexpectedEnd, ""},
        {"\xEF\xBB\xBF{\"version\":1,\"commands\":[]@", E::kJson, J::kUnexpectedEnd, ""},
        {"{\"version\":1,\n \"commands\":[],@}", E::kJson, J::kUnexpected, ""},
        {"{\"version\":1,\"commands\":[]} @x", E::kJson, J::kTrailing, ""},
        {"{\"version\":1,@\"version\":1}", E::kJson, J::kDuplicateMember, ""},
        {"{\"version\":@01}", E::kJson, J::kBadNumber, ""},
        {"{\"version\":@-}", E::kJson, J::kBadNumber, ""},
        {"{\"a\":\"\\ud800@\"}", E::kJson, J::kBadString, ""},
        {"{\"a\":\"x@\ty\"}", E::kJson, J::kBadString, ""},
        {"{\"a\":\"\\@q\"}", E::kJson, J::kBadString, ""},
        {"{\"a\":tru@x}", E::kJson, J::kUnexpected, ""},
        {"{\"a\":\"\xC3\xA9\",\n @\xC3\x28}", E::kJson, J::kBadUtf8, ""},
        {"{\"a\":\"\xE4\xB8\xAD\xE6\x96\x87\",@x}", E::kJson, J::kUnexpected, ""},
        {"{\"a\":\"@\xED\xA0\x80\"}", E::kJson, J::kBadUtf8, ""},
        {std::string(32, '[') + "@[]" + std::string(32, ']'), E::kJson, J::kTooDeep, ""},
        {"@[]", E::kWrongType, J::kNone, ""},
        {"@{\"commands\":[]}", E::kMissingField, J::kNone, "version"},
        {"{@\"version\":\"1\",\"commands\":[]}", E::kWrongType, J::kNone, "version"},
        {"{\"version\":@2,\"commands\":[]}", E::kUnknownVersion, J::kNone, "version"},
        {"{\"version\":@1.0,\"commands\":[]}", E::kUnknownVersion, J::kNone, "version"},
        {"{\"version\":1,\"commands\":[],@\"x\":0}", E::kUnknownField, J::kNone, "x"},
        {"@{\"version\":1}", E::kMissingField, J::kNone, "commands"},
        {"{\"version\":1,@\"commands\":{}}", E::kWrongType, J::kNone, "commands"},
        {c + " @7]}", E::kWrongType, J::kNone, "commands"},
        {c + "@{\"program\":\"C:\\\\ed.exe\"}]}", E::kMissingField, J::kNone, "name"},
        {c + "@{\"name\":\"ed\"}]}", E::kMissingField, J::kNone, "program"},
        {c + "{" + ed + ",@\"colour\":1}]}", E::kUnknownField, J::kNone, "colour"},
        {c + "{\"name\":@\" ed\",\"program\":\"C:\\\\ed.exe\"}]}", E::kBadName, J::kNone, "name"},
        {c + "{\"name\":@\"\",\"program\":\"C:\\\\ed.exe\"}]}", E::kBadName, J::kNone, "name"},
        {c + "{\"name\":@\"\\\\\",\"program\":\"C:\\\\ed.exe\"}]}", E::kBadName, J::kNone, "name"},
        {c + "{\"name\":@\"abcdefghijklmnopqrstuvwxyz\",\"program\":\"C:\\\\ed.exe\"}]}", E::kBadName, J::kNone,
         "name"},
        {c + "{\"name\":@\"a\\nb\",\"program\":\"C:\\\\ed.exe\"}]}", E::kBadName, J::kNone, "name"},
        {c + "{" + ed + ",\"scope\":@\"all\"}]}", E::kBadScope, J::kNone, "scope"},
        {c + "{" + ed + ",@\"scope\":1}]}", E::kWrongType, J::kNone, "scope"},
        {c + "{\"name\":\"ed\",\"program\":@\"ed.exe\"}]}", E::kBadProgram, J::kNone, "program"},
        {c + "{\"name\":\"ed\",\"program\":@\"C:\\\\ed.txt\"}]}", E::kBadProgram, J::kNone, "program"},
        {c + "{\"name\":\"ed\",\"program\":@\"\\\"C:\\\\ed.exe\\\"\"}]}", E::kBadProgram, J::kNone, "program"},
        {c + "{\"name\":\"ed\",\"program\":@\"%%\\\\ed.exe\"}]}", E::kBadProgram, J::kNone, "program"},
        {c + "{" + ed + ",\"path\":[\"C:\\\\A\",@\"C:\\\\a;b\"]}]}", E::kBadFolder, J::kNone, "path"},
        {c + "{" + ed + ",\"path\":[@\" \"]}]}", E::kBadFolder, J::kNone, "path"},
        {c + "{" + ed + ",\"path\":[@1]}]}", E::kWrongType, J::kNone, "path"},
        {c + "{" + ed + ",@\"path\":\"C:\\\\A\"}]}", E::kWrongType, J::kNone, "path"},
        {c + "{" + ed + ",\"options\":{\"environment\":[@\"A\"]}}]}", E::kBadEnvironment, J::kNone, "environment"},
        {c + "{" + ed + ",\"options\":{\"environment\":[\"A=1\",@\"B=\"]}}]}", E::kBadEnvironment, J::kNone,
         "environment"},
        {c + "{" + ed + ",\"options\":{@\"admin\":true}}]}", E::kUnknownField, J::kNone, "admin"},
        {c + "{" + ed + ",\"options\":{@\"administrator\":1}}]}", E::kWrongType, J::kNone, "administrator"},
        {c + "{" + ed + ",\"options\":{@\"workingFolder\":\"C:\\\\\\\"W\"}}]}", E::kBadFolder, J::kNone,
         "workingFolder"},
        {c + "{" + ed + ",@\"terminal\":\"yes\"}]}", E::kWrongType, J::kNone, "terminal"},
        {c + "{\"name\":@\"tools\\\\ed\",\"program\":\"C:\\\\ed.exe\",\"terminal\":true}]}", E::kNotForTerminal,
         J::kNone, "terminal"},
        {c + "{\"name\":@\"con\",\"program\":\"C:\\\\ed.exe\",\"options\":{\"arguments\":\"-x\"}}]}",
         E::kNotForTerminal, J::kNone, "options"},
        {c + "{" + ed + "},\n {\"name\":@\"ED \",\"program\":\"C:\\\\ed.exe\"}]}", E::kBadName, J::kNone, "name"},
        {c + "{" + ed + "},\n {\"name\":@\"ED\",\"program\":\"C:\\\\ed2.exe\"}]}", E::kDuplicateName, J::kNone,
         "name"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string text = row.text;
        int line = 1, column = 1;
        const std::size_t at = text.find('@');
        ASSERT_NE(at, std::string::npos);
        // Columns count characters; a byte-order mark is none.
        const std::size_t first = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
        for (std::size_t i = first; i < at; ++i) {
            const unsigned char ch = static_cast<unsigned char>(text[i]);
            if (ch == '\n') line++, column = 1;
            else if ((ch & 0xC0) != 0x80) ++column;
        }
        text.erase(at, 1);
        const CommandsFileRead read =
            ReadCommandsFile(reinterpret_cast<const unsigned char*>(text.data()), text.size(), {});
        EXPECT_EQ(read.error, row.error);
        EXPECT_EQ(read.json, row.json);
        EXPECT_EQ(read.line, line);
        EXPECT_EQ(read.column, column);
        EXPECT_EQ(N(read.field), row.field);
        EXPECT_TRUE(read.commands.empty());
    }
    // A command with every field; the same name in the other scope; --user puts both in one scope.
    const std::string whole = c +
                              "{\"name\":\"tools\\\\ed\",\"scope\":\"machine\",\"program\":\"%ProgramFiles%\\\\ed.exe\","
                              "\"path\":[\"C:\\\\A\",\"%TEMP%\"],\"required\":true},\n"
                              "{\"name\":\"ed\",\"scope\":\"user\",\"program\":\"\\\\\\\\srv\\\\ed.exe\",\"options\":{"
                              "\"arguments\":\"-x %*\",\"workingFolder\":\"C:\\\\W\",\"environment\":[\"A=1\"],"
                              "\"administrator\":true},\"terminal\":true},\n"
                              "{\"name\":\"ed\",\"program\":\"C:\\\\ed.exe\"}]}";
    const auto* bytes = reinterpret_cast<const unsigned char*>(whole.data());
    const CommandsFileRead read = ReadCommandsFile(bytes, whole.size(), {RunScope::kLocalMachine, std::nullopt});
    ASSERT_EQ(read.error, E::kNone) << read.line << ":" << read.column;
    ASSERT_EQ(read.commands.size(), 3u);
    EXPECT_EQ(N(read.commands[0].program), "%ProgramFiles%\\ed.exe");
    EXPECT_EQ(read.commands[0].folders, (std::vector<CStringW>{u"C:\\A", u"%TEMP%"}));
    EXPECT_TRUE(read.commands[0].required);
    EXPECT_EQ(read.commands[1].scope, RunScope::kCurrentUser);
    EXPECT_EQ(read.commands[1].options, (RunCommandOptions{u"-x %*", u"C:\\W", {u"A=1"}, true}));
    EXPECT_TRUE(read.commands[1].terminal);
    EXPECT_EQ(read.commands[2].scope, RunScope::kLocalMachine);
    const CommandsFileRead forced = ReadCommandsFile(bytes, whole.size(), {RunScope::kLocalMachine, RunScope::kCurrentUser});
    EXPECT_EQ(forced.error, E::kDuplicateName);
    EXPECT_EQ(forced.line, 4);
}

TEST(CliTextTest, TableColumnsAlignByDisplayWidth) {
    EXPECT_EQ(DisplayWidth(u"abc"), 3);
    EXPECT_EQ(DisplayWidth(u"中文"), 4);
    EXPECT_EQ(DisplayWidth(u"ＡＢ"), 4);
    EXPECT_EQ(DisplayWidth(u"\U0001F600x"), 3);
    EXPECT_EQ(std::u16string(AlignedTable({{u"命令", u"x"}, {u"ed", u"y"}, {u"a"}})),
              u"命令  x\ned    y\na\n");
}

// Answers the store's file and program questions from a map.
class CliVerbTest : public testing::Test {
protected:
    void SetUp() override {
        memreg::PutSampleRunCommands(reg);
        services.registry = &reg;
        services.place = RunCommandPlace{{memreg::kRoot, memreg::kUserRoot}, u"AP"};
        services.targetExists = [](const CStringW& file) { return N(file).rfind("C:\\Gone\\", 0) != 0; };
        services.fullPath = [](const CStringW& path) -> CStringW {
            if (N(path).rfind("C:\\", 0) == 0) return path;
            return W("C:\\Work\\") + path;
        };
        services.programExists = [](const CStringW& path) {
            return N(path).rfind("C:\\Gone\\", 0) != 0 && N(path).rfind("C:\\Missing\\", 0) != 0;
        };
        services.readFile = [this](const CStringW& file, std::vector<unsigned char>* pData) {
            const auto it = files.find(N(file));
            if (it == files.end()) return false;
            *pData = it->second;
            return true;
        };
        services.writeFile = [this](const CStringW& file, const std::vector<unsigned char>& data) {
            files[N(file)] = data;
            return true;
        };
        services.listFolder = [this](const CStringW& folder, std::vector<CStringW>* pNames) {
            const auto it = folders.find(N(folder));
            if (it == folders.end()) return false;
            for (const std::string& name : it->second) pNames->push_back(W(name));
            return true;
        };
        folders["C:\\Tools"] = {"ed.exe", "new.exe", "readme.txt", "X.EXE", "abcdefghijklmnopqrstuvwxyz.exe"};
        folders["C:\\Other"] = {"shared.exe"};
        folders["C:\\Empty"] = {};
        files["C:\\bad.json"] = Bytes("{\"version\":1,\n\"commands\":[{\"name\":\"a\"}]}");
        files["C:\\one.json"] = Bytes("{\"version\":1,\"commands\":[{\"name\":\"one\",\"program\":\"C:\\\\Tools\\\\one.exe\"}]}");
        services.version = u"2.3.4.5";  // the test's own: --version prints what it is given
        launcherFiles.PutProgram("C:\\Tools\\ed.exe", 3);
        services.launcherFiles = &launcherFiles;
        shortcutFiles.programs = {"C:\\V\\Velmora.exe"};
        services.explorer = &explorer;
        services.windowProgram = W("C:\\V\\Velmora.exe");
    }

    struct Captured final : CliOutput {
        CStringW out, err;
        void Out(const CStringW& text) override { out += text; }
        void Err(const CStringW& text) override { err += text; }
    };

    static std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

    CliExitCode Run(const std::string& args, bool elevated = true) {
        services.elevated = elevated;
        output = Captured();
        return RunCli(Args(args), services, output);
    }

    MemoryRegistry reg;
    CliServices services;
    std::map<std::string, std::vector<unsigned char>> files;
    std::map<std::string, std::vector<std::string>> folders;
    MemoryLauncherFiles launcherFiles;
    MemoryShortcutFiles shortcutFiles;
    ExplorerIntegration explorer{reg, memreg::kUserRoot, shortcutFiles};
    Captured output;
};

TEST_F(CliVerbTest, EachOutcomeHasItsExitCodeAndMessage) {
    files["C:\\bad.reg"] = {'R', 'E', 'G', 'E', 'D', 'I', 'T', '4', '\r', '\n', '[', 'H'};
    struct Row {
        const char* args;
        bool elevated;
        CliExitCode code;
        const char* out;  // a part of stdout ("" for any)
        const char* err;  // a part of stderr ("" for none at all)
        bool writes;
    } const rows[] = {
        {"", true, CliExitCode::kUsage, "", "缺少命令", false},
        {"frob", true, CliExitCode::kUsage, "", "未知的命令：frob", false},
        {"list|--frob", true, CliExitCode::kUsage, "", "未知的选项：--frob", false},
        {"add|x", true, CliExitCode::kUsage, "", "缺少参数", false},
        {"--help", false, CliExitCode::kSuccess, "退出码", "", false},
        {"add|--help", false, CliExitCode::kSuccess, "velmora add NAME PROGRAM", "", false},
        {"--version", false, CliExitCode::kSuccess, "Velmora 2.3.4.5", "", false},
        {"list|--machine", false, CliExitCode::kSuccess, "shared", "", false},
        {"add|abcdefghijklmnopqrstuvwxyz|C:\\Tools\\x.exe", true, CliExitCode::kUsage, "", "太长：最多 25 个字符",
         false},
        {"add| |C:\\Tools\\x.exe", true, CliExitCode::kUsage, "", "命令名不能为空", false},
        {"add|x|C:\\Missing\\x.exe", true, CliExitCode::kNotFound, "", "找不到程序：C:\\Missing\\x.exe", false},
        {"add|x|C:\\Tools\\x.txt", true, CliExitCode::kUsage, "", "只能注册程序", false},
        {"add|ed|C:\\Tools\\other.exe", true, CliExitCode::kExists, "", "已指向：C:\\Tools\\ed.exe", false},
        {"add|ed|C:\\Tools\\other.exe|--force", true, CliExitCode::kSuccess, "运行命令添加成功", "", true},
        {"add|new|C:\\Tools\\new.exe|--machine", false, CliExitCode::kNeedsAdmin, "", "需要管理员权限", false},
        {"add|new|C:\\Tools\\new.exe", false, CliExitCode::kSuccess, "当前用户", "", true},
        {"remove|ed|nothere", true, CliExitCode::kNotFound, "", "没有运行命令“nothere”", false},
        {"remove|ed", false, CliExitCode::kNotFound, "", "可加 --machine", false},
        {"remove|tools\\old|ED", true, CliExitCode::kSuccess, "已删除", "", true},
        {"rename|ed|shared", true, CliExitCode::kExists, "", "--force", false},
        {"rename|ed|shared|--force", true, CliExitCode::kSuccess, "重命名为", "", true},
        {"rename|ed|editor", true, CliExitCode::kSuccess, "已将“ed”重命名为“editor”", "", true},
        {"rename|ed|ed", true, CliExitCode::kSuccess, "没有变化", "", false},
        {"set-target|ed|C:\\Missing\\x.exe", true, CliExitCode::kNotFound, "", "找不到程序", false},
        // Changing the target is what the verb is for: no --force needed.
        {"set-target|ed|C:\\Tools\\ed2.exe", true, CliExitCode::kSuccess, "的目标改为：C:\\Tools\\ed2.exe", "", true},
        {"set-target|ed|ed2.exe|--force", true, CliExitCode::kSuccess, "C:\\Work\\ed2.exe", "", true},
        {"path|ed", true, CliExitCode::kSuccess, "C:\\Tools\n", "", false},
        {"path|ed|--remove|C:\\Nope", true, CliExitCode::kNotFound, "", "附加路径中没有", false},
        {"path|ed|--add|c:\\tools\\", true, CliExitCode::kSuccess, "附加路径中已有", "", false},
        {"path|ed|--add| ", true, CliExitCode::kUsage, "", "文件夹不能为空", false},
        {"path|ed|--add|C:\\Bin", true, CliExitCode::kSuccess, "", "", true},
        {"path|ed|--clear", false, CliExitCode::kNotFound, "", "", false},
        {"path|ed|--clear|--machine", false, CliExitCode::kNeedsAdmin, "", "", false},
        {"check", true, CliExitCode::kProblemsFound, "发现 2 个问题", "", false},
        {"check|--user", true, CliExitCode::kSuccess, "没有发现问题", "", false},
        {"show|nothere", true, CliExitCode::kNotFound, "", "没有运行命令", false},
        {"import|C:\\none.reg", true, CliExitCode::kNotFound, "", "无法读取文件", false},
        {"import|C:\\bad.reg", true, CliExitCode::kFailed, "", "文件已损坏", false},
        {"export|C:\\out.reg|nothere", true, CliExitCode::kNotFound, "", "未导出", false},
        {"terminal|frob|ed", true, CliExitCode::kUsage, "", "on、off 或 repair", false},
        {"terminal|off", true, CliExitCode::kUsage, "", "terminal off 缺少参数", false},
        {"terminal|on|ed|--all", true, CliExitCode::kUsage, "", "--all 只用于", false},
        {"terminal|off|ed|--all", true, CliExitCode::kUsage, "", "不接受名称", false},
        {"terminal|repair|ed", true, CliExitCode::kUsage, "", "参数太多", false},
        {"terminal|on|ed", true, CliExitCode::kSuccess, "“ed”可在终端中使用（本机）", "", true},
        {"terminal|on|ed", false, CliExitCode::kNotFound, "", "可加 --machine", false},
        {"terminal|on|ed|--machine", false, CliExitCode::kNeedsAdmin, "", "需要管理员权限", false},
        {"terminal|on|tools\\old", true, CliExitCode::kUsage, "", "带有分组", false},
        {"terminal|on|shared|--user", true, CliExitCode::kUsage, "", "不是可以启动的程序", false},
        {"terminal|off|ed", true, CliExitCode::kSuccess, "本来就不在终端中可用", "", false},
        {"terminal|repair", true, CliExitCode::kSuccess, "没有需要修复的问题", "", false},
        {"add|con|C:\\Tools\\ed.exe|--terminal", true, CliExitCode::kUsage, "", "设备名", false},
        {"add|x|C:\\Tools\\x.exe|--terminal", true, CliExitCode::kUsage, "", "不能在终端中使用", false},
        {"add|t|C:\\Tools\\ed.exe|--terminal", true, CliExitCode::kSuccess, "“t”可在终端中使用", "", true},
        {"explorer|frob", false, CliExitCode::kUsage, "", "on、off、status 或 repair", false},
        {"explorer|on|--machine", true, CliExitCode::kUsage, "", "不接受 --machine", false},
        {"explorer|on|off", false, CliExitCode::kUsage, "", "参数太多", false},
        {"explorer|status", false, CliExitCode::kSuccess, "未开启\n", "", false},
        {"explorer|on", false, CliExitCode::kSuccess, "已在资源管理器的右键菜单和“发送到”中加入", "", true},
        {"explorer|off", false, CliExitCode::kSuccess, "已从资源管理器的右键菜单", "", false},
        {"explorer|repair", false, CliExitCode::kSuccess, "没有失效的项", "", false},
        {"export", true, CliExitCode::kUsage, "", "export 缺少参数：FILE（或加 --json）", false},
        {"export|--json|nothere", true, CliExitCode::kNotFound, "", "没有运行命令“nothere”", false},
        {"apply", true, CliExitCode::kUsage, "", "apply 缺少参数：FILE", false},
        {"apply|C:\\none.json", true, CliExitCode::kApplyFailed, "", "无法读取文件", false},
        {"apply|C:\\bad.json", true, CliExitCode::kApplyFailed, "", "第 2 行第 13 列：缺少“program”", false},
        {"apply|C:\\one.json|--machine", false, CliExitCode::kNeedsAdmin, "", "需要管理员权限", false},
        {"apply|C:\\one.json|--dry-run", true, CliExitCode::kChangesPending, "+ one（本机）：C:\\Tools\\one.exe", "",
         false},
        {"apply|C:\\one.json", true, CliExitCode::kChanged, "+ one（本机）", "", true},
        {"apply|C:\\one.json|--json|--user", false, CliExitCode::kChanged,
         "{\"action\":\"add\",\"name\":\"one\",\"scope\":\"user\"", "", true},
        {"add-folder|C:\\Tools|--pattern|n*", true, CliExitCode::kSuccess, "+ new：C:\\Tools\\new.exe\n已添加 1 个", "", true},
        {"add-folder|C:\\Tools\\", true, CliExitCode::kSuccess, "+ new：C:\\Tools\\new.exe\n+ X：C:\\Tools\\X.EXE\n", "! abcdefghijklmnopqrstuvwxyz.exe", true},
        {"add-folder|C:\\Tools|--pattern|n*.exe|--dry-run", true, CliExitCode::kSuccess, "将添加 1 个运行命令，跳过 0 个，0 个无需修改", "",
         false},
        {"add-folder|C:\\Other", true, CliExitCode::kExists, "已添加 0 个", "! shared：名称已指向 C:\\Machine\\shared.exe", false},
        {"add-folder|C:\\Other|--user", false, CliExitCode::kExists, "已添加 0 个", "! shared：名称已指向 C:\\Mine\\shared.exe", false},
        {"add-folder|C:\\Other|--force", true, CliExitCode::kSuccess, "+ shared：C:\\Other\\shared.exe", "", true},
        {"add-folder|C:\\Empty", true, CliExitCode::kNotFound, "", "文件夹中没有符合 *.exe 的程序", false},
        {"add-folder|C:\\Nowhere", true, CliExitCode::kNotFound, "", "找不到文件夹：C:\\Nowhere", false},
    };
    const memreg::Keys before = reg.keys;
    const auto launchersBefore = launcherFiles.files;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        reg.keys = before;
        launcherFiles.files = launchersBefore;
        files.erase("C:\\out.reg");
        shortcutFiles.shortcuts.clear();
        EXPECT_EQ(Run(row.args, row.elevated), row.code) << N(output.err);
        EXPECT_NE(N(output.out).find(row.out), std::string::npos) << N(output.out);
        if (*row.err == '\0' && row.code == CliExitCode::kSuccess) EXPECT_TRUE(output.err.empty()) << N(output.err);
        else EXPECT_NE(N(output.err).find(row.err), std::string::npos) << N(output.err);
        if (row.code != CliExitCode::kSuccess && row.code != CliExitCode::kProblemsFound && *row.out == '\0') {
            EXPECT_TRUE(output.out.empty()) << N(output.out);
        }
        EXPECT_EQ(reg.keys != before, row.writes);
        EXPECT_EQ(files.count("C:\\out.reg"), 0u);
    }
}

// Run as the console's main runs a verb: in the language its arguments
// choose. The exit codes and the JSON documents are the same in both.
TEST_F(CliVerbTest, EnglishWhenChosenWithTheSameExitCodesAndJson) {
    struct Row {
        const char* args;
        CliExitCode code;
        const char* out;  // a part of stdout ("" for any)
        const char* err;  // a part of stderr ("" for none at all)
    } const rows[] = {
        {"frob|--lang|en", CliExitCode::kUsage, "", "Unknown verb: frob"},
        {"frob", CliExitCode::kUsage, "", "未知的命令：frob"},
        {"--lang|en|--help", CliExitCode::kSuccess, "Exit codes:", ""},
        {"--help", CliExitCode::kSuccess, "--lang en|zh", ""},
        {"set|--help|--lang|en", CliExitCode::kSuccess, "where %* stands", ""},
        {"remove|ed|nothere|--lang|en", CliExitCode::kNotFound, "", "There is no run command \"nothere\""},
        {"add|ed|C:\\Tools\\other.exe|--lang|en", CliExitCode::kExists, "",
         "already points to: C:\\Tools\\ed.exe"},
        {"list|ed|--lang|en", CliExitCode::kSuccess, " run commands", ""},
        {"check|--lang|en", CliExitCode::kProblemsFound, "run commands and found", ""},
    };
    struct Chinese {
        ~Chinese() { velmora::UseLanguage(velmora::Language::kChinese); }
    } const restore;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        velmora::UseLanguage(CliLanguage(Args(row.args), std::nullopt, std::nullopt));
        EXPECT_EQ(Run(row.args), row.code) << N(output.err);
        EXPECT_NE(N(output.out).find(row.out), std::string::npos) << N(output.out);
        if (*row.err == '\0') EXPECT_TRUE(output.err.empty()) << N(output.err);
        else EXPECT_NE(N(output.err).find(row.err), std::string::npos) << N(output.err);
    }
    for (const char* json : {"check|--json", "list|--json", "path|ed|--json"}) {
        velmora::UseLanguage(velmora::Language::kChinese);
        const CliExitCode chineseCode = Run(json);
        const CStringW chinese = output.out;
        velmora::UseLanguage(velmora::Language::kEnglish);
        EXPECT_EQ(Run(json), chineseCode) << json;
        EXPECT_EQ(output.out, chinese) << json;
    }
}

TEST_F(CliVerbTest, WritesWhatTheVerbsSay) {
    ASSERT_EQ(Run("add|tools\\new|C:\\Tools\\new.exe|--path|C:\\A;%SystemRoot%|--user"), CliExitCode::kSuccess);
    EXPECT_EQ(reg.TextOf("U:AP\\tools\\new.exe", ""), "C:\\Tools\\new.exe");
    EXPECT_EQ(reg.keys.at("U:AP\\tools\\new.exe").at("Path").type, kRegExpandSz);
    EXPECT_EQ(reg.TextOf("U:AP\\tools\\new.exe", "Path"), "C:\\A;%SystemRoot%");
    ASSERT_EQ(Run("rename|tools\\new|moved|--user"), CliExitCode::kSuccess);
    EXPECT_EQ(reg.keys.count("U:AP\\tools"), 0u);  // the group it left empty goes
    EXPECT_EQ(reg.TextOf("U:AP\\moved.exe", "Path"), "C:\\A;%SystemRoot%");
    ASSERT_EQ(Run("path|moved|--set|C:\\B; C:\\C|--user"), CliExitCode::kSuccess);
    EXPECT_EQ(reg.TextOf("U:AP\\moved.exe", "Path"), "C:\\B;C:\\C");
    ASSERT_EQ(Run("path|moved|--remove|c:\\b\\|--user"), CliExitCode::kSuccess);
    EXPECT_EQ(reg.TextOf("U:AP\\moved.exe", "Path"), "C:\\C");
    ASSERT_EQ(Run("path|moved|--clear|--user"), CliExitCode::kSuccess);
    EXPECT_EQ(reg.keys.at("U:AP\\moved.exe").count("Path"), 0u);
    ASSERT_EQ(Run("remove|moved|--user"), CliExitCode::kSuccess);
    EXPECT_EQ(reg.keys.count("U:AP\\moved.exe"), 0u);
}

TEST_F(CliVerbTest, TerminalCommandsFollowEveryVerb) {
    const std::string bin = "C:\\ProgramData\\Velmora\\bin\\";
    ASSERT_EQ(Run("terminal|on|ed"), CliExitCode::kSuccess) << N(output.err);
    EXPECT_TRUE(launcherFiles.Has(bin + "ed.exe"));
    EXPECT_EQ(reg.TextOf("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path"),
              "C:\\ProgramData\\Velmora\\bin");
    ASSERT_EQ(Run("list|ed|--json"), CliExitCode::kSuccess);
    EXPECT_NE(N(output.out).find("\"terminal\":true,\"terminalLauncherMissing\":false"), std::string::npos);
    ASSERT_EQ(Run("rename|ed|editor"), CliExitCode::kSuccess) << N(output.err);
    EXPECT_FALSE(launcherFiles.Has(bin + "ed.exe"));
    EXPECT_TRUE(launcherFiles.Has(bin + "editor.exe"));
    // To a group: refused, with the reason, nothing changed.
    EXPECT_EQ(Run("rename|editor|tools\\editor"), CliExitCode::kUsage);
    EXPECT_NE(N(output.err).find("带有分组"), std::string::npos) << N(output.err);
    // A launcher left behind and one gone missing: check finds both, repair mends both.
    launcherFiles.WriteLauncher(W(bin + "stray.exe"), ProgramKind::kConsole);
    launcherFiles.Remove(W(bin + "editor.exe"));
    ASSERT_EQ(Run("check|--json"), CliExitCode::kProblemsFound);
    EXPECT_NE(N(output.out).find("{\"kind\":\"launcher-orphan\",\"name\":\"stray\""), std::string::npos);
    EXPECT_NE(N(output.out).find("{\"kind\":\"launcher-missing\",\"name\":\"editor\""), std::string::npos);
    ASSERT_EQ(Run("terminal|repair"), CliExitCode::kSuccess);
    EXPECT_NE(N(output.out).find("修复了 2 个"), std::string::npos) << N(output.out);
    EXPECT_TRUE(launcherFiles.Has(bin + "editor.exe"));
    EXPECT_FALSE(launcherFiles.Has(bin + "stray.exe"));
    // The last one off: the way to take the folder off PATH is told, and done by --all.
    ASSERT_EQ(Run("terminal|off|editor"), CliExitCode::kSuccess);
    EXPECT_NE(N(output.out).find("terminal off --all"), std::string::npos) << N(output.out);
    ASSERT_EQ(Run("terminal|off|--all"), CliExitCode::kSuccess);
    EXPECT_EQ(reg.TextOf("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path"), "");
    // Removing a command takes its launcher; a running one keeps both.
    ASSERT_EQ(Run("add|t|C:\\Tools\\ed.exe|--terminal"), CliExitCode::kSuccess);
    launcherFiles.locked.insert(MemoryLauncherFiles::Key(W(bin + "t.exe")));
    EXPECT_EQ(Run("remove|t"), CliExitCode::kFailed);
    EXPECT_NE(N(output.err).find("可能正在运行"), std::string::npos) << N(output.err);
    EXPECT_EQ(reg.TextOf("AP\\t.exe", ""), "C:\\Tools\\ed.exe");
    launcherFiles.locked.clear();
    ASSERT_EQ(Run("remove|t"), CliExitCode::kSuccess);
    EXPECT_FALSE(launcherFiles.Has(bin + "t.exe"));
    // add --terminal whose launcher cannot be written: the command is not left behind.
    launcherFiles.refuseWrites = true;
    EXPECT_EQ(Run("add|t|C:\\Tools\\ed.exe|--terminal"), CliExitCode::kFailed);
    EXPECT_NE(N(output.err).find("已撤销添加“t”"), std::string::npos) << N(output.err);
    EXPECT_EQ(reg.keys.count("AP\\t.exe"), 0u);
    // Over an existing command (--force): it points where it did.
    launcherFiles.PutProgram("C:\\Tools\\ed2.exe", 3);
    EXPECT_EQ(Run("add|editor|C:\\Tools\\ed2.exe|--terminal|--force"), CliExitCode::kFailed);
    EXPECT_EQ(reg.TextOf("AP\\editor.exe", ""), "C:\\Tools\\ed.exe");
}

TEST_F(CliVerbTest, OptionsAreSetShownListedCheckedAndCleared) {
    const std::string launcher = "C:\\ProgramData\\Velmora\\bin\\options\\ed.exe";
    const memreg::Values plain = reg.keys.at("AP\\ed.exe");
    ASSERT_EQ(Run("set|ed|--args|-A %* 100%%|--cwd|here|--env|JAVA_HOME=C:\\J|--admin"), CliExitCode::kSuccess)
        << N(output.err);
    EXPECT_NE(N(output.out).find("已设置“ed”的选项"), std::string::npos);
    EXPECT_EQ(reg.TextOf("AP\\ed.exe", ""), launcher);
    EXPECT_EQ(reg.TextOf("AP\\ed.exe", "VelmoraWorkingFolder"), "C:\\Work\\here");
    ASSERT_EQ(Run("list|ed|--json"), CliExitCode::kSuccess);
    EXPECT_NE(N(output.out).find("\"target\":\"C:\\\\Tools\\\\ed.exe\""), std::string::npos) << N(output.out);
    EXPECT_NE(N(output.out).find("\"hasOptions\":true,\"options\":{\"arguments\":\"-A %* 100%%\",\"workingFolder\":"
                                 "\"C:\\\\Work\\\\here\",\"environment\":[\"JAVA_HOME=C:\\\\J\"],\"administrator\":true}"),
              std::string::npos)
        << N(output.out);
    ASSERT_EQ(Run("list|ed"), CliExitCode::kSuccess);
    EXPECT_NE(N(output.out).find("选项"), std::string::npos) << N(output.out);
    ASSERT_EQ(Run("show|ed|--machine"), CliExitCode::kSuccess);
    EXPECT_NE(N(output.out).find("  参数：-A %* 100%%\n"), std::string::npos) << N(output.out);
    EXPECT_NE(N(output.out).find("VelmoraRunAsAdministrator"), std::string::npos) << N(output.out);
    // Another tool rewrote the default value; the folder is not there.
    reg.PutText("AP\\ed.exe", "", "C:\\Tools\\ed.exe");
    ASSERT_EQ(Run("check|--json"), CliExitCode::kProblemsFound);
    EXPECT_NE(N(output.out).find("{\"kind\":\"options-not-applied\",\"name\":\"ed\""), std::string::npos);
    EXPECT_NE(N(output.out).find("{\"kind\":\"options-folder-missing\",\"name\":\"ed\""), std::string::npos);
    ASSERT_EQ(Run("terminal|repair"), CliExitCode::kFailed);  // the folder is left to the user
    EXPECT_EQ(reg.TextOf("AP\\ed.exe", ""), launcher);
    // Cleared one by one: a plain entry again, byte for byte.
    ASSERT_EQ(Run("set|ed|--args=|--cwd=|--env|java_home=|--no-admin"), CliExitCode::kSuccess) << N(output.err);
    EXPECT_NE(N(output.out).find("恢复为普通运行命令"), std::string::npos) << N(output.out);
    EXPECT_EQ(reg.keys.at("AP\\ed.exe"), plain);
    EXPECT_FALSE(launcherFiles.Has(launcher));
    // Refused: a group, a command that is not there, the machine's without rights.
    EXPECT_EQ(Run("set|tools\\old|--admin"), CliExitCode::kUsage);
    EXPECT_NE(N(output.err).find("带有分组"), std::string::npos) << N(output.err);
    EXPECT_EQ(Run("set|nothing|--admin"), CliExitCode::kNotFound);
    EXPECT_EQ(Run("set|ed|--admin|--machine", false), CliExitCode::kNeedsAdmin);
    // add with options writes them in the same step.
    ASSERT_EQ(Run("add|pf|C:\\Tools\\ed.exe|--args|-private|--env|A=1"), CliExitCode::kSuccess) << N(output.err);
    EXPECT_EQ(reg.TextOf("AP\\pf.exe", "VelmoraProgram"), "C:\\Tools\\ed.exe");
    EXPECT_TRUE(launcherFiles.Has("C:\\ProgramData\\Velmora\\bin\\options\\pf.exe"));
}

TEST_F(CliVerbTest, ExportRemoveImportBringsEveryValueBack) {
    reg.PutRaw("AP\\ed.exe", "Flags", kRegDword, std::string("\x2a\0\0\0", 4));
    reg.PutText("AP\\ed.exe\\sub", "x", "y");
    const memreg::Keys before = reg.keys;
    ASSERT_EQ(Run("export|C:\\all.reg"), CliExitCode::kSuccess) << N(output.err);
    EXPECT_NE(N(output.out).find("已导出 4 个运行命令"), std::string::npos) << N(output.out);
    ASSERT_EQ(Run("remove|ed|tools\\old|shared"), CliExitCode::kSuccess) << N(output.err);
    ASSERT_EQ(Run("remove|shared|--user"), CliExitCode::kSuccess) << N(output.err);
    const memreg::Keys removed = reg.keys;
    ASSERT_EQ(Run("import|C:\\all.reg|--dry-run"), CliExitCode::kSuccess) << N(output.err);
    EXPECT_NE(N(output.out).find("添加  tools\\old（本机）：C:\\Gone\\old.exe"), std::string::npos) << N(output.out);
    EXPECT_TRUE(reg.keys == removed);
    ASSERT_EQ(Run("import|C:\\all.reg"), CliExitCode::kSuccess) << N(output.err);
    EXPECT_NE(N(output.out).find("已添加 4 个，替换 0 个，跳过 0 个"), std::string::npos) << N(output.out);
    EXPECT_TRUE(reg.keys == before);
    // Again: every entry would be replaced, which needs --force.
    ASSERT_EQ(Run("import|C:\\all.reg"), CliExitCode::kExists);
    EXPECT_TRUE(reg.keys == before);
    EXPECT_EQ(Run("import|C:\\all.reg|--force"), CliExitCode::kSuccess);
    // Without administrator rights the machine's entries are skipped, with their line.
    reg.keys = removed;
    EXPECT_EQ(Run("import|C:\\all.reg", false), CliExitCode::kSuccess);
    EXPECT_NE(N(output.err).find("跳过  第"), std::string::npos) << N(output.err);
    EXPECT_EQ(reg.keys.count("AP\\ed.exe"), 0u);
    EXPECT_EQ(reg.TextOf("U:AP\\shared.exe", ""), "C:\\Mine\\shared.exe");
    // An administrator who writes to the user's scope may still write the
    // machine's entries the file holds: rights are not the scope.
    reg.keys = removed;
    EXPECT_EQ(Run("import|C:\\all.reg|--user", true), CliExitCode::kSuccess) << N(output.err);
    EXPECT_TRUE(output.err.empty()) << N(output.err);
    EXPECT_TRUE(reg.keys == before);
}

// export --json, applied to an empty registry, exported again: the same
// bytes; applied once more: nothing written at all.
TEST_F(CliVerbTest, CommandsFileRoundTripsAndASecondApplyWritesNothing) {
    const auto launchersBefore = launcherFiles.files;
    ASSERT_EQ(Run("remove|tools\\old"), CliExitCode::kSuccess);  // its program is gone: apply would skip it
    ASSERT_EQ(Run("set|ed|--args|-A %*|--cwd|C:\\W|--env|A=1|--admin"), CliExitCode::kSuccess) << N(output.err);
    ASSERT_EQ(Run("terminal|on|ed"), CliExitCode::kSuccess) << N(output.err);
    reg.PutRaw("U:AP\\tools\\var.exe", "", kRegExpandSz, memreg::Utf16Bytes(std::string("%Tools%\\v.exe\0", 14)));
    reg.PutText("U:AP\\tools\\var.exe", "Path", "C:\\A;D:\\中文");
    ASSERT_EQ(Run("export|--json"), CliExitCode::kSuccess) << N(output.err);
    const std::string exported = Utf8FromUtf16(output.out);
    EXPECT_NE(exported.find("      \"program\": \"%Tools%\\\\v.exe\",\n      \"path\": [\"C:\\\\A\", \"D:\\\\\xE4\xB8\xAD"),
              std::string::npos)
        << exported;
    EXPECT_NE(exported.find("\"options\": {\n        \"arguments\": \"-A %*\","), std::string::npos) << exported;
    files["C:\\c.json"] = Bytes(exported);

    reg.keys = memreg::Keys{{memreg::KeyPath(false, CStringW()), {}}, {memreg::KeyPath(true, CStringW()), {}}};
    launcherFiles.files = launchersBefore;
    ASSERT_EQ(Run("apply|C:\\c.json"), CliExitCode::kChanged) << N(output.err);
    EXPECT_NE(N(output.out).find("已添加 4 个，修改 0 个，删除 0 个，跳过 0 个，0 个无需修改"), std::string::npos)
        << N(output.out);
    EXPECT_EQ(reg.keys.at("U:AP\\tools\\var.exe").at("").type, kRegExpandSz);
    EXPECT_EQ(reg.keys.at("U:AP\\tools\\var.exe").at("VelmoraApplied").type, kRegDword);
    EXPECT_TRUE(launcherFiles.Has("C:\\ProgramData\\Velmora\\bin\\ed.exe"));
    EXPECT_TRUE(launcherFiles.Has("C:\\ProgramData\\Velmora\\bin\\options\\ed.exe"));
    ASSERT_EQ(Run("export|--json"), CliExitCode::kSuccess);
    EXPECT_EQ(Utf8FromUtf16(output.out), exported);

    // Again: in step, and no value, key or launcher written (any write would fail).
    const memreg::Keys applied = reg.keys;
    const auto launchersApplied = launcherFiles.files;
    reg.failKind = memreg::RegCall::kSetValue;
    reg.failAtCall = 0;
    launcherFiles.refuseWrites = true;
    EXPECT_EQ(Run("apply|C:\\c.json|--prune"), CliExitCode::kInStep) << N(output.err);
    EXPECT_NE(N(output.out).find("4 个无需修改"), std::string::npos) << N(output.out);
    EXPECT_EQ(reg.keys, applied);
    EXPECT_EQ(launcherFiles.files, launchersApplied);
}

// A plan line for each kind of difference (dry run: nothing written), then
// the same applied for real, after which the file is in step.
TEST_F(CliVerbTest, ApplyPlansEachKindOfDifference) {
    launcherFiles.PutProgram("C:\\Tools\\ed2.exe", 3);
    const std::string base =
        "{\"name\":\"pf\",\"scope\":\"user\",\"program\":\"C:\\\\Tools\\\\ed.exe\",\"path\":[\"C:\\\\A\"],"
        "\"options\":{\"arguments\":\"-x\",\"workingFolder\":\"C:\\\\W\",\"environment\":[\"A=1\"],"
        "\"administrator\":true},\"terminal\":true}";
    const auto file = [](const std::string& commands) { return "{\"version\":1,\"commands\":[" + commands + "]}"; };
    const auto with = [&base](const std::string& from, const std::string& to) {
        std::string text = base;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    files["C:\\base.json"] = Bytes(file(base));
    ASSERT_EQ(Run("apply|C:\\base.json"), CliExitCode::kChanged) << N(output.err);
    const memreg::Keys applied = reg.keys;
    const auto launchersApplied = launcherFiles.files;
    struct Row {
        std::string commands;
        const char* args;  // after the file and --dry-run
        CliExitCode planned;
        const char* line;
    } const rows[] = {
        {base, "|--user", CliExitCode::kInStep, "将添加 0 个，修改 0 个，删除 0 个，跳过 0 个，1 个无需修改"},
        {with("ed.exe", "ed2.exe"), "|--user", CliExitCode::kChangesPending, "~ pf（当前用户）：program\n"},
        {with("[\"C:\\\\A\"]", "[\"C:\\\\A\",\"C:\\\\B\"]"), "|--user", CliExitCode::kChangesPending, "~ pf（当前用户）：path\n"},
        {with("-x", "-y"), "|--user", CliExitCode::kChangesPending, "~ pf（当前用户）：options.arguments\n"},
        {with("C:\\\\W", "C:\\\\V"), "|--user", CliExitCode::kChangesPending, "~ pf（当前用户）：options.workingFolder\n"},
        {with("A=1", "A=2"), "|--user", CliExitCode::kChangesPending, "~ pf（当前用户）：options.environment\n"},
        {with("true},", "false},"), "|--user", CliExitCode::kChangesPending, "~ pf（当前用户）：options.administrator\n"},
        {with("\"terminal\":true", "\"terminal\":false"), "|--user", CliExitCode::kChangesPending,
         "~ pf（当前用户）：terminal\n"},
        {with(",\"options\":{\"arguments\":\"-x\",\"workingFolder\":\"C:\\\\W\",\"environment\":[\"A=1\"],"
              "\"administrator\":true},\"terminal\":true",
              ""),
         "|--user", CliExitCode::kChangesPending,
         "~ pf（当前用户）：options.arguments, options.workingFolder, options.environment, options.administrator, "
         "terminal\n"},
        {base + ",{\"name\":\"pg\",\"program\":\"C:\\\\Tools\\\\pg.exe\"}", "|--user", CliExitCode::kChangesPending,
         "+ pg（当前用户）：C:\\Tools\\pg.exe\n"},
        {"{\"name\":\"pg\",\"program\":\"C:\\\\Tools\\\\pg.exe\",\"scope\":\"user\"}", "|--user|--prune",
         CliExitCode::kChangesPending, "+ pg（当前用户）：C:\\Tools\\pg.exe\n- pf（当前用户）：C:\\Tools\\ed.exe\n"},
        {base + ",{\"name\":\"gone\",\"program\":\"C:\\\\Missing\\\\g.exe\"}", "", CliExitCode::kInStep,
         "! gone（当前用户）：程序不存在，跳过\n"},
        {base + ",{\"name\":\"gone\",\"program\":\"C:\\\\Missing\\\\g.exe\",\"required\":true}", "",
         CliExitCode::kApplyFailed, "! gone（当前用户）：程序不存在，而文件要求它（required）\n"},
        {base + ",{\"name\":\"m\",\"scope\":\"machine\",\"program\":\"C:\\\\Tools\\\\m.exe\"}", "",
         CliExitCode::kApplyFailed, "! m（本机）：需要管理员权限\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.commands);
        reg.keys = applied;
        launcherFiles.files = launchersApplied;
        files["C:\\f.json"] = Bytes(file(row.commands));
        EXPECT_EQ(Run("apply|C:\\f.json|--dry-run" + std::string(row.args), false), row.planned);
        EXPECT_NE(N(output.out).find(row.line), std::string::npos) << N(output.out);
        EXPECT_EQ(reg.keys, applied);
        // Carried out: the changes are made, after which the file is in step.
        const CliExitCode result = Run("apply|C:\\f.json" + std::string(row.args), false);
        if (row.planned == CliExitCode::kChangesPending) {
            EXPECT_EQ(result, CliExitCode::kChanged) << N(output.err);
            EXPECT_EQ(Run("apply|C:\\f.json" + std::string(row.args), false), CliExitCode::kInStep)
                << N(output.out);
        } else {
            EXPECT_EQ(result, row.planned) << N(output.err);
        }
    }
    // --user puts the machine's command in the user's scope.
    reg.keys = applied;
    files["C:\\f.json"] = Bytes(file("{\"name\":\"m\",\"scope\":\"machine\",\"program\":\"C:\\\\Tools\\\\m.exe\"}"));
    EXPECT_EQ(Run("apply|C:\\f.json|--user", true), CliExitCode::kChanged) << N(output.err);
    EXPECT_EQ(reg.TextOf("U:AP\\m.exe", ""), "C:\\Tools\\m.exe");
}

TEST_F(CliVerbTest, ApplyPrunesOnlyWhatItMadeAndGoesOnPastAFailure) {
    const auto file = [](const std::string& commands) {
        return Bytes("{\"version\":1,\"commands\":[" + commands + "]}");
    };
    const std::string a = "{\"name\":\"a\",\"program\":\"C:\\\\Tools\\\\a.exe\"}";
    const std::string b = "{\"name\":\"b\",\"program\":\"C:\\\\Tools\\\\b.exe\"}";
    files["C:\\ab.json"] = file(a + "," + b);
    files["C:\\a.json"] = file(a);
    ASSERT_EQ(Run("apply|C:\\ab.json"), CliExitCode::kChanged) << N(output.err);
    ASSERT_EQ(Run("add|hand|C:\\Tools\\hand.exe"), CliExitCode::kSuccess);
    // Without --prune b stays; with it b goes, and neither the hand-made
    // command nor the sample ones are touched.
    ASSERT_EQ(Run("apply|C:\\a.json"), CliExitCode::kInStep);
    EXPECT_EQ(reg.keys.count("AP\\b.exe"), 1u);
    ASSERT_EQ(Run("apply|C:\\a.json|--prune"), CliExitCode::kChanged) << N(output.err);
    EXPECT_EQ(N(output.out).find("- b（本机）：C:\\Tools\\b.exe\n"), 0u) << N(output.out);
    EXPECT_EQ(reg.keys.count("AP\\b.exe"), 0u);
    for (const char* kept : {"AP\\a.exe", "AP\\hand.exe", "AP\\ed.exe", "AP\\tools\\old.exe", "U:AP\\shared.exe"})
        EXPECT_EQ(reg.keys.count(kept), 1u) << kept;
    // A hand-made command the file lists with its values as they are is in
    // step and stays unowned: a later prune leaves it.
    files["C:\\hand.json"] = file(a + ",{\"name\":\"hand\",\"program\":\"C:\\\\Tools\\\\hand.exe\"}");
    ASSERT_EQ(Run("apply|C:\\hand.json"), CliExitCode::kInStep);
    ASSERT_EQ(Run("apply|C:\\a.json|--prune"), CliExitCode::kInStep);
    EXPECT_EQ(reg.keys.count("AP\\hand.exe"), 1u);

    // A failure in the middle: the command before it and after it are
    // applied and reported, the failing one is as it was.
    const memreg::Values ed = reg.keys.at("AP\\ed.exe");
    files["C:\\mid.json"] =
        file("{\"name\":\"c\",\"program\":\"C:\\\\Tools\\\\c.exe\"},"
             "{\"name\":\"ed\",\"program\":\"C:\\\\Tools\\\\ed.exe\",\"path\":[\"C:\\\\Bin\"],\"terminal\":true},"
             "{\"name\":\"d\",\"program\":\"C:\\\\Tools\\\\d.exe\"}");
    launcherFiles.refuseWrites = true;
    EXPECT_EQ(Run("apply|C:\\mid.json"), CliExitCode::kApplyFailed);
    EXPECT_NE(N(output.out).find("+ c（本机）：C:\\Tools\\c.exe\n+ d（本机）：C:\\Tools\\d.exe\n"), std::string::npos)
        << N(output.out);
    EXPECT_NE(N(output.err).find("未能应用 ed（本机）："), std::string::npos) << N(output.err);
    EXPECT_NE(N(output.err).find("1 个运行命令未能应用"), std::string::npos) << N(output.err);
    EXPECT_EQ(reg.keys.at("AP\\ed.exe"), ed);
    EXPECT_EQ(reg.TextOf("AP\\c.exe", ""), "C:\\Tools\\c.exe");
    EXPECT_EQ(reg.TextOf("AP\\d.exe", ""), "C:\\Tools\\d.exe");
    // The result as JSON: the failing step with its error.
    reg.keys.erase("AP\\c.exe");
    EXPECT_EQ(Run("apply|C:\\mid.json|--json"), CliExitCode::kApplyFailed);
    EXPECT_NE(N(output.out).find("{\"action\":\"change\",\"name\":\"ed\",\"scope\":\"machine\",\"program\":"
                                 "\"C:\\\\Tools\\\\ed.exe\",\"fields\":[\"path\",\"terminal\"],\"reason\":\"\","
                                 "\"result\":\"failed\""),
              std::string::npos)
        << N(output.out);
    EXPECT_NE(N(output.out).find("\"added\":1,\"changed\":0,\"removed\":0,\"skipped\":0,\"inStep\":1,\"failed\":1}"),
              std::string::npos)
        << N(output.out);
}

TEST_F(CliVerbTest, JsonDocuments) {
    reg.keys = memreg::Keys{{memreg::KeyPath(false, CStringW()), {}}, {memreg::KeyPath(true, CStringW()), {}}};
    reg.PutRaw("U:AP\\odd.exe", "", kRegExpandSz, memreg::Utf16Bytes(std::string("C:\\a\"b\x01", 7)) +
                                                       std::string("\x00\xD8\0\0", 4));
    reg.PutRaw("U:AP\\odd.exe", "N", kRegDword, std::string("\x2a\0\0\0", 4));
    reg.PutRaw("U:AP\\odd.exe", "Q", kRegQword, std::string(8, '\xff'));
    reg.PutRaw("U:AP\\odd.exe", "M", kRegMultiSz, memreg::Utf16Bytes(std::string("a\0b\0\0", 5)));
    reg.PutRaw("U:AP\\odd.exe", "B", kRegBinary, std::string("\x01\xff", 2));
    reg.PutText("U:AP\\odd.exe\\sub", "x", "y");
    ASSERT_EQ(Run("list|--json"), CliExitCode::kSuccess);
    EXPECT_EQ(std::u16string(output.out),
              u"{\"entries\":[{\"name\":\"odd\",\"scope\":\"user\",\"key\":\"odd.exe\",\"target\":\"C:\\\\a\\\"b\\u0001"
              u"\\ud800\",\"path\":\"\",\"folders\":[],\"broken\":false,\"shadowed\":false,\"terminal\":false,"
              u"\"terminalLauncherMissing\":false,\"terminalShadowedBy\":\"\",\"hasOptions\":false,\"options\":{"
              u"\"arguments\":\"\",\"workingFolder\":\"\",\"environment\":[],\"administrator\":false}}],"
              u"\"unreadable\":0}\n");
    ASSERT_EQ(Run("show|odd|--json"), CliExitCode::kSuccess);
    EXPECT_EQ(std::u16string(output.out),
              u"{\"entries\":[{\"name\":\"odd\",\"scope\":\"user\",\"key\":\"HKEY_CURRENT_USER\\\\AP\\\\odd.exe\","
              u"\"target\":\"C:\\\\a\\\"b\\u0001\\ud800\",\"options\":{\"arguments\":\"\",\"workingFolder\":\"\","
              u"\"environment\":[],\"administrator\":false},"
              u"\"values\":[{\"name\":\"\",\"type\":\"REG_EXPAND_SZ\",\"data\":\"C:\\\\a\\\"b\\u0001\\ud800\"},"
              u"{\"name\":\"B\",\"type\":\"REG_BINARY\",\"data\":\"01ff\"},"
              u"{\"name\":\"M\",\"type\":\"REG_MULTI_SZ\",\"data\":[\"a\",\"b\"]},"
              u"{\"name\":\"N\",\"type\":\"REG_DWORD\",\"data\":42},"
              u"{\"name\":\"Q\",\"type\":\"REG_QWORD\",\"data\":18446744073709551615}],"
              u"\"subkeys\":[{\"name\":\"sub\",\"values\":[{\"name\":\"x\",\"type\":\"REG_SZ\",\"data\":\"y\"}],"
              u"\"subkeys\":[]}]}]}\n");
}

TEST_F(CliVerbTest, CheckReportsEachKindOfProblem) {
    reg.PutText("U:AP\\abcdefghijklmnopqrstuvwxyz.exe", "", "C:\\Tools\\long.exe");
    reg.PutText("U:AP\\ spaced .exe", "", "C:\\Tools\\spaced.exe");
    // A script of a command's name in a PATH folder: the Run box starts it instead.
    reg.PutRaw("U:Environment", "Path", kRegExpandSz, memreg::Utf16Bytes(std::string("C:\\Scripts") + '\0'));
    launcherFiles.variables["%PATHEXT%"] = ".COM;.EXE;.BAT;.CMD";
    launcherFiles.PutProgram("C:\\Scripts\\ed.cmd", 3);
    ASSERT_EQ(Run("check|--json"), CliExitCode::kProblemsFound);
    const std::string json = N(output.out);
    for (const char* part : {"{\"kind\":\"run-taken\",\"name\":\"ed\"", "\"winner\":\"C:\\\\Scripts\\\\ed.CMD\"}",
                             "{\"kind\":\"broken\",\"name\":\"tools\\\\old\",\"scope\":\"machine\"",
                             "{\"kind\":\"shadowed\",\"name\":\"shared\",\"scope\":\"machine\"",
                             "{\"kind\":\"name\",\"name\":\"abcdefghijklmnopqrstuvwxyz\"",
                             "{\"kind\":\"name\",\"name\":\" spaced \"", "\"checked\":6"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    }
}

TEST_F(CliVerbTest, ExplorerEntriesAreWrittenForTheLoggedOnUserOnlyAndCheckedForAGoneVelmora) {
    const std::string verb = "U:Software\\Classes\\SystemFileAssociations\\.exe\\shell\\VelmoraAddRunCommand";
    const memreg::Keys before = reg.keys;
    services.runsAsShellUser = false;
    EXPECT_EQ(Run("explorer|on"), CliExitCode::kFailed);
    EXPECT_NE(N(output.err).find("另一个账户"), std::string::npos) << N(output.err);
    EXPECT_EQ(Run("explorer|status"), CliExitCode::kSuccess) << "reading is harmless";
    services.runsAsShellUser = true;
    services.windowProgram = W("C:\\Missing\\Velmora.exe");
    EXPECT_EQ(Run("explorer|on"), CliExitCode::kNotFound);
    EXPECT_EQ(reg.keys, before);
    EXPECT_TRUE(shortcutFiles.shortcuts.empty());

    // Velmora moved away from C:\V: check reports every entry, repair mends them.
    services.windowProgram = W("C:\\V\\Velmora.exe");
    ASSERT_EQ(Run("explorer|on"), CliExitCode::kSuccess);
    shortcutFiles.programs = {"D:\\V\\Velmora.exe"};
    ASSERT_EQ(Run("check|--user|--json"), CliExitCode::kProblemsFound);
    EXPECT_NE(N(output.out).find("{\"kind\":\"explorer-stale\",\"name\":\"“发送到”快捷方式\",\"scope\":\"user\","
                                 "\"target\":\"C:\\\\V\\\\Velmora.exe\""),
              std::string::npos)
        << N(output.out);
    ASSERT_EQ(Run("explorer|status"), CliExitCode::kSuccess);
    EXPECT_NE(N(output.out).find("已失效：C:\\V\\Velmora.exe 已不存在"), std::string::npos) << N(output.out);
    services.windowProgram = W("D:\\V\\Velmora.exe");
    ASSERT_EQ(Run("explorer|repair"), CliExitCode::kSuccess);
    EXPECT_NE(N(output.out).find("已把 3 项改为指向 D:\\V\\Velmora.exe"), std::string::npos) << N(output.out);
    EXPECT_EQ(reg.TextOf(verb + "\\command", ""), "\"D:\\V\\Velmora.exe\" \"%1\"");
    EXPECT_EQ(Run("check|--user"), CliExitCode::kSuccess);
}

TEST_F(CliVerbTest, ListsAsATableFilteredAsTheManagerFilters) {
    ASSERT_EQ(Run("list|TOOLS|--machine"), CliExitCode::kSuccess);
    EXPECT_EQ(N(output.out),
              "命令       范围  状态  目标             附加路径  终端\n"
              "ed         本机        C:\\Tools\\ed.exe  C:\\Tools\n"
              "tools\\old  本机  失效  C:\\Gone\\old.exe\n"
              "共 2 个运行命令，1 个失效\n");
    ASSERT_EQ(Run("list|--broken"), CliExitCode::kSuccess);
    EXPECT_EQ(N(output.out).find("ed "), std::string::npos);
}

// A verb on named commands finds each by its key: no listing of either
// scope, no target file probed, however many commands there are.
TEST_F(CliVerbTest, VerbsOnNamedCommandsLookThemUpAlone) {
    for (int i = 0; i < 300; ++i) {
        reg.PutText("AP\\many" + std::to_string(i) + ".exe", "", "C:\\Tools\\ed.exe");
        reg.PutText("U:AP\\many" + std::to_string(i) + ".exe", "", "C:\\Tools\\ed.exe");
    }
    int probes = 0;
    services.targetExists = [&probes](const CStringW&) { return ++probes, true; };
    const memreg::Keys before = reg.keys;
    const auto launchersBefore = launcherFiles.files;
    for (const char* args : {"show|ED", "rename|ed|editor", "set-target|ed|C:\\Tools\\ed2.exe",
                             "path|ed|--add|C:\\Bin", "path|tools\\old", "remove|ed|shared", "terminal|on|ed",
                             "export|C:\\out.reg|ed|tools\\old", "rename|nothere|x"}) {
        SCOPED_TRACE(args);
        reg.keys = before;
        launcherFiles.files = launchersBefore;
        probes = 0;
        reg.failKind = memreg::RegCall::kEnumSubKey;
        reg.kindCalls = 0;
        Run(args);
        // A listing walks App Paths of both scopes: 600 names and more.
        EXPECT_LT(reg.kindCalls, 20);
        EXPECT_LE(probes, 1) << "at most the command's own target";
        reg.failKind = memreg::RegCall::kAny;
    }
}

TEST_F(CliVerbTest, TheWindowsAndTheCommandLineListTheSame) {
    FixedPrompts yes;
    // The store as the windows make it for a user without administrator rights.
    RunCommandStore windows(reg, services.place, {RunScope::kCurrentUser, false}, yes, services.targetExists);
    ASSERT_EQ(Run("add|fromcli|C:\\Tools\\a.exe", false), CliExitCode::kSuccess);
    bool listed = false;
    for (const RunEntry& entry : windows.List().entries)
        listed |= entry.command == u"fromcli" && entry.scope == RunScope::kCurrentUser;
    EXPECT_TRUE(listed);
    ASSERT_EQ(windows.Register(u"fromwindow", u"C:\\Tools\\b.exe"), ChangeResult::kDone);
    ASSERT_EQ(Run("list|fromwindow|--json"), CliExitCode::kSuccess);
    EXPECT_NE(N(output.out).find("\"name\":\"fromwindow\",\"scope\":\"user\""), std::string::npos) << N(output.out);
}

}  // namespace
