#include "MainDlg.h"

#include "diag/AboutDlg.h"
#include "res/resource.h"
#include "shell/CensusFilter.h"
#include "shell/CmdSwitches.h"
#include "shell/OSInfo.h"
#include "shell/WindowHelpers.h"

CMainDlg::CMainDlg() : database(COSInfo().GetFamily()) {}

INT_PTR CMainDlg::DialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam));
        case WM_SYSCOMMAND:
            if (wParam != IDM_ABOUT) return FALSE;
            ShowAbout();
            return TRUE;
        case UM_ENABLEUNINSTALL:
            EnableControl(IDC_UNINSTALL, wParam != 0);
            return FALSE;
        case UM_STARTREMOVAL:
            StartRemoval();
            return FALSE;
        case UM_REMOVALDONE:
            OnRemovalDone();
            return FALSE;
    }
    return FALSE;
}

BOOL CMainDlg::OnInitDialog() {
    strings.hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    ShowWindow(GetDlgItem(hwnd, IDC_PLACEHOLDER), SW_HIDE);
    AdjustSystemMenu();
    strings.SetWindowTextId(hwnd, IDS_CAPTION);
    strings.SetDlgItemTextId(hwnd, IDC_UNINSTALL, IDS_UNINSTALL);
    strings.SetDlgItemTextId(hwnd, IDC_EXIT, IDS_CANCEL);
    CreatePages();
    SetDialogIcon(hwnd, IDI_MAIN, ICON_BIG);
    CenterWindow(hwnd, NULL);
    ShowWindow(hwnd, SW_HIDE);
    RunLoadingFlow();
    // The refill gave the list the keyboard focus (so Ctrl+A and the arrows work at once); TRUE
    // would move it to the first button.
    return select.hwnd && GetFocus() == select.List().hwnd ? FALSE : TRUE;
}

void CMainDlg::AdjustSystemMenu() {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (!menu) return;
    EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, strings.GetText(IDS_ABOUT_MENU));
}

void CMainDlg::CreatePages() {
    HINSTANCE module = strings.hInstance;
    if (!module) return;
    HWND placeholder = GetDlgItem(hwnd, IDC_PLACEHOLDER);
    HWND page = CreateDialogParamA(module, IDD_SELECT_NAME, hwnd, CommonDialogProc,
                                   reinterpret_cast<LPARAM>(&select));
    if (page) {
        ClipSiblings(page);
        ShowWindow(page, SW_HIDE);
        PlacePageOverControl(page, placeholder, hwnd);
    }
    page = CreateDialogParamA(module, IDD_REMOVE_NAME, hwnd, CommonDialogProc,
                              reinterpret_cast<LPARAM>(&remove));
    if (page) {
        ClipSiblings(page);
        ShowWindow(page, SW_SHOW);
        PlacePageOverControl(page, placeholder, hwnd);
    }
}

// The pages overlap; each keeps to its own visible part when it paints.
void CMainDlg::ClipSiblings(HWND page) {
    SetWindowLongPtrA(page, GWL_STYLE, GetWindowLongPtrA(page, GWL_STYLE) | WS_CLIPSIBLINGS);
}

INT_PTR CMainDlg::RunLoading() {
    return DialogBoxParamA(strings.hInstance, MAKEINTRESOURCEA(IDD_LOADING), hwnd, CommonDialogProc,
                           reinterpret_cast<LPARAM>(&loading));
}

const CCmdSwitches& CMainDlg::LoadingSwitches() const {
    return loading.Switches();
}

void CMainDlg::RunLoadingFlow() {
    EnableControl(IDC_UNINSTALL, false);
    EnableControl(IDC_EXIT, false);
    loading.SetDatabase(&database);
    select.SetDatabase(&database);
    remove.SetDatabase(&database);
    if (RunLoading() != 1) {
        EndDialog(hwnd, 1);
        return;
    }
    ShowAfterLoading(LoadingSwitches());
}

// Keeps the order of the effects of the filter switches and NOPICK: with NOPICK and a filter the
// removal page is not hidden here, and Uninstall is enabled before the count decides it.
void CMainDlg::ShowAfterLoading(const CCmdSwitches& switches) {
    if (!HasCensusFilter(switches)) {
        ShowPage(remove, false);
    } else {
        if (switches.Has("NOPICK")) {
            ShowWindow(hwnd, SW_SHOW);
            EnableControl(IDC_UNINSTALL, true);
        } else {
            ShowPage(remove, false);
            ShowPage(select, true);
            ShowWindow(hwnd, SW_SHOW);
            select.Refill();
        }
        EnableControl(IDC_EXIT, true);
    }
    ShowPage(select, true);
    ShowWindow(hwnd, SW_SHOW);
    select.Refill();
    // With no printer offered the removal can still clean up what the scripts name.
    EnableControl(IDC_UNINSTALL, database.CountSelectablePrinters() == 0);
    EnableControl(IDC_EXIT, true);
}

void CMainDlg::ShowAbout() {
    CAboutDlg about;
    DialogBoxParamA(strings.hInstance, MAKEINTRESOURCEA(IDD_ABOUT), hwnd, CommonDialogProc,
                    reinterpret_cast<LPARAM>(&about));
}

BOOL CMainDlg::OnCommand(WORD id) {
    switch (id) {
        case IDOK:
        case IDCANCEL:
        case IDC_EXIT:
            EndDialog(hwnd, 1);
            return TRUE;
        case IDC_UNINSTALL:
            OnUninstall();
            return TRUE;
    }
    return FALSE;
}

void CMainDlg::OnUninstall() {
    if (select.IsVisible()) select.CollectSelection();
    StartRemoval();
}

void CMainDlg::StartRemoval() {
    ShowPage(select, false);
    ShowPage(remove, true);
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (menu) EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    EnableControl(IDC_EXIT, false);
    remove.StartRemoval();
}

void CMainDlg::OnRemovalDone() {
    strings.SetDlgItemTextId(hwnd, IDC_EXIT, IDS_CLOSE);
    if (database.CountSelectablePrinters() > 0 && !database.RebootNeeded()) {
        ShowPage(select, true);
        ShowPage(remove, false);
        select.Refill();
    } else {
        ShowPage(select, false);
        ShowPage(remove, true);
    }
    EnableControl(IDC_EXIT, true);
}

// A page that is shown goes on top: with /NOPICK and a filter switch both pages stay visible over
// the same place, and the selection page must not disappear under the removal page.
void CMainDlg::ShowPage(CDialogBase& page, bool show) {
    if (!page.hwnd) return;
    if (show)
        SetWindowPos(page.hwnd, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
        ShowWindow(page.hwnd, SW_HIDE);
}

void CMainDlg::EnableControl(int id, bool enable) {
    EnableWindow(GetDlgItem(hwnd, id), enable ? TRUE : FALSE);
}
