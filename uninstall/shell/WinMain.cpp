// Entry of the uninstall tool: the spooler-restart mode, the two modes without a window, or the
// interactive main dialog.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <string>

#include "diag/ActionLogFile.h"
#include "resource.h"
#include "shell/CmdSwitches.h"
#include "shell/DialogBase.h"
#include "shell/DllSearchPath.h"
#include "shell/MainDlg.h"
#include "shell/RunOptions.h"
#include "shell/SingleCopy.h"
#include "shell/StartUp.h"
#include "shell/UnattendedRun.h"

static int RunInteractiveMode(HINSTANCE instance, const RunOptions& options) {
    if (ActivateRunningCopy()) throw 0;
    // Held while the window is open, so that a quiet or report run in another session, which cannot
    // see this window, finds this copy. A copy with its window here was brought forward above; one
    // this copy cannot see (a run without a window, another user's) is removing already, and a
    // second removal would restart the spooler and change the machine under it.
    SingleCopy copy;
    if (copy.AnotherRuns()) {
        WarnAnotherCopy(instance);
        throw 0;
    }
    ActionLogFile log;
    if (options.log && !log.Open(options.logPath)) WarnLogNotOpened(instance, options.logPath.c_str());
    log.Note(std::string("start: ") + GetCommandLineA());
    CMainDlg mainDlg;
    if (log.IsOpen()) mainDlg.SetLog(&log);
    RegisterMainWindowClass();  // without the class the dialog cannot be created and ends with -1
    int exitCode = static_cast<int>(DialogBoxParamA(instance, IDD_MAIN_NOBMP_NAME, NULL, CommonDialogProc,
                                                    reinterpret_cast<LPARAM>(&mainDlg)));
    log.Note("exit code " + std::to_string(exitCode));
    return exitCode;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    // First, before anything loads a DLL late (the common controls, the spooler's providers, hooks).
    RestrictDllSearchPath();
    if (IsRestartSpoolerCommand(arguments)) return RunRestartSpoolerMode();
    CCmdSwitches switches;
    switches.Parse(GetCommandLineA());
    const RunOptions options = ReadRunOptions(switches);
    if (options.mode != kRunInteractive) return RunUnattended(instance, options);
    InitCommonControls();
    if (options.usage) {
        ShowUsage(instance);
        return 0;
    }
    // Start-up code ends the program early by throwing the exit code.
    try {
        return RunInteractiveMode(instance, options);
    } catch (int exitCode) {
        return exitCode;
    }
}
