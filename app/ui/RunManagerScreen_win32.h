// RunManagerScreen: how the run-command manager sits on the screen. The
// place, size, maximised state and column widths the user left, remembered
// for the user below the settings key; the long-text columns sharing the
// list's width; and the status line fitted to its width, with the whole text
// as a tip when it shows less. The manager gives it its messages first.
#pragma once

#include <windows.h>

#include <utility>

#include "app/ui/AppServices_win32.h"
#include "app/ui/TextTip_win32.h"
#include "base/wide_text.h"
#include "skin/QebDialog.h"
#include "skin/QebTransButton.h"
#include "skin/skin_geometry.h"
#include "wnd/ListCtrl.h"

class RunManagerScreen {
public:
    // The manager's window, list and status line, and its services: all of
    // them outlive this object.
    RunManagerScreen(CQebDialog& window, CListCtrl& list, CQebTransButton& status,
                     const AppServices& services);
    RunManagerScreen(const RunManagerScreen&) = delete;
    RunManagerScreen& operator=(const RunManagerScreen&) = delete;

    // Once the status line exists: its tip.
    void CreateStatusTip();
    // As the window opens, its controls laid out: the place, size, maximised
    // state and column widths the user left, when remembered and on a
    // monitor still; from then on the columns share the width whenever the
    // window's size changes, starting with the size it opens at.
    void Open();
    // As the window goes: its place, state and column widths, written for
    // the user (nothing without a settings key).
    void RememberPlace();

    // 目标 and 附加路径 share the width the other columns leave, but for
    // `heldColumn`, which keeps the width the user just gave it. Without a
    // held column only once the columns follow the window's size (Open).
    void FitColumns(int heldColumn = -1);
    // Runs `change` with the columns kept at their widths: the window
    // rectangle of a new DPI is no resize of the user's.
    template <typename Change>
    void KeepingColumns(Change&& change) {
        const bool follow = std::exchange(m_columnsFollowSize, false);
        std::forward<Change>(change)();
        m_columnsFollowSize = follow;
    }

    // The status line shows `text`, its path shortened in the middle to fit
    // the line's width, and the whole text as a tip when it shows less.
    void SetStatus(const CStringW& text);
    const CStringW& Status() const noexcept { return m_statusText; }
    // The line's size or font changed: fitted again.
    void ShowStatusFitted();

    // The window's messages that concern its place, its columns (a column
    // width the user set, the window moved or sized) and the status line's
    // tip (the mouse); true when the message is taken, false when the window
    // goes on with it.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void RestorePlace();
    // The window's place while it is neither maximised nor minimised.
    void NotePlace();
    bool OnHeaderNotify(const NMHDR* pHeader);

    CQebDialog& m_window;
    CListCtrl& m_list;
    CQebTransButton& m_status;
    const AppServices& m_services;
    velmora::skin::SkinRect m_normalPlace;
    // The columns open as designed (or as remembered) and keep their widths,
    // rescaled, through a change of DPI; every other change of size shares.
    bool m_columnsFollowSize = false;
    // The status line's whole text, and the tip that shows it.
    CStringW m_statusText;
    CTextTip m_statusTip;
};
