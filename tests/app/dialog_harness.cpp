#include "dialog_harness.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "app/platform/Elevation_win32.h"
#include "app/platform/RegistryChangeWatch_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/platform/SystemPlace_win32.h"
#include "app/registry/Registry_win32.h"
#include "app/runcmd/CommandText.h"
#include "base/win32_handles.h"
#include "wnd/DC.h"

AppServices ServicesOverScratchKey(const CStringW& appPathsKey, RunManagerChoices* choices) {
    static CWin32Registry registry;
    // Without answers of the test's own, every choice is cancelled.
    static ScriptedChoices cancelled;
    RunCommandPlace place = SystemRunCommandPlace();
    place.appPathsKey = appPathsKey;
    // Nothing remembered between tests: each manager opens as designed.
    return AppServices{&registry, place, {RunScope::kLocalMachine, true}, &::ShellExecuteExW, &TargetFileExists,
                       choices != nullptr ? choices : &cancelled, SystemMessageFilter(), CStringW(),
                       nullptr, &RegistryChangeWatch::Make};
}

ScopedElevation::ScopedElevation(AppServices& services, bool elevated)
    : m_services(services), m_saved(services.rights) {
    services.rights = RightsFor(elevated);
}

ScopedElevation::~ScopedElevation() { m_services.rights = m_saved; }

namespace {

// A DROPFILES block with the names one after another, each with its zero,
// and an empty name at the end.
template <typename Text>
HDROP MakeDrop(std::initializer_list<Text> paths, BOOL wide) {
    using Char = typename Text::value_type;
    size_t namesSize = 1;
    for (const Text& path : paths) namesSize += path.size() + 1;
    HGLOBAL hGlobal =
        ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + namesSize * sizeof(Char));
    if (hGlobal == nullptr) return nullptr;
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(hGlobal));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = wide;
    Char* names = reinterpret_cast<Char*>(drop + 1);
    for (const Text& path : paths) {
        std::memcpy(names, path.c_str(), (path.size() + 1) * sizeof(Char));
        names += path.size() + 1;
    }
    ::GlobalUnlock(hGlobal);
    return static_cast<HDROP>(hGlobal);
}

}  // namespace

HDROP MakeDropHandle(std::initializer_list<std::string> paths) { return MakeDrop(paths, FALSE); }

HDROP MakeDropHandleW(std::initializer_list<CStringW> paths) { return MakeDrop(paths, TRUE); }

RECT ChildRect(HWND hChild) {
    RECT rect{};
    ::GetWindowRect(hChild, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

CStringW ControlText(const CWnd& dialog, UINT id) {
    HWND hControl = dialog.GetDlgItem(static_cast<int>(id));
    std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(hControl)) + 1);
    ::GetWindowTextW(hControl, text.data(), static_cast<int>(text.size()));
    return velmora::FromWin(text.data());
}

void TypeInto(const CWnd& dialog, UINT id, const CStringW& text) {
    ::SetWindowTextW(dialog.GetDlgItem(static_cast<int>(id)), velmora::WinText(text));
}

bool IsControlShown(const CWnd& dialog, UINT id) {
    return ::IsWindowVisible(dialog.GetDlgItem(static_cast<int>(id))) != FALSE;
}

std::vector<COLORREF> ErasedPixels(const CWnd& window, const RECT& box) {
    RECT client{};
    window.GetClientRect(&client);
    CClientDC screen(nullptr);
    COffscreenDC canvas(screen, client.right, client.bottom);
    window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.GetSafeHdc()));
    std::vector<COLORREF> pixels;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) pixels.push_back(::GetPixel(canvas.GetSafeHdc(), x, y));
    return pixels;
}

