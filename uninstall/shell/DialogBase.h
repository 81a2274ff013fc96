#pragma once
// Binding of dialog windows to the objects that drive them.
#include <windows.h>

// Base of every dialog class. The creator owns the object, passes it as the creation parameter to
// DialogBoxParamA or CreateDialogParamA with CommonDialogProc, and keeps it alive while the window
// exists.
class CDialogBase {
public:
    CDialogBase() : hwnd(NULL) {}
    virtual ~CDialogBase();

    // The dialog's own message handling; same contract as a DLGPROC.
    virtual INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // The dialog window; null until the first message reaches the object and after the window is gone.
    HWND hwnd;

    // The window holds the object's address, so the object is never copied.
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;
};

// The one dialog procedure of the program: binds the object at WM_INITDIALOG (lParam) and forwards
// every later message to its DialogProc. Before binding, only OK (result 1) and Cancel (result 0)
// commands are served.
INT_PTR CALLBACK CommonDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
