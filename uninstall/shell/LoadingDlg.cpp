#include "LoadingDlg.h"

#include <commctrl.h>

#include "res/resource.h"
#include "script/ScriptSearch.h"
#include "script/UninstallDatabase.h"
#include "shell/PrinterCensus.h"
#include "shell/WindowHelpers.h"
#include "spooler/SpoolerService.h"

namespace {
// The sequence runs once per process; a retry must find the waits already done.
LoadingCounters g_loadingCounters;

struct RelatedWindow {
    const char* className;
    LPARAM lParam;
};

// In this order; the ZPSD window expects lParam 1 on its close request.
const RelatedWindow kRelatedWindows[] = {
    {"SdStatusWindowClass_", 0}, {"QLNStatusClass_01", 0}, {"QLNInstallClass__", 0},
    {"ZbridgeWClass01", 0},      {"QSPL3201Class", 0},     {"ZMsgPopClass01", 0},
    {"VIZORADLGCLASS01", 0},     {"ZPSD01", 1},            {"QLNPSMCClass01", 0},
};
const char kCloseBroadcast[] = "QUninstClose01";
}  // namespace

void CloseRelatedApplications() {
    for (const RelatedWindow& related : kRelatedWindows) {
        HWND window = FindWindowA(related.className, NULL);
        // The result does not matter, and nothing waits for the program to end.
        if (window) SendMessageA(window, WM_CLOSE, 0, related.lParam);
    }
    UINT message = RegisterWindowMessageA(kCloseBroadcast);
    if (message) PostMessageA(HWND_BROADCAST, message, 0, 0);
}

CLoadingDlg::CLoadingDlg() : database(NULL), step(0), ended(false) {
    switches.Parse(GetCommandLineA());
}

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
    return MessageBoxA(hwnd, text, caption, flags);
}

LRESULT CLoadingDlg::SendProgress(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(hwnd, IDC_PROGRESS, message, wParam, lParam);
}

int CLoadingDlg::BuildListOfInstalledPrinters(std::vector<InstalledPrinter>& list) {
    return ::BuildListOfInstalledPrinters(list, os, switches, [this] {
        ShowMessage(IDS_SPOOLER_NOT_RESPONDING, MB_ICONERROR);
        End(0);
    });
}

int CLoadingDlg::IsAdministrator() { return os.IsAdministrator(); }

bool CLoadingDlg::IsNT() { return os.IsNT(); }

void CLoadingDlg::CloseRelatedApplications() { ::CloseRelatedApplications(); }

void CLoadingDlg::StopSpooler() { StopSpoolerService(); }

int CLoadingDlg::StartSpooler() { return StartSpoolerService(); }

int CLoadingDlg::FindScripts() { return FindUninstallScripts(scripts); }

void CLoadingDlg::WarnNoScripts() { ShowMessage(IDS_NO_SCRIPTS, MB_ICONERROR); }

void CLoadingDlg::LoadScripts() {
    // A script that cannot be read contributes nothing; the others still count.
    for (const TextItem& path : scripts) database->LoadScript(path.Text());
}

void CLoadingDlg::ApplyVizoraRule() { database->BuildCandidates(switches); }

int CLoadingDlg::TakeCensus() {
    std::vector<InstalledPrinter>& printers = database->Printers();
    const size_t before = printers.size();
    int found = BuildListOfInstalledPrinters(printers);
    // A failed first census is run again: drop its partial records, or the printers it reached
    // would be listed twice.
    if (found == 0 && g_loadingCounters.censusAttempts == 0) printers.resize(before);
    return found;
}

void CLoadingDlg::StepProgress() { SendProgress(PBM_STEPIT, 0, 0); }

void CLoadingDlg::SetProgressPosition(int position) { SendProgress(PBM_SETPOS, static_cast<WPARAM>(position), 0); }

void CLoadingDlg::SetProgressStep(int stepSize) { SendProgress(PBM_SETSTEP, static_cast<WPARAM>(stepSize), 0); }

void CLoadingDlg::Fail(int stringId) {
    ShowMessage(static_cast<UINT>(stringId), MB_ICONERROR);
    End(0);
}

void CLoadingDlg::Finish(int result) { End(result); }
