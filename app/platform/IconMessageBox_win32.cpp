#include "app/platform/IconMessageBox_win32.h"

void ShowIconMessageBox(HINSTANCE hInstance, HWND hWndOwner, UINT nIconId, CStringW strCaption,
                        CStringW strText) {
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = hWndOwner;
    params.hInstance = hInstance;
    params.lpszText = velmora::WinText(strText);
    params.lpszCaption = velmora::WinText(strCaption);
    params.dwStyle = MB_USERICON | MB_OK;
    params.lpszIcon = MAKEINTRESOURCEW(nIconId);
    ::MessageBoxIndirectW(&params);
}
