#include "app/platform/Shortcuts_win32.h"

#include <windows.h>
// after windows.h, which they need
#include <shlobj.h>
#include <shobjidl.h>

#include "app/platform/TargetFile_win32.h"
#include "base/com_object_win32.h"

namespace {

using velmora::ComApartment;
using velmora::ComObject;

ComObject<IShellLinkW> NewShellLink() {
    ComObject<IShellLinkW> link;
    ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                       reinterpret_cast<void**>(link.Put()));
    return link;
}

// The folder part of `path`, without its last backslash; empty when none.
CStringW FolderOf(const CStringW& path) {
    const int slash = path.ReverseFind(u'\\');
    return slash > 0 ? path.Left(slash) : CStringW();
}

}  // namespace

bool ReadShortcutTarget(const CStringW& file, CStringW* pTarget) {
    const ComApartment apartment;
    const ComObject<IShellLinkW> link = NewShellLink();
    if (!link) return false;
    const ComObject<IPersistFile> persist = link.As<IPersistFile>(IID_IPersistFile);
    if (!persist || FAILED(persist->Load(velmora::WinText(file), STGM_READ))) return false;
    // Only what the file stores: Resolve, which may search for a moved
    // target or show a window, is never called.
    const CStringW target =
        velmora::ReadGrowingText([&](char16_t* buffer, std::size_t capacity) -> std::size_t {
            buffer[0] = 0;
            if (link->GetPath(velmora::WinBuffer(buffer), static_cast<int>(capacity), nullptr, 0) != S_OK)
                return 0;
            const std::size_t length = std::char_traits<char16_t>::length(buffer);
            // A path that filled the buffer may have been cut: ask again, larger.
            return length + 1 >= capacity ? capacity : length;
        });
    if (target.empty()) return false;
    *pTarget = target;
    return true;
}

bool WriteShortcut(const CStringW& file, const CStringW& target, const CStringW& arguments) {
    const ComApartment apartment;
    const ComObject<IShellLinkW> link = NewShellLink();
    if (!link) return false;
    if (FAILED(link->SetPath(velmora::WinText(target))) ||
        FAILED(link->SetArguments(velmora::WinText(arguments))) ||
        FAILED(link->SetWorkingDirectory(velmora::WinText(FolderOf(target)))) ||
        FAILED(link->SetIconLocation(velmora::WinText(target), 0)))
        return false;
    const ComObject<IPersistFile> persist = link.As<IPersistFile>(IID_IPersistFile);
    return persist && SUCCEEDED(persist->Save(velmora::WinText(file), TRUE));
}

CStringW UserSendToFolder() {
    const ComApartment apartment;
    // Through the known-folder manager: no import of shell32 is added to the
    // program, which binds the shell's functions on first use.
    ComObject<IKnownFolderManager> manager;
    if (FAILED(::CoCreateInstance(CLSID_KnownFolderManager, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IKnownFolderManager, reinterpret_cast<void**>(manager.Put()))))
        return CStringW();
    ComObject<IKnownFolder> folder;
    if (FAILED(manager->GetFolder(FOLDERID_SendTo, folder.Put()))) return CStringW();
    PWSTR path = nullptr;
    if (FAILED(folder->GetPath(0, &path)) || path == nullptr) return CStringW();
    const CStringW result = velmora::FromWin(path);
    ::CoTaskMemFree(path);
    return result;
}

bool Win32ShortcutFiles::Remove(const CStringW& file) {
    return ::DeleteFileW(velmora::WinText(file)) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool Win32ShortcutFiles::ProgramExists(const CStringW& path) { return IsExistingFile(path); }
