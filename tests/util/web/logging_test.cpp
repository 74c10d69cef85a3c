// Module directory, captions, the log writer and directory chains.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "base/filesystem.h"
#include "util/web/module_directory.h"
#include "velmora/logging.h"

namespace {

namespace fs = std::filesystem;
constexpr char kSep = velmora::kPathSeparator;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(content.substr(start, end - start));
    }
    EXPECT_EQ(content.size(), start) << "text after the last line break";
    return lines;
}

std::string LogDirectory() { return std::string(GetCurrWorkingDir().GetString()) + "log" + kSep; }

// Starts the helper program twice at once and waits for both.
void RunTwoWriters(const std::string& fileName, int lines) {
    const std::string writer = std::string(GetCurrWorkingDir().GetString()) +
#if defined(_WIN32)
                               "log_writer.exe";
    std::vector<PROCESS_INFORMATION> processes;
    for (const char* tag : {"A", "B"}) {
        std::string command = "\"" + writer + "\" " + fileName + " " + tag + " " + std::to_string(lines);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessA(writer.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        processes.push_back(process);
    }
    for (PROCESS_INFORMATION& process : processes) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        EXPECT_EQ(0u, code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
#else
                               "log_writer";
    std::vector<pid_t> children;
    for (const char* tag : {"A", "B"}) {
        const std::string count = std::to_string(lines);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            execl(writer.c_str(), writer.c_str(), fileName.c_str(), tag, count.c_str(), nullptr);
            _exit(127);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
#endif
}

TEST(ModuleDirectoryTest, IsTheExecutablesDirectoryWithSeparator) {
    const CString dir = GetCurrWorkingDir();
    ASSERT_FALSE(dir.IsEmpty());
    EXPECT_EQ(kSep, dir[dir.GetLength() - 1]);
    const std::string exe = velmora::ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(0, exe.rfind(dir.GetString(), 0));
    EXPECT_EQ(std::string::npos, exe.find(kSep, dir.GetLength()));
    EXPECT_EQ(dir, GetCurrWorkingDir());
}

TEST(ModuleDirectoryTest, CutAfterTheLastSeparatorCharacter) {
    auto cut = [](const std::string& path) {
        return path.substr(
            0, static_cast<size_t>(velmora::DirectoryPartLength(path.data(), static_cast<int>(path.size()))));
    };
    const std::string s(1, kSep);
    EXPECT_EQ("C:" + s + "a" + s + "b" + s, cut("C:" + s + "a" + s + "b" + s + "tool.exe"));
    EXPECT_EQ("", cut("tool.exe"));
    EXPECT_EQ(s, cut(s + "tool"));
#if defined(_WIN32)
    // 0x95 0x5C is one GBK character whose second byte is a backslash.
    EXPECT_EQ("C:\\a\\", cut("C:\\a\\\x95\x5Ctool.exe"));
    EXPECT_EQ("C:\\\x95\x5C\\", cut("C:\\\x95\x5C\\tool.exe"));
#endif
}

TEST(ModuleDirectoryTest, ConcurrentFirstCallsAgree) {
    std::vector<std::thread> threads;
    std::vector<CString> seen(8);
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = GetCurrWorkingDir(); });
    }
    for (std::thread& t : threads) t.join();
    for (const CString& dir : seen) EXPECT_EQ(GetCurrWorkingDir(), dir);
}

TEST(CaptionTest, DifferentStableLowerHexTexts) {
    const CString svr = GetSvrCaption();
    const CString ui = GetUICaption();
    EXPECT_TRUE(std::regex_match(svr.GetString(), std::regex("[0-9a-f]{32}")));
    EXPECT_TRUE(std::regex_match(ui.GetString(), std::regex("[0-9a-f]{32}")));
    EXPECT_NE(svr, ui);
    EXPECT_EQ(svr, GetSvrCaption());
    EXPECT_EQ(ui, GetUICaption());
}

