#include "dialog_harness.h"

#include <shlobj.h>

#include <cstring>

HDROP MakeDropHandle(std::initializer_list<std::string> paths) {
    size_t namesSize = 1;  // the empty name that ends the list
    for (const std::string& path : paths) namesSize += path.size() + 1;
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + namesSize);
    if (hGlobal == nullptr) return nullptr;
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(hGlobal));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const std::string& path : paths) {
        std::memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    ::GlobalUnlock(hGlobal);
    return static_cast<HDROP>(hGlobal);
}

RECT ChildRect(HWND hChild) {
    RECT rect{};
    ::GetWindowRect(hChild, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

MessageBoxWatcher::MessageBoxWatcher(const char* caption)
    : m_caption(caption), m_thread([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    m_stop = true;
    m_thread.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
}

namespace {

struct BoxContents {
    std::string text;
    HICON hIcon = nullptr;
    std::vector<int> buttonIds;
};

BOOL CALLBACK CollectBoxChild(HWND hChild, LPARAM lParam) {
    auto* contents = reinterpret_cast<BoxContents*>(lParam);
    char className[32] = {};
    ::GetClassNameA(hChild, className, sizeof(className));
    if (lstrcmpiA(className, "Button") == 0) contents->buttonIds.push_back(::GetDlgCtrlID(hChild));
    if (lstrcmpiA(className, "Static") != 0) return TRUE;
    if ((::GetWindowLongA(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        contents->hIcon = reinterpret_cast<HICON>(::SendMessageA(hChild, STM_GETICON, 0, 0));
    } else {
        char text[256] = {};
        ::GetWindowTextA(hChild, text, sizeof(text));
        if (text[0] != '\0') contents->text = text;
    }
    return TRUE;
}

}  // namespace

void MessageBoxWatcher::Watch() {
    while (!m_stop) {
        HWND hBox = ::FindWindowA("#32770", m_caption.c_str());
        if (hBox != nullptr && ::IsWindowVisible(hBox)) {
            BoxContents contents;
            ::EnumChildWindows(hBox, &CollectBoxChild, reinterpret_cast<LPARAM>(&contents));
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_seen.push_back({::GetWindow(hBox, GW_OWNER), m_caption, contents.text, contents.hIcon,
                                  contents.buttonIds});
            }
            ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            while (::IsWindow(hBox) && !m_stop) ::Sleep(5);
        }
        ::Sleep(10);
    }
}

bool KeyExists(const char* keyPath) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
}

bool ReadValue(const char* keyPath, const char* valueName, std::string* pData, DWORD* pType) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    char buffer[2048] = {};
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    const LONG status =
        ::RegQueryValueExA(hKey, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(hKey);
    if (status != ERROR_SUCCESS) return false;
    pData->assign(buffer, size);
    if (pType != nullptr) *pType = type;
    return true;
}

void WriteValue(const char* keyPath, const char* valueName, const std::string& data) {
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExA(hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
    ::RegCloseKey(hKey);
}

void DeleteTree(const char* keyPath) { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, keyPath); }

std::string ModulePath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}
