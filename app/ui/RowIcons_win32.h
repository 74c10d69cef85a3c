// RowIcons: the program icons of the manager's rows. It owns the image list
// the list shows, the book of which files are read or being read
// (RowIconBook) and the worker that reads them (FileIconLoader).
//
// A row asks for the image of its entry as it is drawn and gets the
// stand-in at once until the icon is in. The files asked for go to the
// worker once the paint that asked is done: the first ask posts
// kAskIconsMessage to the window, which calls AskIcons. The worker posts
// kIconsReadMessage when icons wait; the window calls TakeIconsRead and
// draws again the rows of the files it returns. A new image list (another
// DPI) reads every icon again and drops what was being read for the old one.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "app/runcmd/RunEntries.h"
#include "app/ui/FileIconLoader_win32.h"
#include "app/ui/RowIconBook.h"
#include "base/wide_text.h"
#include "wnd/ImageList.h"
#include "wnd/ListCtrl.h"

class RowIcons {
public:
    explicit RowIcons(FileIconLoader::Reader reader);
    RowIcons(const RowIcons&) = delete;
    RowIcons& operator=(const RowIcons&) = delete;

    // Starts the worker, which posts its message to `window`, and gives
    // `list` (which must outlive this object's use) an image list of icons
    // `side` pixels wide, the stand-in its first image. False when the
    // worker could not start: the rows then keep the stand-in.
    bool Start(HWND window, CListCtrl& list, int side);
    // A new image list at `side` pixels for the list: every icon is read
    // again; those asked for or being read for the old one are dropped.
    void MakeImageList(int side);
    // The image of a row that shows `entry`, now.
    int ImageOf(const RunEntry& entry);
    // On kAskIconsMessage: the files asked for since the last time go to the
    // worker.
    void AskIcons();
    // On kIconsReadMessage: the icons still awaited go into the image list.
    // The files (as asked) whose rows now show an image of their own.
    std::vector<CStringW> TakeIconsRead();
    // The window is going: the worker is stopped and joined, nothing more
    // is read or posted.
    void Stop() { m_loader.Stop(); }
    // How many files' icons are still being read.
    std::size_t Pending() const { return m_book.Pending(); }

private:
    HWND m_window = nullptr;
    CListCtrl* m_list = nullptr;
    int m_side = 0;
    CImageList m_images;
    velmora::app::RowIconBook m_book;
    FileIconLoader m_loader;
    // Files a paint asked for, not yet given to the worker: the screen is
    // drawn first. Each with the generation of the image list it is for.
    std::vector<std::pair<unsigned, CStringW>> m_toAsk;
};
