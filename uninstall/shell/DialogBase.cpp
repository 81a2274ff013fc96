#include "DialogBase.h"

CDialogBase::~CDialogBase() {
    // A window that outlives its object must not call into freed memory.
    if (hwnd && IsWindow(hwnd) &&
        reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(hwnd, DWLP_USER)) == this) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    }
}

static INT_PTR ServeUnboundMessage(HWND hwnd, UINT message, WPARAM wParam) {
    if (message != WM_COMMAND || HIWORD(wParam) != 0) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        EndDialog(hwnd, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(hwnd, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CommonDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    CDialogBase* dialog = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!dialog) return ServeUnboundMessage(hwnd, message, wParam);

    dialog->hwnd = hwnd;
    INT_PTR result = FALSE;
    // user32 frames cannot be unwound through: an exception ends here and the message gets the
    // default dialog handling.
    try {
        result = dialog->DialogProc(hwnd, message, wParam, lParam);
    } catch (...) {
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        // Last message of the window: detach, so the object never holds a dead handle.
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        dialog->hwnd = NULL;
    }
    return result;
}
