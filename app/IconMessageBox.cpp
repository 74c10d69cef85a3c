#include "app/IconMessageBox.h"

void ShowIconMessageBox(HINSTANCE hInstance, HWND hWndOwner, UINT nIconId, CString strCaption,
                        CString strText) {
    MSGBOXPARAMSA params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = hWndOwner;
    params.hInstance = hInstance;
    params.lpszText = strText;
    params.lpszCaption = strCaption;
    params.dwStyle = MB_USERICON | MB_OK;
    params.lpszIcon = MAKEINTRESOURCEA(nIconId);
    ::MessageBoxIndirectA(&params);
}
