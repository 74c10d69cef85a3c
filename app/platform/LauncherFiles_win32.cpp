#include "app/platform/LauncherFiles_win32.h"

#include <windows.h>

#include "app/launcher/program/LaunchRules.h"
#include "app/platform/TargetFile_win32.h"
#include "app/platform/WholeFile_win32.h"
#include "base/win32_handles.h"

namespace {

using velmora::WinText;

// A file in a launcher folder larger than this is no launcher: it is not
// read to be put back, and a change that would replace it is refused.
constexpr std::size_t kLargestFileKept = 16u << 20;

CStringW EnvironmentVariable(const char16_t* name) {
    return velmora::ReadGrowingText([&](char16_t* buffer, std::size_t capacity) -> std::size_t {
        return ::GetEnvironmentVariableW(WinText(name), velmora::WinBuffer(buffer),
                                         static_cast<DWORD>(capacity));
    });
}

bool ResourceLauncher(ProgramKind kind, std::vector<unsigned char>* pBytes) {
    const int id = kind == ProgramKind::kWindows ? kWindowsLauncherResource : kConsoleLauncherResource;
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (found == nullptr) return false;
    const DWORD size = ::SizeofResource(self, found);
    HGLOBAL loaded = ::LoadResource(self, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    pBytes->assign(bytes, bytes + size);
    return true;
}

// Makes `folder` and every folder above it that is missing.
bool MakeFolders(const CStringW& folder) {
    const DWORD attributes = ::GetFileAttributesW(WinText(folder));
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const int slash = folder.ReverseFind(u'\\');
    if (slash > 2 && !MakeFolders(folder.Left(slash))) return false;
    return ::CreateDirectoryW(WinText(folder), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteFileBytes(const CStringW& path, const std::vector<unsigned char>& bytes) {
    const velmora::OwnedFile file(::CreateFileW(WinText(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

LauncherFolders DefaultLauncherFolders() {
    CStringW machine = EnvironmentVariable(u"ProgramData");
    if (machine.IsEmpty()) machine = EnvironmentVariable(u"ALLUSERSPROFILE");
    // The launchers find their scope by these same folders.
    const CStringW tail = CStringW(u"\\") + velmora::launcher::kLauncherFolderTail;
    return {EnvironmentVariable(u"LOCALAPPDATA") + tail, machine + tail};
}

Win32LauncherFiles::Win32LauncherFiles(LauncherFolders folders, LauncherBytes launchers,
                                       FolderSecurityCalls security)
    : m_folders(std::move(folders)),
      m_launchers(launchers ? std::move(launchers) : LauncherBytes(&ResourceLauncher)),
      m_security(security.createDirectory ? std::move(security) : SystemFolderSecurityCalls()) {}

CStringW Win32LauncherFiles::Folder(RunScope scope) const {
    return scope == RunScope::kCurrentUser ? m_folders.user : m_folders.machine;
}

bool Win32LauncherFiles::Exists(const CStringW& file) const {
    const DWORD attributes = ::GetFileAttributesW(WinText(PathToReadHere(file)));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32LauncherFiles::ReadHead(const CStringW& file, std::vector<unsigned char>* pHead) const {
    const velmora::OwnedFile opened(::CreateFileW(WinText(file), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened) return false;
    pHead->assign(kProgramHeadBytes, 0);
    DWORD read = 0;
    if (!::ReadFile(opened.Get(), pHead->data(), static_cast<DWORD>(pHead->size()), &read, nullptr))
        return false;
    pHead->resize(read);
    return true;
}

bool Win32LauncherFiles::ReadWhole(const CStringW& file, std::vector<unsigned char>* pBytes) const {
    return ReadWholeFile(file, kLargestFileKept, *pBytes) == ERROR_SUCCESS;
}

bool Win32LauncherFiles::WriteLauncher(const CStringW& file, ProgramKind kind) {
    std::vector<unsigned char> bytes;
    return m_launchers(kind, &bytes) && WriteWhole(file, bytes);
}

bool Win32LauncherFiles::WriteWhole(const CStringW& file, const std::vector<unsigned char>& bytes) {
    const int slash = file.ReverseFind(u'\\');
    if (slash <= 0 || !MakeFolders(file.Left(slash))) return false;
    // Written beside it first, so that a failure leaves the old launcher.
    const CStringW fresh = file + u".new";
    if (!WriteFileBytes(fresh, bytes)) {
        ::DeleteFileW(WinText(fresh));
        return false;
    }
    if (!::MoveFileExW(WinText(fresh), WinText(file), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(WinText(fresh));
        return false;
    }
    return true;
}

bool Win32LauncherFiles::Remove(const CStringW& file) {
    if (::DeleteFileW(WinText(file))) return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::vector<CStringW> Win32LauncherFiles::LauncherNames(RunScope scope) const {
    std::vector<CStringW> names;
    WIN32_FIND_DATAW found{};
    const velmora::OwnedFindFile search(::FindFirstFileW(WinText(Folder(scope) + u"\\*.exe"), &found));
    if (!search) return names;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const CStringW name = velmora::FromWin(found.cFileName);
        // "*.exe" also matches longer extensions through short names.
        if (name.GetLength() > 4 && velmora::CompareNoCase(name.Right(4), u".exe") == 0) {
            names.push_back(name.Left(name.GetLength() - 4));
        }
    } while (::FindNextFileW(search.Get(), &found));
    return names;
}

std::vector<CStringW> Win32LauncherFiles::FileNamesIn(const CStringW& folder) const {
    std::vector<CStringW> names;
    if (folder.IsEmpty()) return names;
    const CStringW pattern = PathToReadHere(folder.back() == u'\\' ? folder + u"*" : folder + u"\\*");
    WIN32_FIND_DATAW found{};
    const velmora::OwnedFindFile search(::FindFirstFileExW(WinText(pattern), FindExInfoBasic, &found,
                                                           FindExSearchNameMatch, nullptr,
                                                           FIND_FIRST_EX_LARGE_FETCH));
    if (!search) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(velmora::FromWin(found.cFileName));
    } while (::FindNextFileW(search.Get(), &found));
    return names;
}

CStringW Win32LauncherFiles::Expand(const CStringW& text) const {
    if (text.Find(u'%') < 0) return text;
    return velmora::ReadGrowingText([&](char16_t* buffer, std::size_t capacity) -> std::size_t {
        // The count includes the terminating zero when the text fits.
        const DWORD needed = ::ExpandEnvironmentStringsW(WinText(text), velmora::WinBuffer(buffer),
                                                         static_cast<DWORD>(capacity));
        return needed == 0 ? 0 : needed <= capacity ? needed - 1 : needed;
    });
}

void Win32LauncherFiles::AnnounceEnvironmentChange() {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                          SMTO_ABORTIFHUNG, 2000, &ignored);
}

LauncherFiles::FolderSecurityRead Win32LauncherFiles::ReadFolderSecurity(const CStringW& folder) const {
    return ::ReadFolderSecurity(m_security, folder);
}

bool Win32LauncherFiles::MakeFolder(const CStringW& folder, const CStringW& sddl) {
    return MakeFolderWithSecurity(m_security, folder, sddl);
}

bool Win32LauncherFiles::SetFolderSecurity(const CStringW& folder, const CStringW& sddl) {
    return ::SetFolderSecurity(m_security, folder, sddl);
}

bool Win32LauncherFiles::FolderExists(const CStringW& folder) const {
    const DWORD attributes = ::GetFileAttributesW(WinText(folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
