// Helpers of the dialog tests under Wine: a dialog's controls as a user
// reaches them, what its erase draws, a probe of its messages, drop handles
// as the shell makes them, a watcher that finds and answers message
// boxes, the elevation the tool works with, and registry set-up below
// HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
//
// Each dialog gets its services through its constructor, made by
// ServicesOverScratchKey: the Win32 registry, the shell, the system's message
// filter and the machine's scope (the tool counts as elevated, whatever Wine
// reports); tests of the other case change the rights of those services.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/runcmd/CommandText.h"
#include "app/ui/RunManagerChoices_win32.h"
#include "app/ui/RunManagerDlg_win32.h"
#include "app/ui/TarvelDlg_win32.h"
#include "gbk_text.h"
#include "res/resource.h"

// The key of the tool's own run command, "run", below either root.
inline const char16_t* const kAppPathsRunKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\run.exe";

// Services of their own for a dialog under test: the Win32 registry, the
// shell, the target check, the tool counting as elevated, the App Paths key
// `appPathsKey` below both roots (a scratch key of the test), and the
// manager's choices answered by `choices` (none asked when null).
AppServices ServicesOverScratchKey(const CStringW& appPathsKey,
                                   RunManagerChoices* choices = nullptr);

// The manager's choices (file dialogs, import preview, Path editor)
// answered by the test, and what they were asked.
struct ScriptedChoices final : RunManagerChoices {
    CStringW programFile, exportFile, importFile;
    std::function<bool(const ImportPlan&, std::vector<bool>&)> importChoices;
    std::function<bool(const RunEntry&, std::vector<CStringW>&)> pathFolders;
    CStringW askedTarget;

    CStringW AskProgramFile(CWnd&, const CStringW& currentTarget) override {
        askedTarget = currentTarget;
        return programFile;
    }
    CStringW AskExportFile(CWnd&) override { return exportFile; }
    CStringW AskImportFile(CWnd&) override { return importFile; }
    bool AskImportChoices(CWnd&, const ImportPlan& plan, std::vector<bool>& replace) override {
        return importChoices ? importChoices(plan, replace) : true;
    }
    bool AskPathFolders(CWnd&, const RunEntry& entry, std::vector<CStringW>& folders) override {
        return pathFolders && pathFolders(entry, folders);
    }
    std::function<bool(const RunEntry&, RunCommandOptions&)> options;
    bool AskOptions(CWnd&, const RunEntry& entry, RunCommandOptions& edited) override {
        return options && options(entry, edited);
    }
};

// A drop handle holding the given narrow paths, as the shell passes it with
// WM_DROPFILES (a DROPFILES block in movable global memory).
HDROP MakeDropHandle(std::initializer_list<std::string> paths);
// The same with UTF-16 paths (fWide), as the shell passes names that the
// ANSI code page cannot hold.
HDROP MakeDropHandleW(std::initializer_list<CStringW> paths);

// Client rectangle of a child, in its parent's client coordinates.
RECT ChildRect(HWND hChild);

// A dialog's control by its id, as a user or another program reaches it: its
// text, a text typed into it (as one WM_SETTEXT), and whether it shows.
CStringW ControlText(const CWnd& dialog, UINT id);
void TypeInto(const CWnd& dialog, UINT id, const CStringW& text);
bool IsControlShown(const CWnd& dialog, UINT id);

// The object of the window layer bound to a dialog's control, as the class
// it is bound as; throws (failing the test) when it is none of that class.
template <class Control>
Control& BoundControl(const CWnd& dialog, UINT id) {
    auto* control = dynamic_cast<Control*>(CWnd::FromHandlePermanent(dialog.GetDlgItem(static_cast<int>(id))));
    if (control == nullptr) throw std::runtime_error("no control of that class: " + std::to_string(id));
    return *control;
}

