// The walk against the executables and libraries that Wine ships, compared
// with what wrestool (icoutils) lists for the same files.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/launcher/ProgramKind.h"
#include "icons/pe_resources.h"

namespace velmora {
namespace {

// Regular files of a directory. (<filesystem> pulls in <chrono>, whose
// literals do not convert to the GBK execution character set.)
std::vector<std::string> RegularFiles(const std::string& directory) {
    std::vector<std::string> files;
    if (DIR* dir = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string path = directory + "/" + entry->d_name;
            struct stat info {};
            if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) files.push_back(path);
        }
        closedir(dir);
    }
    return files;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A folder of Wine's images that scripts/fetch-wine-images.sh prepared,
// named by an environment variable that ctest sets.
std::string ImagesDirectory(const char* variable) {
    const char* directory = std::getenv(variable);
    return directory != nullptr ? directory : "";
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Distinct group names that `wrestool -l --type=14` lists.
std::size_t WrestoolGroupCount(const std::string& path) {
    const std::string command = "wrestool -l --type=14 '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return SIZE_MAX;
    std::set<std::string> names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        const std::string text(line);
        const auto start = text.find("--name=");
        if (start == std::string::npos) continue;
        names.insert(text.substr(start, text.find(" --language", start) - start));
    }
    pclose(pipe);
    return names.size();
}

struct DirectoryResult {
    std::size_t files = 0;
    std::size_t withGroups = 0;
    std::size_t with48 = 0;
};

// Compares every file of a directory; returns what was seen.
DirectoryResult CompareDirectory(const std::string& directory) {
    DirectoryResult result;
    for (const std::string& path : RegularFiles(directory)) {
        ++result.files;
        const auto bytes = ReadWholeFile(path);
        const auto resources = FindResourceDirectory(bytes);
        const std::size_t ours = resources ? CountResourceEntries(*resources, kResourceTypeGroupIcon) : 0;
        EXPECT_EQ(ours, WrestoolGroupCount(path)) << path;
        if (ours == 0) continue;
        ++result.withGroups;

        // Every group is readable, and the best 48 x 48 image of the first
        // group is a DIB of 48 pixels when the group offers that size.
        for (std::uint32_t i = 0; i < ours; ++i) {
            EXPECT_TRUE(IsIconGroup(FindResourceData(*resources, i, kResourceTypeGroupIcon)))
                << path << " group " << i;
        }
        const Bytes group = FindResourceData(*resources, 0, kResourceTypeGroupIcon);
        const std::uint16_t id = PickIconImageId(group, 48, 48, 32);
        const Bytes image = FindResourceData(*resources, -static_cast<std::int64_t>(id), kResourceTypeIcon);
        EXPECT_FALSE(image.empty()) << path;
        bool offers48 = false;
        for (std::size_t at = 6; at + 14 <= group.size(); at += 14) offers48 |= group[at] == 48;
        if (offers48 && IsDibIconImage(image)) {
            EXPECT_EQ(*ReadU32(image, 4), 48u) << path;
            ++result.with48;
        }
    }
    return result;
}

TEST(RealFiles, Wine32GroupCountsEqualWrestool) {
    const std::string directory = ImagesDirectory("VELMORA_WINE32_DIR");
    ASSERT_TRUE(IsDirectory(directory)) << "VELMORA_WINE32_DIR: '" << directory << "' is no folder";
    const DirectoryResult result = CompareDirectory(directory);
    EXPECT_GT(result.withGroups, 10u);
    EXPECT_GT(result.with48, 0u);
    std::printf("i386: %zu files, %zu with icon groups, %zu with a 48 x 48 image\n", result.files,
                result.withGroups, result.with48);
}

TEST(RealFiles, Wine64GroupCountsEqualWrestool) {
    const std::string directory = ImagesDirectory("VELMORA_WINE64_DIR");
    ASSERT_TRUE(IsDirectory(directory)) << "VELMORA_WINE64_DIR: '" << directory << "' is no folder";
    const DirectoryResult result = CompareDirectory(directory);
    EXPECT_GT(result.withGroups, 10u);
    std::printf("x86_64: %zu files, %zu with icon groups, %zu with a 48 x 48 image\n", result.files,
                result.withGroups, result.with48);
}

// The launcher kind of Wine's own programs, from their headers: windowed
// ones and console ones; its DLLs are no program at all.
TEST(RealFiles, ProgramKindsOfWinesPrograms) {
    struct Row {
        const char* file;
        ProgramKind kind;
    } const rows[] = {
        {"notepad.exe", ProgramKind::kWindows}, {"winemine.exe", ProgramKind::kWindows},
        {"cmd.exe", ProgramKind::kConsole},     {"reg.exe", ProgramKind::kConsole},
        {"kernel32.dll", ProgramKind::kNotAProgram},
    };
    for (const char* variable : {"VELMORA_WINE32_DIR", "VELMORA_WINE64_DIR"}) {
        const std::string directory = ImagesDirectory(variable);
        ASSERT_TRUE(IsDirectory(directory)) << variable;
        for (const Row& row : rows) {
            const std::vector<std::uint8_t> bytes = ReadWholeFile(directory + "/" + row.file);
            ASSERT_FALSE(bytes.empty()) << directory << "/" << row.file;
            EXPECT_EQ(ProgramKindOf(bytes.data(), bytes.size()), row.kind) << variable << " " << row.file;
            // The headers alone decide: the first 4 KiB give the same answer.
            EXPECT_EQ(ProgramKindOf(bytes.data(), std::min<std::size_t>(4096, bytes.size())), row.kind)
                << variable << " " << row.file;
        }
    }
}

}  // namespace
}  // namespace velmora
