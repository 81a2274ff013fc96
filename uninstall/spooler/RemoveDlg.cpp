#include "RemoveDlg.h"

#include "res/resource.h"
#include "script/UninstallDatabase.h"

namespace {
// One row per stage of the uninstall: its label control and text.
struct StepRow {
    int labelControl;
    UINT labelString;
};
const StepRow kStepRows[] = {
    {IDC_STEPLABEL_FIRST + 0, IDS_REMOVE_BUILD},    {IDC_STEPLABEL_FIRST + 1, IDS_REMOVE_ADDONS},
    {IDC_STEPLABEL_FIRST + 2, IDS_REMOVE_PRINTERS}, {IDC_STEPLABEL_FIRST + 3, IDS_REMOVE_DRIVERS},
    {IDC_STEPLABEL_FIRST + 4, IDS_REMOVE_MONITORS}, {IDC_STEPLABEL_FIRST + 5, IDS_REMOVE_PROCESSORS},
    {IDC_STEPLABEL_FIRST + 6, IDS_REMOVE_SERVICES}, {IDC_STEPLABEL_FIRST + 7, IDS_REMOVE_REGISTRY},
    {IDC_STEPLABEL_FIRST + 8, IDS_REMOVE_FILES},
};
}  // namespace

CRemoveDlg::CRemoveDlg() : database(NULL) {}

INT_PTR CRemoveDlg::DialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL && LOWORD(wParam) != IDC_EXIT)
                return FALSE;
            EndDialog(hwnd, 1);
            return TRUE;
    }
    return FALSE;
}

BOOL CRemoveDlg::OnInitDialog() {
    strings.hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    // The template holds placeholders; the labels always come from the string table.
    for (const StepRow& row : kStepRows) strings.SetDlgItemTextId(hwnd, row.labelControl, row.labelString);
    return TRUE;
}

void CRemoveDlg::StartRemoval() {
    if (database) database->ComputeRemovalSet();
    FinishRemoval();
}

// The main dialog ends on the close request; UM_REMOVALDONE follows for a main dialog that stays.
void CRemoveDlg::FinishRemoval() {
    HWND parent = GetParent(hwnd);
    PostMessageA(parent, WM_CLOSE, 0, 0);
    PostMessageA(parent, UM_REMOVALDONE, 0, 0);
}
