#pragma once
// The program's main window.
#include "DialogBase.h"
#include "StringRing.h"

class CMainDlg : public CDialogBase {
public:
    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL OnInitDialog();
    BOOL OnCommand(WORD id);

    CStringRing strings;
};
