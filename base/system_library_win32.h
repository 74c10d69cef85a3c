// DLLs from the system folder only. A program that runs elevated and is
// started from a Downloads folder must not load a DLL that someone put
// beside it, in the current folder or in a folder on PATH: every program
// of the tool restricts its DLL search to the system folder before anything
// else runs, and loads what it binds at run time from there.
#pragma once

#include <windows.h>

namespace velmora {

// Makes the system folder the only place this process's later loads look
// (SetDefaultDllDirectories); where the system lacks it (Windows 7 without
// its security update), takes the current folder out of the search at
// least. Call first thing in each program's entry (inline: the launchers
// link no runtime).
inline void LoadDllsFromSystemOnly() noexcept {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Looked up, not imported: the program must still start where it is missing.
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    ::SetDllDirectoryW(L"");
}

// A known DLL of the system (user32, shell32), which Windows never takes
// from elsewhere, from the system folder; inline, for the launchers.
inline HMODULE LoadKnownSystemLibrary(const wchar_t* name) noexcept {
    HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) module = ::LoadLibraryW(name);
    return module;
}

// The system's library `name` ("comctl32.dll") from the system folder;
// null when it cannot be loaded. A name the side-by-side store redirects
// (comctl32 version 6, as the manifest asks) still comes from there.
HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;

}  // namespace velmora