// The manager's controls as a user reaches them: the list of commands, the
// filter field, and the list's row images.
inline CListCtrl& CommandList(const CWnd& manager) { return BoundControl<CListCtrl>(manager, IDC_RUN_LIST); }
inline CEdit& FilterField(const CWnd& manager) { return BoundControl<CEdit>(manager, IDC_RUN_FILTER); }
inline HIMAGELIST RowImages(const CWnd& manager) {
    return reinterpret_cast<HIMAGELIST>(
        ::SendMessageW(manager.GetDlgItem(IDC_RUN_LIST), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
}

// What a window's erase draws (WM_ERASEBKGND into a bitmap of its client
// size): the colours of the pixels of `box`, row by row.
std::vector<COLORREF> ErasedPixels(const CWnd& window, const RECT& box);

// Sees each message sent or dispatched to a window before the window's own
// procedures do, while both live (a subclass on top of them). `probe`
// answers a message itself by setting `result` and returning true; the
// window then never gets it. PassOn hands a message to the window's own
// procedures from inside the probe.
class MessageProbe {
public:
    using Probe = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
    MessageProbe(HWND hWnd, Probe probe);
    ~MessageProbe();
    MessageProbe(const MessageProbe&) = delete;
    MessageProbe& operator=(const MessageProbe&) = delete;

    LRESULT PassOn(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    HWND m_hWnd;
    Probe m_probe;
};

// What a watched message box showed.
struct SeenMessageBox {
    HWND hOwner;
    std::string caption;
    std::string text;
    HICON hIcon;
    std::vector<int> buttonIds;  // of the box's buttons, in window order
    int defaultButtonId;         // the one with BS_DEFPUSHBUTTON, 0 when none
};

// Watches, on a thread of its own, for message boxes (or any dialog) with the
// given caption and closes each one with the button `answer` (IDOK, IDYES,
// IDNO, IDCANCEL ...), recording what it showed.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(const char* caption, int answer = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<SeenMessageBox> Seen();

private:
    void Watch();

    std::string m_caption;
    int m_answer;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<SeenMessageBox> m_seen;
    std::thread m_thread;
};

// Sets whether the tool counts as elevated (the scope of `services`) for
// its lifetime.
class ScopedElevation {
public:
    ScopedElevation(AppServices& services, bool elevated);
    ~ScopedElevation();
    ScopedElevation(const ScopedElevation&) = delete;
    ScopedElevation& operator=(const ScopedElevation&) = delete;

private:
    AppServices& m_services;
    RunCommandRights m_saved;
};

// Registry below `hRoot`, or below HKEY_LOCAL_MACHINE.
bool KeyExists(HKEY hRoot, const char* keyPath);
bool ReadValue(HKEY hRoot, const char* keyPath, const char* valueName, std::string* pData, DWORD* pType);
void WriteValue(HKEY hRoot, const char* keyPath, const char* valueName, const std::string& data);
void DeleteTree(HKEY hRoot, const char* keyPath);
bool KeyExists(const char* keyPath);
bool ReadValue(const char* keyPath, const char* valueName, std::string* pData, DWORD* pType);
// A value read back through the registry's UTF-16 function: its text up to
// the first zero, its type and its size in bytes as stored.
bool ReadValueW(HKEY hRoot, const CStringW& keyPath, const CStringW& valueName, CStringW* pText, DWORD* pType,
                DWORD* pSize);
void WriteValue(const char* keyPath, const char* valueName, const std::string& data);
void DeleteTree(const char* keyPath);
// The same for key paths the program holds in UTF-16 (ASCII ones).
inline bool KeyExists(HKEY hRoot, const char16_t* keyPath) { return KeyExists(hRoot, N(keyPath).c_str()); }
inline bool KeyExists(const char16_t* keyPath) { return KeyExists(N(keyPath).c_str()); }
inline void WriteValue(HKEY hRoot, const char16_t* keyPath, const char* valueName, const std::string& data) {
    WriteValue(hRoot, N(keyPath).c_str(), valueName, data);
}
inline void WriteValue(const char16_t* keyPath, const char* valueName, const std::string& data) {
    WriteValue(N(keyPath).c_str(), valueName, data);
}
inline void DeleteTree(HKEY hRoot, const char16_t* keyPath) { DeleteTree(hRoot, N(keyPath).c_str()); }
inline void DeleteTree(const char16_t* keyPath) { DeleteTree(N(keyPath).c_str()); }
// The text of a key's default value up to its first zero, or "<missing>".
std::string DefaultText(HKEY hRoot, const std::string& keyPath);
inline std::string DefaultText(HKEY hRoot, const char16_t* keyPath) { return DefaultText(hRoot, N(keyPath)); }

// The test program's own full path.
std::string ModulePath();

// Dispatches this thread's messages, waiting for more, until `done` holds,
// asked after each message (so that a caller sees what came first). False
// when it still does not after a minute: a hang guard, not a measure of
// speed.
bool PumpMessagesUntil(const std::function<bool()>& done);
