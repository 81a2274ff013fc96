#pragma once
// The removal page: a child page of the main dialog (template "IDD_REMOVE") that lists the stages of
// the uninstall and runs the removal for the printers chosen on the selection page.
#include <windows.h>

#include "shell/DialogBase.h"
#include "shell/OSInfo.h"
#include "shell/StringRing.h"

class UninstallDatabase;

class CRemoveDlg : public CDialogBase {
public:
    CRemoveDlg();

    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetDatabase(UninstallDatabase* db) { database = db; }
    // Starts the removal for the current excluded flags. When it has finished the page posts its
    // parent WM_CLOSE and then UM_REMOVALDONE.
    void StartRemoval();

private:
    BOOL OnInitDialog();
    void FinishRemoval();

    UninstallDatabase* database;
    COSInfo os;
    CStringRing strings;
};