MessageProbe::MessageProbe(HWND hWnd, Probe probe) : m_hWnd(hWnd), m_probe(std::move(probe)) {
    ::SetWindowSubclass(hWnd, &Procedure, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

MessageProbe::~MessageProbe() {
    if (::IsWindow(m_hWnd)) ::RemoveWindowSubclass(m_hWnd, &Procedure, reinterpret_cast<UINT_PTR>(this));
}

LRESULT MessageProbe::PassOn(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK MessageProbe::Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    LRESULT result = 0;
    if (reinterpret_cast<MessageProbe*>(self)->m_probe(message, wParam, lParam, result)) return result;
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

MessageBoxWatcher::MessageBoxWatcher(const char* caption, int answer)
    : m_caption(caption), m_answer(answer), m_thread([this] { Watch(); }) {}

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
    int defaultButtonId = 0;
};

BOOL CALLBACK CollectBoxChild(HWND hChild, LPARAM lParam) {
    auto* contents = reinterpret_cast<BoxContents*>(lParam);
    char className[32] = {};
    ::GetClassNameA(hChild, className, sizeof(className));
    if (lstrcmpiA(className, "Button") == 0) {
        contents->buttonIds.push_back(::GetDlgCtrlID(hChild));
        const LONG type = ::GetWindowLongA(hChild, GWL_STYLE) & BS_TYPEMASK;
        if (type == BS_DEFPUSHBUTTON) contents->defaultButtonId = ::GetDlgCtrlID(hChild);
    }
    if (lstrcmpiA(className, "Static") != 0) return TRUE;
    if ((::GetWindowLongA(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        contents->hIcon = reinterpret_cast<HICON>(::SendMessageA(hChild, STM_GETICON, 0, 0));
    } else {
        std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(hChild)) + 1, '\0');
        text.resize(
            static_cast<std::size_t>(::GetWindowTextA(hChild, text.data(), static_cast<int>(text.size()))));
        if (!text.empty()) contents->text = text;
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
                                  contents.buttonIds, contents.defaultButtonId});
            }
            ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(m_answer, BN_CLICKED), 0);
            while (::IsWindow(hBox) && !m_stop) ::Sleep(5);
        }
        ::Sleep(10);
    }
}

bool KeyExists(HKEY hRoot, const char* keyPath) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(hRoot, keyPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
}

bool ReadValue(HKEY hRoot, const char* keyPath, const char* valueName, std::string* pData, DWORD* pType) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(hRoot, keyPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    DWORD type = 0;
    LONG status = ::RegQueryValueExA(hKey, valueName, nullptr, &type, nullptr, &size);
    std::string buffer(size, '\0');
    if (status == ERROR_SUCCESS && size > 0)
        status = ::RegQueryValueExA(hKey, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                    &size);
    ::RegCloseKey(hKey);
    if (status != ERROR_SUCCESS) return false;
    buffer.resize(size);
    *pData = buffer;
    if (pType != nullptr) *pType = type;
    return true;
}

bool ReadValueW(HKEY hRoot, const CStringW& keyPath, const CStringW& valueName, CStringW* pText, DWORD* pType,
                DWORD* pSize) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(hRoot, velmora::WinText(keyPath), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    const velmora::OwnedRegKey key(hKey);
    DWORD size = 0;
    if (::RegQueryValueExW(hKey, velmora::WinText(valueName), nullptr, pType, nullptr, &size) !=
        ERROR_SUCCESS)
        return false;
    std::vector<unsigned char> data(size);
    if (::RegQueryValueExW(hKey, velmora::WinText(valueName), nullptr, pType, data.data(), &size) !=
        ERROR_SUCCESS)
        return false;
    *pText = velmora::WideFromRegistryData(data.data(), size);
    *pSize = size;
    return true;
}

void WriteValue(HKEY hRoot, const char* keyPath, const char* valueName, const std::string& data) {
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(hRoot, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExA(hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
    ::RegCloseKey(hKey);
}

void DeleteTree(HKEY hRoot, const char* keyPath) { ::RegDeleteTreeA(hRoot, keyPath); }

bool KeyExists(const char* keyPath) { return KeyExists(HKEY_LOCAL_MACHINE, keyPath); }

bool ReadValue(const char* keyPath, const char* valueName, std::string* pData, DWORD* pType) {
    return ReadValue(HKEY_LOCAL_MACHINE, keyPath, valueName, pData, pType);
}

void WriteValue(const char* keyPath, const char* valueName, const std::string& data) {
    WriteValue(HKEY_LOCAL_MACHINE, keyPath, valueName, data);
}

void DeleteTree(const char* keyPath) { DeleteTree(HKEY_LOCAL_MACHINE, keyPath); }

std::string DefaultText(HKEY hRoot, const std::string& keyPath) {
    std::string data;
    if (!ReadValue(hRoot, keyPath.c_str(), "", &data, nullptr)) return "<missing>";
    return data.substr(0, data.find('\0'));
}

std::string ModulePath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

bool PumpMessagesUntil(const std::function<bool()>& done) {
    const ULONGLONG giveUp = ::GetTickCount64() + 60000;
    while (!done()) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            continue;
        }
        if (::GetTickCount64() > giveUp) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    return true;
}
