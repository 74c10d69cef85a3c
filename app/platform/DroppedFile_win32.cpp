#include "app/platform/DroppedFile_win32.h"

#include "base/shell_on_demand_win32.h"

CStringW ReadFirstDroppedPath(HDROP hDrop) {
    if (velmora::shell::DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0) == 0) return CStringW();
    return velmora::ReadGrowingText([hDrop](char16_t* buffer, std::size_t capacity) -> std::size_t {
        const UINT needed = velmora::shell::DragQueryFileW(hDrop, 0, nullptr, 0);
        if (needed >= capacity) return needed;
        return velmora::shell::DragQueryFileW(hDrop, 0, velmora::WinBuffer(buffer),
                                              static_cast<UINT>(capacity));
    });
}
