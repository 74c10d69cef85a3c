// A visible top-level window for the skin's window tests under Wine: it
// parents the buttons, records the commands they send, and offers reading
// pixels back from the screen and pumping posted messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "wnd/Gdi.h"
#include "wnd/Wnd.h"

namespace velmora::testing {

struct SeenCommand {
    WPARAM wParam;
    LPARAM lParam;
};

class TestParent : public CWnd {
public:
    // A visible popup of `width` x `height` at (x, y) of the screen.
    TestParent(int x, int y, int width, int height);
    std::vector<SeenCommand> commands;

protected:
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// Dispatches every message waiting in this thread's queue.
void PumpMessages();
// Whether a message `message` waits in this thread's queue (a posted one).
bool IsQueued(UINT message);

// The screen pixel at a client point of `hWnd`, as 0x00BBGGRR.
COLORREF ScreenPixel(HWND hWnd, int x, int y);

// A bitmap of `width` x `height` made of vertical bands: band i covers
// columns [starts[i], starts[i + 1]) (the last one to the right edge) in
// colours[i].
void MakeBandedBitmap(CBitmap& bitmap, int width, int height, const std::vector<int>& starts,
                      const std::vector<COLORREF>& colours);

// Sets one pixel of a bitmap.
void SetBitmapPixel(CBitmap& bitmap, int x, int y, COLORREF colour);

// Whether the process can still create `count` GDI objects at once (all are
// deleted again): a process that leaks runs out of its handle table first.
bool CanStillCreateGdiObjects(int count);

}  // namespace velmora::testing
