#include <gtest/gtest.h>

#include <string>

#include "app/launcher/program/LaunchRules.h"

namespace {

using namespace velmora::launcher;

std::u16string Piece(const std::u16string& text, TextPiece piece) { return text.substr(piece.offset, piece.length); }

// Runs a builder as its callers do: once for the size, then into a buffer
// of exactly that size. Every smaller buffer, down to none, must be told the
// same size and be left as it was, not one unit written.
template <typename Build>
std::u16string Built(Build build) {
    const size_t needed = build(nullptr, 0);
    for (size_t capacity = 0; capacity < needed; ++capacity) {
        std::u16string untouched(needed + 2, u'#');
        EXPECT_EQ(build(untouched.data(), capacity), needed) << "capacity " << capacity;
        EXPECT_EQ(untouched, std::u16string(needed + 2, u'#')) << "capacity " << capacity;
    }
    std::u16string out(needed + 2, u'#');
    EXPECT_EQ(build(out.data(), needed), needed);
    EXPECT_EQ(out.substr(needed - 1), std::u16string(u"\0##", 3));
    out.resize(needed - 1);
    return out;
}

std::u16string ChildLine(const std::u16string& program, const std::u16string& ownLine) {
    const size_t tail = CommandTailOffset(ownLine.data(), ownLine.size());
    return Built([&](char16_t* out, size_t capacity) {
        return BuildChildCommandLine(program.data(), program.size(), ownLine.data() + tail, ownLine.size() - tail, out,
                                     capacity);
    });
}

TEST(LaunchCommandLineTest, TheArgumentsReachTheProgramAsTyped) {
    const struct {
        std::u16string ownLine;
        std::u16string tail;
        std::u16string child;
    } cases[] = {
        {u"ed a b", u" a b", u"\"C:\\p.exe\" a b"},
        {u"ed", u"", u"\"C:\\p.exe\""},
        {u"\"C:\\my tools\\ed.exe\" x", u" x", u"\"C:\\p.exe\" x"},
        // Blanks are kept as they are, a tab included.
        {u"ed   a\t b  ", u"   a\t b  ", u"\"C:\\p.exe\"   a\t b  "},
        {u"ed\ta", u"\ta", u"\"C:\\p.exe\"\ta"},
        {u"ed ", u" ", u"\"C:\\p.exe\" "},
        // What the shells leave alone or hand on: carets, percent signs,
        // quotes and backslashes in every order.
        {u"ed ^a %PATH% \"b c\" \"d\\\"e\" \\\\x\\", u" ^a %PATH% \"b c\" \"d\\\"e\" \\\\x\\",
         u"\"C:\\p.exe\" ^a %PATH% \"b c\" \"d\\\"e\" \\\\x\\"},
        {u"ed 한국 工具", u" 한국 工具", u"\"C:\\p.exe\" 한국 工具"},
        // The quoted name ends at its closing quote; what follows at once is
        // the first argument, so a space is put in front of it.
        {u"\"ed\"abc", u"abc", u"\"C:\\p.exe\" abc"},
        {u"\"a b\"c d", u"c d", u"\"C:\\p.exe\" c d"},
        {u"\"ed\"\"x y\"", u"\"x y\"", u"\"C:\\p.exe\" \"x y\""},
        // A backslash does not escape the closing quote of the name.
        {u"\"C:\\x\\\" y", u" y", u"\"C:\\p.exe\" y"},
        // An unquoted name runs to the first blank, quotes and all.
        {u"e\"d x\" y", u" x\" y", u"\"C:\\p.exe\" x\" y"},
        // An unterminated quote: the whole line is the name.
        {u"\"ed a b", u"", u"\"C:\\p.exe\""},
        {u"\"", u"", u"\"C:\\p.exe\""},
        {u"\"\" a", u" a", u"\"C:\\p.exe\" a"},
        {u"", u"", u"\"C:\\p.exe\""},
    };
    for (const auto& c : cases) {
        const size_t offset = CommandTailOffset(c.ownLine.data(), c.ownLine.size());
        EXPECT_EQ(c.ownLine.substr(offset), c.tail) << std::string(c.ownLine.begin(), c.ownLine.end());
        EXPECT_EQ(ChildLine(u"C:\\p.exe", c.ownLine), c.child) << std::string(c.ownLine.begin(), c.ownLine.end());
    }
    EXPECT_EQ(ChildLine(u"C:\\Program Files\\工具\\t.exe", u"ed -v"), u"\"C:\\Program Files\\工具\\t.exe\" -v");
}

TEST(LaunchCommandLineTest, PresetArgumentsTakeTheTypedWordsWhereTheySay) {
    // Variables as GetEnvironmentStrings gives them, a drive's folder first.
    const std::u16string environment(u"=C:=C:\\w\0HOME=C:\\Users\\u\0Key=k 1\0EMPTY=\0", 40);
    const struct {
        std::u16string preset;
        std::u16string ownLine;
        std::u16string child;
    } cases[] = {
        {u"-A -i key %*", u"ssh host -v", u"\"C:\\p.exe\" -A -i key host -v"},
        {u"%* -A", u"ssh host", u"\"C:\\p.exe\" host -A"},
        {u"-a %* -b", u"ssh x", u"\"C:\\p.exe\" -a x -b"},
        {u"%* -- %*", u"ssh x y", u"\"C:\\p.exe\" x y -- x y"},
        {u"-private", u"pf a b", u"\"C:\\p.exe\" -private a b"},
        // Nothing typed: the preset alone, `%*` giving nothing.
        {u"-private", u"pf", u"\"C:\\p.exe\" -private"},
        {u"-private", u"pf   ", u"\"C:\\p.exe\" -private"},
        {u"-a %* -b", u"pf", u"\"C:\\p.exe\" -a  -b"},
        // %% is one percent sign; %NAME% a variable, kept when it is unset.
        {u"100%% %HOME%\\x %home% %key%", u"t", u"\"C:\\p.exe\" 100% C:\\Users\\u\\x C:\\Users\\u k 1"},
        {u"%NOPE% %EMPTY%|", u"t", u"\"C:\\p.exe\" %NOPE% |"},
        {u"%NOPE%HOME% 50% %", u"t", u"\"C:\\p.exe\" %NOPEC:\\Users\\u 50% %"},
        {u"%=C:% %%* %*%", u"t z", u"\"C:\\p.exe\" C:\\w %* z%"},
        // What was typed is never expanded nor re-split: quotes, backslashes
        // before quotes, carets, ampersands, percent signs, tabs and
        // characters outside the BMP reach the program as typed.
        {u"-x %*", u"t \"a b\" \"c\\\"d\" e\\\\\" ^& %HOME% %% \tq 𝄞😀 ", 
         u"\"C:\\p.exe\" -x \"a b\" \"c\\\"d\" e\\\\\" ^& %HOME% %% \tq 𝄞😀 "},
        {u"", u"t a", u"\"C:\\p.exe\" a"},
        {u"%*", u"\"C:\\my tools\\t.exe\"\t\"x\"", u"\"C:\\p.exe\" \"x\""},
    };
    for (const auto& c : cases) {
        const size_t offset = CommandTailOffset(c.ownLine.data(), c.ownLine.size());
        const std::u16string arguments = Built([&](char16_t* out, size_t capacity) {
            return SpliceArguments(c.preset.data(), c.preset.size(), c.ownLine.data() + offset,
                                   c.ownLine.size() - offset, environment.data(), out, capacity);
        });
        EXPECT_EQ(ChildLine(u"C:\\p.exe", u"p " + arguments), c.child) << std::string(c.preset.begin(), c.preset.end());
    }
}

TEST(LaunchValueTest, ProgramPathAsTheShellReadsIt) {
    const struct {
        std::u16string value;
        std::u16string path;
    } cases[] = {
        {u"C:\\t\\ed.exe", u"C:\\t\\ed.exe"},
        {u"\"C:\\Program Files\\ed.exe\"", u"C:\\Program Files\\ed.exe"},
        {u"  \"C:\\a b\\ed.exe\"\t", u"C:\\a b\\ed.exe"},
        {u"C:\\a b\\ed.exe ", u"C:\\a b\\ed.exe"},
        // The value's own NUL and anything after it are not part of it.
        {std::u16string(u"C:\\ed.exe\0junk", 14), u"C:\\ed.exe"},
        // One pair of quotes only, and only a whole pair.
        {u"\"\"C:\\ed.exe\"\"", u"\"C:\\ed.exe\""},
        {u"\"C:\\ed.exe", u"\"C:\\ed.exe"},
        {u"C:\\ed.exe\"", u"C:\\ed.exe\""},
        {u"\"", u"\""},
        {u"\"\"", u""},
        {u"   ", u""},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Piece(c.value, ProgramPathOfValue(c.value.data(), c.value.size())), c.path)
            << std::string(c.value.begin(), c.value.end());
}

TEST(LaunchValueTest, OnlyAPathIndependentOfTheCurrentFolderIsStarted) {
    for (const std::u16string path : {u"C:\\t\\ed.exe", u"c:/t/ed.exe", u"\\\\server\\share\\ed.exe", u"\\\\?\\C:\\ed.exe"})
        EXPECT_TRUE(IsFullyQualifiedPath(path.data(), path.size())) << std::string(path.begin(), path.end());
    for (const std::u16string path : {u"ed.exe", u"t\\ed.exe", u"C:ed.exe", u"\\t\\ed.exe", u"\\\\", u"\\\\\\x", u"C:",
                                      u"1:\\ed.exe", u""})
        EXPECT_FALSE(IsFullyQualifiedPath(path.data(), path.size())) << std::string(path.begin(), path.end());
}

TEST(LaunchPathTest, ThePathValueGoesInFrontOfPath) {
    const struct {
        std::u16string extra;
        std::u16string current;
        std::u16string merged;
    } cases[] = {
        {u"C:\\a", u"C:\\Windows", u"C:\\a;C:\\Windows"},
        {u"C:\\a;C:\\b", u"C:\\Windows;C:\\x", u"C:\\a;C:\\b;C:\\Windows;C:\\x"},
        // No empty entry from a Path value that ends in semicolons.
        {u"C:\\a;", u"C:\\Windows", u"C:\\a;C:\\Windows"},
        {u"C:\\a;;;", u"C:\\Windows", u"C:\\a;C:\\Windows"},
        {u"", u"C:\\Windows", u"C:\\Windows"},
        {u";", u"C:\\Windows", u"C:\\Windows"},
        {u"C:\\a;", u"", u"C:\\a"},
        {u"", u"", u""},
        // PATH itself is kept as it is, an empty entry of its own included.
        {u"C:\\a", u";C:\\Windows;", u"C:\\a;;C:\\Windows;"},
        {u"C:\\工具 目录", u"C:\\Windows", u"C:\\工具 目录;C:\\Windows"},
        // Once: the shell that started the command put it in front already.
        {u"C:\\a;C:\\b", u"c:\\A;C:\\b;C:\\Windows", u"c:\\A;C:\\b;C:\\Windows"},
        {u"C:\\a;", u"C:\\a", u"C:\\a"},
        {u"C:\\a", u"C:\\ab;C:\\Windows", u"C:\\a;C:\\ab;C:\\Windows"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Built([&](char16_t* out, size_t capacity) {
                      return MergePathInFront(c.extra.data(), c.extra.size(), c.current.data(), c.current.size(), out,
                                              capacity);
                  }),
                  c.merged)
            << std::string(c.extra.begin(), c.extra.end());
}

TEST(LauncherModuleTest, CommandNameAndFolderOfTheLaunchersOwnPath) {
    const struct {
        std::u16string module;
        std::u16string name;
        std::u16string folder;
    } cases[] = {
        {u"C:\\Users\\u\\AppData\\Local\\Velmora\\bin\\ed.exe", u"ed", u"C:\\Users\\u\\AppData\\Local\\Velmora\\bin"},
        {u"C:\\bin\\Ed.EXE", u"Ed", u"C:\\bin"},
        {u"C:\\bin\\my.tool.exe", u"my.tool", u"C:\\bin"},
        // Only the last ".exe" goes.
        {u"C:\\bin\\a.exe.exe", u"a.exe", u"C:\\bin"},
        {u"C:\\bin\\tool", u"tool", u"C:\\bin"},
        {u"C:\\bin\\tool.com", u"tool.com", u"C:\\bin"},
        {u"C:\\bin\\.exe", u"", u"C:\\bin"},
        {u"C:\\ed.exe", u"ed", u"C:\\"},
        {u"\\\\server\\share\\工具.exe", u"工具", u"\\\\server\\share"},
        {u"C:/bin/ed.exe", u"ed", u"C:/bin"},
        {u"ed.exe", u"ed", u""},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        const std::string label(c.module.begin(), c.module.end());
        EXPECT_EQ(Piece(c.module, CommandNameOfModule(c.module.data(), c.module.size())), c.name) << label;
        EXPECT_EQ(Piece(c.module, FolderOfModule(c.module.data(), c.module.size())), c.folder) << label;
    }
}

TEST(LauncherModuleTest, TheMachinesFolderIsTheOneBelowProgramData) {
    const struct {
        std::u16string folder;
        std::u16string programData;
        bool machine;
    } cases[] = {
        {u"C:\\ProgramData\\Velmora\\bin", u"C:\\ProgramData", true},
        {u"c:\\programdata\\VELMORA\\Bin", u"C:\\ProgramData", true},
        {u"C:\\ProgramData\\Velmora\\bin\\", u"C:\\ProgramData\\", true},
        {u"C:/ProgramData/Velmora/bin", u"C:\\ProgramData", true},
        {u"D:\\Données\\Velmora\\bin", u"D:\\DONNÉES", true},
        {u"C:\\Users\\u\\AppData\\Local\\Velmora\\bin", u"C:\\ProgramData", false},
        {u"C:\\ProgramData\\Velmora", u"C:\\ProgramData", false},
        {u"C:\\ProgramData\\Velmora\\bin\\x", u"C:\\ProgramData", false},
        {u"C:\\ProgramData\\Velmora\\bins", u"C:\\ProgramData", false},
        // The options folder inside it, where the Run box starts commands with options.
        {u"C:\\ProgramData\\Velmora\\bin\\options", u"C:\\ProgramData", true},
        {u"C:\\programdata\\velmora\\BIN\\Options\\", u"C:\\ProgramData", true},
        {u"C:\\ProgramData\\Velmora\\options", u"C:\\ProgramData", false},
        {u"C:\\Users\\u\\AppData\\Local\\Velmora\\bin\\options", u"C:\\ProgramData", false},
        {u"C:\\ProgramDataX\\Velmora\\bin", u"C:\\ProgramData", false},
        {u"C:\\ProgramData\\Velmora\\bin", u"", false},
        {u"\\Velmora\\bin", u"\\", false},
        {u"", u"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsMachineLauncherFolder(c.folder.data(), c.folder.size(), c.programData.data(), c.programData.size()),
                  c.machine)
            << std::string(c.folder.begin(), c.folder.end());
}

TEST(LaunchTextTest, KeyAndProblemLines) {
    const std::u16string name = u"ed";
    EXPECT_EQ(Built([&](char16_t* out, size_t capacity) {
                  return AppPathsKeyOfCommand(name.data(), name.size(), out, capacity);
              }),
              u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ed.exe");
    const std::u16string path = u"C:\\x.exe";
    const std::u16string reason = u"系统找不到指定的文件。 \r\n";
    const struct {
        LaunchProblem problem;
        std::u16string line;
        std::u16string english;  // the user chose English
    } cases[] = {
        {LaunchProblem::kNotARunCommand, u"“ed”不是运行命令\r\n", u"\"ed\" is not a run command\r\n"},
        {LaunchProblem::kProgramMissing, u"运行命令“ed”的程序不存在：C:\\x.exe\r\n",
         u"The program of the run command \"ed\" does not exist: C:\\x.exe\r\n"},
        // The system's reason without its own line break.
        {LaunchProblem::kStartFailed, u"运行命令“ed”的程序无法启动：C:\\x.exe：系统找不到指定的文件。\r\n",
         u"The program of the run command \"ed\" cannot be started: C:\\x.exe: 系统找不到指定的文件。\r\n"},
        {LaunchProblem::kFolderMissing, u"运行命令“ed”的起始位置不存在：C:\\x.exe\r\n",
         u"The start-in folder of the run command \"ed\" does not exist: C:\\x.exe\r\n"},
        {LaunchProblem::kDeclined, u"未以管理员身份运行“ed”：已取消\r\n", u"\"ed\" was not run as administrator: cancelled\r\n"},
        {LaunchProblem::kStartsItself, u"运行命令“ed”的程序指向它自己的启动文件：C:\\x.exe\r\n",
         u"The program of the run command \"ed\" points to its own launcher: C:\\x.exe\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Built([&](char16_t* out, size_t capacity) {
                      return LaunchProblemLine(c.problem, name.data(), name.size(), path.data(), path.size(),
                                             reason.data(), reason.size(), out, capacity);
                  }),
                  c.line);
        EXPECT_EQ(Built([&](char16_t* out, size_t capacity) {
                      return LaunchProblemLine(c.problem, name.data(), name.size(), path.data(), path.size(),
                                             reason.data(), reason.size(), out, capacity, true);
                  }),
                  c.english);
    }
    // The remembered names that ask for English, as the windows write them
    // or a user might.
    for (const std::u16string english : {u"en", u"EN", u"en-US", u"En_gb"})
        EXPECT_TRUE(IsEnglishName(english.data(), english.size())) << std::string(english.begin(), english.end());
    for (const std::u16string other : {u"", u"e", u"zh", u"english", u"enx", u"fr-en"})
        EXPECT_FALSE(IsEnglishName(other.data(), other.size())) << std::string(other.begin(), other.end());
}

}  // namespace