TEST(LogMsgTest, AppendsStampedLines) {
    const std::string path = LogDirectory() + "append_test.log";
    fs::create_directories(LogDirectory());
    std::remove(path.c_str());
    {
        std::ofstream earlier(path, std::ios::binary);
        earlier << "earlier line\r\n";
    }
    LogMsg("hello", "append_test.log");
    LogMsg("100% \xD6\xD0 %s", "append_test.log");
    const std::vector<std::string> lines = SplitLines(ReadFile(path));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("earlier line", lines[0]);
    const std::regex stamped("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d (0|[1-9]\\d{0,2})\t(.*)");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[1], match, stamped)) << lines[1];
    EXPECT_EQ("hello", match[2].str());
    ASSERT_TRUE(std::regex_match(lines[2], match, stamped)) << lines[2];
    EXPECT_EQ("100% \xD6\xD0 %s", match[2].str());
}

TEST(LogMsgTest, MissingSubdirectoryLosesTheLineQuietly) {
    const std::string name = std::string("no_such_dir") + kSep + "x.log";
    fs::remove_all(LogDirectory() + "no_such_dir");
    LogMsg("lost", name.c_str());
    EXPECT_FALSE(fs::exists(LogDirectory() + name));
    LogMsg(nullptr, nullptr);  // no crash, nothing written

    // Once the subdirectory exists the line is written.
    fs::create_directories(LogDirectory() + "no_such_dir");
    LogMsg("kept", name.c_str());
    EXPECT_NE(std::string::npos, ReadFile(LogDirectory() + name).find("\tkept\r\n"));
    fs::remove_all(LogDirectory() + "no_such_dir");
}

TEST(LogMsgTest, TwoProcessesLoseAndInterleaveNothing) {
    const std::string path = LogDirectory() + "two_writers.log";
    LogMsg("create the directory", "two_writers.log");
    std::remove(path.c_str());
    RunTwoWriters("two_writers.log", 500);

    const std::vector<std::string> lines = SplitLines(ReadFile(path));
    EXPECT_EQ(1000u, lines.size());
    const std::regex line("\\S+ \\S+ \\d+\twriter ([AB]) line (\\d+) \\.{150}");
    std::map<std::string, int> next;
    for (const std::string& text : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(text, match, line)) << text;
        EXPECT_EQ(next[match[1].str()]++, std::stoi(match[2].str())) << text;
    }
    EXPECT_EQ(500, next["A"]);
    EXPECT_EQ(500, next["B"]);
}

TEST(CreateMultipleDirectoryTest, CreatesEveryNamedLevel) {
    const std::string root = std::string(GetCurrWorkingDir().GetString()) + "mkdirs_test";
    fs::remove_all(root);
    const std::string s(1, kSep);
    EXPECT_NE(0, CreateMultipleDirectory((root + s + "t" + s + "u" + s + "v" + s).c_str()));
    EXPECT_TRUE(fs::is_directory(root + s + "t" + s + "u" + s + "v"));
    // Existing last directory: 0, although everything exists.
    EXPECT_EQ(0, CreateMultipleDirectory((root + s + "t" + s + "u" + s + "v" + s).c_str()));
    // The text after the last separator is not created.
    EXPECT_NE(0, CreateMultipleDirectory((root + s + "a" + s + "b" + s + "c").c_str()));
    EXPECT_TRUE(fs::is_directory(root + s + "a" + s + "b"));
    EXPECT_FALSE(fs::exists(root + s + "a" + s + "b" + s + "c"));
    EXPECT_EQ(0, CreateMultipleDirectory("no_separator_here"));
    EXPECT_FALSE(fs::exists("no_separator_here"));
    EXPECT_EQ(0, CreateMultipleDirectory(""));
    EXPECT_EQ(0, CreateMultipleDirectory(nullptr));
    fs::remove_all(root);
}

}  // namespace
