#include "LoadingDlg.h"

#include <commctrl.h>

#include "res/resource.h"
#include "shell/WindowHelpers.h"
#include "spooler/RemovalContext.h"

namespace {
// The sequence runs once per process; a retry must find the waits already done.
LoadingCounters g_loadingCounters;
}  // namespace

CLoadingDlg::CLoadingDlg() : LoadingWork(GetCommandLineA(), g_loadingCounters), step(0), ended(false) {}

INT_PTR CLoadingDlg::DialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        OnStopRequest();
        return TRUE;
    case WM_TIMER:
        if (!ended) LoadingTick(*this, static_cast<unsigned>(wParam), &step, g_loadingCounters);
        return FALSE;
    }
    return FALSE;
}

BOOL CLoadingDlg::OnInitDialog() {
    strings.hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    strings.SetWindowTextId(hwnd, IDS_LOADING_TITLE);
    strings.SetDlgItemTextId(hwnd, IDC_LOADINGTEXT, IDS_BUILDING_DATABASE);
    SendProgress(PBM_SETRANGE, 0, MAKELPARAM(0, 99));
    SendProgress(PBM_SETPOS, 1, 0);
    SendProgress(PBM_SETSTEP, 2, 0);
    ShowWindow(GetDlgItem(hwnd, IDC_LOADINGEXTRA), SW_HIDE);
    return TRUE;
}

void CLoadingDlg::OnShowWindow(BOOL shown) {
    if (!shown) return;
    CenterWindow(hwnd, NULL);
    SetTimer(hwnd, kLoadingTimerId, kLoadingTimerPeriod, NULL);
}

// Enter and Escape: the template has no buttons, so these are the only ways to ask for a stop.
void CLoadingDlg::OnStopRequest() {
    KillTimer(hwnd, kLoadingTimerId);
    if (ShowMessage(IDS_STOP_QUESTION, MB_YESNO | MB_DEFBUTTON2) == IDYES) {
        End(0);
        return;
    }
    SetTimer(hwnd, kLoadingTimerId, kLoadingResumedTimerPeriod, NULL);
}

void CLoadingDlg::End(int result) {
    ended = true;
    KillTimer(hwnd, kLoadingTimerId);
    EndDialog(hwnd, result);
}

int CLoadingDlg::ShowMessage(UINT textId, UINT flags) {
    // Text and caption are two slots of the ring: both stay valid for the call.
    const char* text = strings.GetText(textId);
    const char* caption = strings.GetText(IDS_CAPTION);
    int answer = MessageBoxA(hwnd, text, caption, flags);
    Record("answer", text, kOutcomeDone, ButtonName(answer));
    return answer;
}

LRESULT CLoadingDlg::SendProgress(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(hwnd, IDC_PROGRESS, message, wParam, lParam);
}

void CLoadingDlg::WarnNoScripts() { ShowMessage(IDS_NO_SCRIPTS, MB_ICONERROR); }

void CLoadingDlg::StepProgress() { SendProgress(PBM_STEPIT, 0, 0); }

void CLoadingDlg::SetProgressPosition(int position) { SendProgress(PBM_SETPOS, static_cast<WPARAM>(position), 0); }

void CLoadingDlg::SetProgressStep(int stepSize) { SendProgress(PBM_SETSTEP, static_cast<WPARAM>(stepSize), 0); }

void CLoadingDlg::Fail(int stringId) {
    ShowMessage(static_cast<UINT>(stringId), MB_ICONERROR);
    End(0);
}

void CLoadingDlg::Finish(int result) { End(result); }

void CLoadingDlg::SpoolerNotResponding() {
    ShowMessage(IDS_SPOOLER_NOT_RESPONDING, MB_ICONERROR);
    End(0);
}
