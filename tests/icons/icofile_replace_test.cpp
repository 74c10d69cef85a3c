// AfxSaveHICON2File under Wine: how the file takes the target's place. An
// existing target keeps its access rules and attributes, targets that
// creating the file anew would refuse are left alone, a directory without
// room for a temporary name is written directly, paths relative to a drive
// are resolved first, and no failure leaves a temporary file behind.
#include <windows.h>
// after windows.h, which it needs
#include <gtest/gtest.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "icons/extract_icons.h"
#include "tests/icons/win32_test_support.h"
#include "velmora/icofile.h"

namespace velmora {
namespace {

using namespace velmora::testing;

constexpr std::size_t kIcon16Bytes = 1150;
const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};

struct ShellIcon {
    HICON icon = nullptr;
    ShellIcon() {
        const std::string shell32 = Wine32Directory() + "\\shell32.dll";
        ExtractFileIcons(shell32.c_str(), 0, 16, 16, &icon, nullptr, 1, LR_COLOR);
    }
    ~ShellIcon() {
        if (icon) DestroyIcon(icon);
    }
};

std::string AccessRules(const std::string& path) {
    DWORD needed = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<std::uint8_t> descriptor(needed);
    if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        return "";
    char* text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
    std::string rules = text != nullptr ? text : "";
    LocalFree(text);
    return rules;
}

bool SetAccessRules(const std::string& path, const std::string& sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    const bool set = SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor) != FALSE;
    LocalFree(descriptor);
    return set;
}

std::string CurrentUserSid() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    std::vector<std::uint8_t> buffer(256);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size);
    CloseHandle(token);
    char* text = nullptr;
    ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text);
    std::string sid = text != nullptr ? text : "";
    LocalFree(text);
    return sid;
}

TEST(AfxSaveHICON2FileReplace, AnExistingTargetKeepsItsAccessRulesAndAttributes) {
    const ShellIcon shell;
    ASSERT_NE(shell.icon, nullptr);
    const std::string dir = MakeScratchDirectory("keep");
    const std::string target = dir + "\\kept.ico";
    ASSERT_TRUE(WriteFileBytes(target, kOld));
    // Only the system and this user, no one else: not what a new file gets.
    const std::string rules = "D:P(A;;FA;;;SY)(A;;FA;;;" + CurrentUserSid() + ")";
    ASSERT_TRUE(SetAccessRules(target, rules));
    const std::string before = AccessRules(target);
    const DWORD attributes = GetFileAttributesA(target.c_str());
    ASSERT_NE(before, AccessRules(dir)) << "the target's rules differ from what a new file inherits";

    AfxSaveHICON2File(shell.icon, target.c_str());
    EXPECT_EQ(ReadFileBytes(target).size(), kIcon16Bytes);
    EXPECT_EQ(AccessRules(target), before);
    EXPECT_EQ(GetFileAttributesA(target.c_str()), attributes);
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"kept.ico"});
}

TEST(AfxSaveHICON2FileReplace, TargetsThatCreatingAnewRefusesAreLeftAlone) {
    const ShellIcon shell;
    const std::string dir = MakeScratchDirectory("refused");
    for (DWORD refused : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        const std::string target = dir + "\\refused.ico";
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WriteFileBytes(target, kOld));
        ASSERT_TRUE(SetFileAttributesA(target.c_str(), refused));
        AfxSaveHICON2File(shell.icon, target.c_str());
        EXPECT_EQ(ReadFileBytes(target), kOld) << refused;
        EXPECT_EQ(GetFileAttributesA(target.c_str()) & refused, refused);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // A directory at the path, and a file in use by a program that lets
    // others read it only.
    const std::string folder = dir + "\\folder.ico";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    AfxSaveHICON2File(shell.icon, folder.c_str());
    EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(FilesIn(folder).empty());
    const std::string busy = dir + "\\busy.ico";
    ASSERT_TRUE(WriteFileBytes(busy, kOld));
    HANDLE reader =
        CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    AfxSaveHICON2File(shell.icon, busy.c_str());
    CloseHandle(reader);
    EXPECT_EQ(ReadFileBytes(busy), kOld);

    // No temporary file from any of them.
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"busy.ico", "refused.ico"}));
}

TEST(AfxSaveHICON2FileReplace, WithoutRoomForATemporaryNameTheTargetIsWrittenDirectly) {
    const ShellIcon shell;
    // A directory whose path leaves fewer than 14 characters of the path
    // limit: no temporary name fits beside the target, the target does.
    std::string dir = MakeScratchDirectory("long");
    dir += "\\" + std::string(MAX_PATH - 14 + 1 - dir.size() - 1, 'd');
    ASSERT_EQ(dir.size(), MAX_PATH - 14 + 1u);
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << GetLastError();
    const std::string target = dir + "\\a.ico";
    AfxSaveHICON2File(shell.icon, target.c_str());
    EXPECT_EQ(ReadFileBytes(target).size(), kIcon16Bytes) << "a new file";
    ASSERT_TRUE(WriteFileBytes(target, kOld));
    AfxSaveHICON2File(shell.icon, target.c_str());
    EXPECT_EQ(ReadFileBytes(target).size(), kIcon16Bytes) << "an existing file";
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"a.ico"});
}

TEST(AfxSaveHICON2FileReplace, ARenameThatFailsRemovesTheTemporaryFile) {
    const ShellIcon shell;
    const std::string dir = MakeScratchDirectory("rename");
    // The directory takes a temporary file; the name itself is refused by
    // the file system only when the temporary file is moved to it.
    AfxSaveHICON2File(shell.icon, (dir + "\\no<such>name.ico").c_str());
    EXPECT_TRUE(FilesIn(dir).empty());
}

TEST(AfxSaveHICON2FileReplace, APathRelativeToADriveIsResolvedFirst) {
    const ShellIcon shell;
    const std::string dir = MakeScratchDirectory("drive");
    ASSERT_EQ(dir.substr(0, 2), "C:");
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    // The current directory is on another drive; drive C: remembers its own.
    SetEnvironmentVariableA("=C:", dir.c_str());
    ASSERT_TRUE(SetCurrentDirectoryA("Z:\\"));
    AfxSaveHICON2File(shell.icon, "C:drive-relative.ico");
    SetCurrentDirectoryA(previous);
    SetEnvironmentVariableA("=C:", nullptr);
    EXPECT_EQ(ReadFileBytes(dir + "\\drive-relative.ico").size(), kIcon16Bytes);
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"drive-relative.ico"});
    EXPECT_EQ(GetFileAttributesA("Z:\\drive-relative.ico"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace velmora
