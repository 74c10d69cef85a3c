// Helpers of the main dialog's tests under Wine: access to the dialog's
// state, drop handles as the shell makes them, a watcher that finds and
// closes message boxes, and registry set-up below HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

#include <atomic>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/TarvelDlg.h"

// The main dialog with its state open to the tests.
class TestableTarvelDlg : public CTarvelDlg {
public:
    using CTarvelDlg::m_btnAdd;
    using CTarvelDlg::m_btnAddSelf;
    using CTarvelDlg::m_editCommandName;
    using CTarvelDlg::m_hFileIcon;
    using CTarvelDlg::m_hFileIcon48;
    using CTarvelDlg::m_hIcon;
    using CTarvelDlg::m_lblCommandName;
    using CTarvelDlg::m_lblUsage;
    using CTarvelDlg::m_strExePath;
    using CTarvelDlg::m_strSelfPath;
};

// A drop handle holding the given narrow paths, as the shell passes it with
// WM_DROPFILES (a DROPFILES block in movable global memory).
HDROP MakeDropHandle(std::initializer_list<std::string> paths);

// Client rectangle of a child, in its parent's client coordinates.
RECT ChildRect(HWND hChild);

// What a watched message box showed.
struct SeenMessageBox {
    HWND hOwner;
    std::string caption;
    std::string text;
    HICON hIcon;
    std::vector<int> buttonIds;  // of the box's buttons, in window order
};

// Watches, on a thread of its own, for message boxes with the given caption
// and closes each one with its OK button, recording what it showed.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(const char* caption);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<SeenMessageBox> Seen();

private:
    void Watch();

    std::string m_caption;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<SeenMessageBox> m_seen;
    std::thread m_thread;
};

// Registry below HKEY_LOCAL_MACHINE.
bool KeyExists(const char* keyPath);
bool ReadValue(const char* keyPath, const char* valueName, std::string* pData, DWORD* pType);
void WriteValue(const char* keyPath, const char* valueName, const std::string& data);
void DeleteTree(const char* keyPath);

// The test program's own full path.
std::string ModulePath();
