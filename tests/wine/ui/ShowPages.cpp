// Shows the loading window, the selection page in each view and the removal page at its start,
// half-way and at its end, filled through the real classes, so that tools/ui-screenshots.sh can
// photograph them.
//
//   ShowPages.exe FOLDER
//
// For each view it writes FOLDER\<view>.ready holding the X display, then waits (up to 20 s)
// until FOLDER\<view>.done exists before it moves on.
#include <string>

#include "../Photographer.h"
#include "UiFixture.h"
#include "shell/LoadingDlg.h"

namespace {
std::vector<InstalledPrinter> SampleCensus() {
    return {MakePrinter("Quellan Laser 5", "QLN Laser Driver", "", "", 1),
            MakePrinter("\\\\PRINTSRV\\Quellan Ink 2", "QLN Ink Driver", "\\\\PRINTSRV"),
            MakePrinter("Vizored Proof", "QLN Viz Driver", "", "Quellan Laser 5"),
            MakePrinter("\\\\LAB\\Vizored Lab", "QLN Viz Driver", "\\\\LAB", "Quellan Ink 2", 1)};
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    InitCommonControls();

    {
        CLoadingDlg loading;
        HWND window =
            CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_LOADING), NULL, CommonDialogProc,
                               reinterpret_cast<LPARAM>(static_cast<CDialogBase*>(&loading)));
        ShowWindow(window, SW_SHOW);
        Photograph(folder, "loading");
        DestroyWindow(window);
    }

    CTestMainDlg dlg(SampleCensus(), "quinst01.exe");
    if (!dlg.Create()) return 1;
    SelectRow(dlg.List(), 1, true);
    const struct {
        UINT command;
        const char* view;
    } views[] = {{IDM_LIST, "select-list"},
                 {IDM_DETAILS, "select-details"},
                 {IDM_LARGEICONS, "select-icons"},
                 {IDM_SMALLICONS, "select-small-icons"}};
    for (const auto& v : views) {
        SendMessageA(dlg.SelectPage().hwnd, WM_COMMAND, MAKEWPARAM(v.command, 0), 0);
        Photograph(folder, v.view);
    }

    // The removal page's rows as the sequence's refreshes leave them: none highlighted, four
    // stages done with the fifth current, all nine done.
    ShowWindow(dlg.SelectPage().hwnd, SW_HIDE);
    ShowWindow(dlg.RemovePage().hwnd, SW_SHOW);
    const struct {
        int refreshes;
        const char* view;
    } stages[] = {{0, "remove-start"}, {5, "remove-middle"}, {10, "remove-end"}};
    for (const auto& stage : stages) {
        dlg.RemovePage().RefreshSteps(true);
        for (int i = 0; i < stage.refreshes; ++i) dlg.RemovePage().RefreshSteps(false);
        Photograph(folder, stage.view);
    }
    return 0;
}
