// Entry of the uninstall tool: either the spooler-restart mode or the interactive main dialog.
#include <windows.h>
#include <commctrl.h>

#include "resource.h"
#include "shell/DialogBase.h"
#include "shell/DllSearchPath.h"
#include "shell/MainDlg.h"
#include "shell/StartUp.h"

static int RunInteractiveMode(HINSTANCE instance) {
    if (ActivateRunningCopy()) throw 0;
    CMainDlg mainDlg;
    RegisterMainWindowClass();  // without the class the dialog cannot be created and ends with -1
    return static_cast<int>(DialogBoxParamA(instance, IDD_MAIN_NOBMP_NAME, NULL, CommonDialogProc,
                                            reinterpret_cast<LPARAM>(&mainDlg)));
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    // First, before anything loads a DLL late (the common controls, the spooler's providers, hooks).
    RestrictDllSearchPath();
    if (IsRestartSpoolerCommand(arguments)) return RunRestartSpoolerMode();
    InitCommonControls();
    // Start-up code ends the program early by throwing the exit code.
    try {
        return RunInteractiveMode(instance);
    } catch (int exitCode) {
        return exitCode;
    }
}
