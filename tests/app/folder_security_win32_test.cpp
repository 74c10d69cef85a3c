// The machine's launcher folder on Windows. Wine keeps no security
// descriptor for a folder (it reads back its own default), so the system's
// security calls are watched through their seam: the descriptor handed to
// the create and set calls, read back as SDDL; a folder reading as Windows
// makes a %ProgramData% subfolder repaired, or, when the system refuses,
// nothing written and PATH as it was (read back from the registry).
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <sddl.h>

#include <map>
#include <string>
#include <vector>

#include "app/launcher/Launchers.h"
#include "app/platform/LauncherFiles_win32.h"
#include "app/platform/WholeFile_win32.h"
#include "app/runcmd/FolderSecurity.h"
#include "dialog_harness.h"
#include "fixed_prompts.h"

namespace {

constexpr char16_t kAppPaths[] = u"Software\\VelmoraTest\\FolderSecurity\\AP";
constexpr char16_t kEnvironment[] = u"Software\\VelmoraTest\\FolderSecurity\\Environment";
constexpr char16_t kProgramDataDefault[] =
    u"O:BAG:SYD:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIIOID;FA;;;CO)(A;OICIID;0x1200a9;;;BU)"
    u"(A;CIID;DCLCRPCR;;;BU)";

// The system's calls, each recorded as "create|set FOLDER SDDL"; reads of
// the folders in `reads` hand back that SDDL as their descriptor.
struct RecordedSecurity {
    std::vector<std::string> calls;
    std::map<CStringW, CStringW> reads;
    bool refuse = false;

    FolderSecurityCalls Calls() {
        FolderSecurityCalls system = SystemFolderSecurityCalls();
        FolderSecurityCalls seam = system;
        seam.createDirectory = [this](LPCWSTR folder, LPSECURITY_ATTRIBUTES attributes) {
            calls.push_back("create " + N(velmora::FromWin(folder)) + " " +
                            N(DescriptorSddl(attributes != nullptr ? attributes->lpSecurityDescriptor : nullptr)));
            return ::CreateDirectoryW(folder, nullptr);
        };
        seam.setSecurity = [this](LPCWSTR folder, SECURITY_INFORMATION what, PSID owner, PACL dacl) -> DWORD {
            SECURITY_DESCRIPTOR handed;
            ::InitializeSecurityDescriptor(&handed, SECURITY_DESCRIPTOR_REVISION);
            if ((what & OWNER_SECURITY_INFORMATION) != 0) ::SetSecurityDescriptorOwner(&handed, owner, FALSE);
            if ((what & DACL_SECURITY_INFORMATION) != 0) ::SetSecurityDescriptorDacl(&handed, TRUE, dacl, FALSE);
            if ((what & PROTECTED_DACL_SECURITY_INFORMATION) != 0)
                ::SetSecurityDescriptorControl(&handed, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
            calls.push_back("set " + N(velmora::FromWin(folder)) + " " + N(DescriptorSddl(&handed)));
            return refuse ? static_cast<DWORD>(ERROR_ACCESS_DENIED) : static_cast<DWORD>(ERROR_SUCCESS);
        };
        seam.getSecurity = [this, system](LPCWSTR folder, SECURITY_INFORMATION what,
                                          PSECURITY_DESCRIPTOR* pDescriptor) -> DWORD {
            const auto read = reads.find(velmora::FromWin(folder));
            if (read == reads.end()) return system.getSecurity(folder, what, pDescriptor);
            return ::ConvertStringSecurityDescriptorToSecurityDescriptorW(velmora::WinText(read->second),
                                                                        SDDL_REVISION_1, pDescriptor, nullptr)
                       ? static_cast<DWORD>(ERROR_SUCCESS)
                       : ::GetLastError();
        };
        return seam;
    }
};

class FolderSecurityWin32Test : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        root = W(std::string(temp) + "velmora-folder-security");
        velmora = root + u"\\Velmora";
        bin = velmora + u"\\bin";
        Clean();
        ::CreateDirectoryW(velmora::WinText(root), nullptr);
        WriteValue(HKEY_LOCAL_MACHINE, (std::u16string(kAppPaths) + u"\\ed.exe").c_str(), "", ModulePath());
        WriteValue(HKEY_LOCAL_MACHINE, kEnvironment, "Path", "C:\\keep");
    }
    void TearDown() override { Clean(); }
    void Clean() {
        ::DeleteFileW(velmora::WinText(bin + u"\\ed.exe"));
        ::RemoveDirectoryW(velmora::WinText(bin));
        ::RemoveDirectoryW(velmora::WinText(velmora));
        ::RemoveDirectoryW(velmora::WinText(root));
        DeleteTree(HKEY_LOCAL_MACHINE, u"Software\\VelmoraTest\\FolderSecurity");
        DeleteTree(HKEY_CURRENT_USER, u"Software\\VelmoraTest\\FolderSecurity");
    }
    // Turns `ed` on for terminals in the machine's scope, as an administrator.
    ChangeResult TurnOnEd() {
        Win32LauncherFiles files({root + u"\\user", bin},
                                 [](ProgramKind, std::vector<unsigned char>* pBytes) {
                                     return ReadWholeFile(W(VELMORA_LAUNCHER_CONSOLE_EXE), 1 << 20, *pBytes) ==
                                            ERROR_SUCCESS;
                                 },
                                 security.Calls());
        AppServices services = ServicesOverScratchKey(kAppPaths);
        Launchers launchers(*services.registry, services.place, files, {kEnvironment, kEnvironment});
        FixedPrompts prompts;
        RunCommandStore store(*services.registry, services.place, {RunScope::kLocalMachine, true}, prompts,
                              [](const CStringW&) { return true; }, &launchers);
        const std::optional<RunEntry> ed = store.Find(RunScope::kLocalMachine, u"ed");
        return ed ? store.SetTerminal({*ed}, true).results.at(0) : ChangeResult::kNotFound;
    }
    std::string Path() {
        std::string path;
        DWORD type = 0;
        ReadValue(HKEY_LOCAL_MACHINE, N(kEnvironment).c_str(), "Path", &path, &type);
        return path.c_str();
    }
    bool Marked() {
        std::string mark;
        DWORD type = 0;
        return ReadValue(HKEY_LOCAL_MACHINE, N(std::u16string(kAppPaths) + u"\\ed.exe").c_str(), "VelmoraTerminal",
                         &mark, &type);
    }
    bool LauncherThere() { return ::GetFileAttributesW(velmora::WinText(bin + u"\\ed.exe")) != INVALID_FILE_ATTRIBUTES; }

