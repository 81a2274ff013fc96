#include "MainDlg.h"

#include "resource.h"

INT_PTR CMainDlg::DialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
    default:
        return FALSE;
    }
}

BOOL CMainDlg::OnInitDialog() {
    strings.hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    strings.SetWindowTextId(hwnd, IDS_CAPTION);
    return TRUE;
}

BOOL CMainDlg::OnCommand(WORD id) {
    if (id != IDOK && id != IDCANCEL && id != IDC_EXIT) return FALSE;
    EndDialog(hwnd, 1);
    return TRUE;
}
