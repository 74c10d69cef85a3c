// CTarvelDlg: the main dialog. The user drops a program on it, types a
// command name and presses the add button; the dialog registers the name
// below App Paths (the machine's when the tool runs elevated, else the
// user's), asking first when the name points at another program. A link
// registers the tool itself as "run". The window menu opens the run-command
// manager and turns the Explorer entries on and off. Started with a file
// (Velmora.exe PROGRAM) it opens with that file taken as a drop takes it.
// The window is a skinned frame with image buttons.
#pragma once

#include "app/platform/StartArguments.h"
#include "app/platform/WindowPrompts_win32.h"
#include "app/runcmd/ChangeResult.h"
#include "app/ui/AppServices_win32.h"
#include "app/ui/SkinnedFrame_win32.h"
#include "base/language.h"
#include "base/wide_text.h"
#include "base/win32_handles.h"
#include "skin/QebDialog.h"
#include "skin/QebTransButton.h"
#include "wnd/Controls.h"
#include "wnd/Gdi.h"

// Identifiers of the labels created at run time.
constexpr UINT kUsageLabelId = 6500;
constexpr UINT kCommandNameLabelId = 6610;

// The caption of the main window's message boxes: 温馨提示.
extern const velmora::Text kMainNoticeCaption;

class CTarvelDlg : public CQebDialog {
public:
    // `services` stays the creator's: it must outlive the dialog.
    explicit CTarvelDlg(const AppServices& services, CWnd* pParent = nullptr);

    // The program the add button registers: the file last dropped when it
    // was an executable, else empty.
    const CStringW& DroppedProgram() const noexcept { return m_strExePath; }
    // The icon shown for the dropped program, read at the window's scale;
    // null before one is shown.
    HICON DroppedProgramIcon() const noexcept { return m_hFileIcon48.Get(); }
    // The file the window opens with, set before it is created: taken as a
    // drop, or, when it is not there, a message saying nothing was taken
    // once the window shows.
    void OpenWith(const StartFile& start) { m_startFile = start; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The add button, the link and the window menu's manager item.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnEraseBkgnd(HDC hDC);
    void OnDropFiles(HDROP hDropInfo);
    // A dropped or started-with file: its proposed name in the field, the
    // program it stands for (a shortcut's target) stored, its icon shown.
    void TakeDroppedFile(const CStringW& strPath);
    // The window-menu items' checks follow the Explorer entries and the
    // language.
    void OnInitWindowMenu(HMENU hMenu);
    // The window-menu item: the Explorer entries on or off, and a message
    // saying what came of it.
    void OnSwitchExplorerEntries();
    // The window-menu item "English / 英文": the other language, remembered
    // for the user, and the window's words in it at once. Windows opened
    // afterwards open in it.
    void OnSwitchLanguage();
    // The window's words, its title and its window menu's items in the
    // current language.
    void ShowTexts();
    void OnAddCommand();
    void OnAddSelf();
    // The window-menu item "管理运行命令…": opens the manager, modal.
    void OnManageRunCommands();

    // Appends the language item, the Explorer entries' switch (when the
    // services have them) and the manager's item, last, to the window menu.
    void AddManagerMenuItem();
    // Registers `strTarget` as the run command `strName` in the tool's scope,
    // asking first when the name points at another program.
    ChangeResult Register(const CStringW& strName, const CStringW& strTarget);

    // The skin of the frame: bitmaps, pieces, caption text, buttons and icon,
    // at the window's DPI.
    void SetUpFrameSkin();
    // The window moved to a monitor of another DPI: skin, fonts, control
    // places and the dropped file's icon are made again for it.
    void OnFrameDpiChanged(int fromDpi, int toDpi) override;
    // Gives the controls the text font of the window's DPI and their places.
    void PlaceControls();
    // Shows the icon of an accepted dropped executable (m_hFileIcon,
    // m_hFileIcon48) and has the window redrawn.
    void ShowDroppedFileIcon(const CStringW& strPath);

    const AppServices& m_services;
    // The store's questions, asked over this window.
    WindowPrompts m_prompts{*this};
    // The application icon, shared (LoadIcon): never destroyed.
    HICON m_hIcon;
    // The window's icons (the taskbar's and the window switcher's) are given
    // once the first paint is done: handing them to the display is slow, and
    // nothing in the window shows them.
    bool m_windowIconsAsked = false;
    velmora::OwnedIcon m_hFileIcon;
    velmora::OwnedIcon m_hFileIcon48;
    CBitmap m_bmpCaptionButtons;
    CBitmap m_bmpFrame;
    CBitmap m_bmpAddButton;
    CEdit m_editCommandName;
    CQebTransButton m_lblUsage;
    CQebTransButton m_btnAdd;
    CQebTransButton m_btnAddSelf;
    CQebTransButton m_lblCommandName;
    // UTF-16, as the platform gives them: every character of the path kept.
    CStringW m_strSelfPath;
    CStringW m_strExePath;
    StartFile m_startFile;
};