    CStringW root, velmora, bin;
    RecordedSecurity security;
};

// What the calls are handed, as the system writes it back as SDDL.
const std::string kOwner = "O:BA";
const std::string kDacl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;AU)";

TEST_F(FolderSecurityWin32Test, NewFoldersAreCreatedWithTheProtectedDescriptor) {
    EXPECT_EQ(TurnOnEd(), ChangeResult::kDone);
    EXPECT_EQ(security.calls, (std::vector<std::string>{"create " + N(velmora) + " " + kOwner + kDacl,
                                                        "create " + N(bin) + " " + kOwner + kDacl}));
    EXPECT_TRUE(LauncherThere());
    EXPECT_EQ(Path(), "C:\\keep;" + N(bin));
}

TEST_F(FolderSecurityWin32Test, AProgramDataSubfolderIsRepairedOrRefusedWithPathUntouched) {
    ::CreateDirectoryW(velmora::WinText(velmora), nullptr);
    ::CreateDirectoryW(velmora::WinText(bin), nullptr);
    security.reads = {{velmora, kLauncherFolderSddl}, {bin, kProgramDataDefault}};
    EXPECT_EQ(JudgeFolderSddl(kProgramDataDefault).flaw, FolderFlaw::kGrants);

    security.refuse = true;  // as the system refuses a standard user
    EXPECT_EQ(TurnOnEd(), ChangeResult::kFolderUnsafe);
    // Refused, the owner is asked for once more with the privilege to take it.
    EXPECT_EQ(security.calls, (std::vector<std::string>(2, "set " + N(bin) + " " + kOwner)));
    EXPECT_EQ(Path(), "C:\\keep");
    EXPECT_FALSE(Marked());
    EXPECT_FALSE(LauncherThere());

    security.calls.clear();
    security.refuse = false;
    EXPECT_EQ(TurnOnEd(), ChangeResult::kDone);
    EXPECT_EQ(security.calls,
              (std::vector<std::string>{"set " + N(bin) + " " + kOwner, "set " + N(bin) + " " + kDacl}));
    EXPECT_EQ(Path(), "C:\\keep;" + N(bin));
    EXPECT_TRUE(Marked());
    EXPECT_TRUE(LauncherThere());
}

}  // namespace
