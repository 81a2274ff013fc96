#pragma once
// The steps of the program entry, kept apart from WinMain so that tests can call each of them.
#include <windows.h>

// Window class of the main dialog; a second start finds the first copy by it.
extern const char kMainWindowClass[];

// True when the argument text is exactly "RestartSpooler", in any letter case.
bool IsRestartSpoolerCommand(const char* arguments);
// The spooler-restart mode: on Windows 2000 and later stops and starts the Spooler service, on every
// version removes the RunOnce value that asked for the restart. Creates no window; returns exit code 0.
int RunRestartSpoolerMode();
// When a main window of another copy exists, shows it, brings it to the front and returns 1; else 0.
int ActivateRunningCopy();
// Registers kMainWindowClass as a copy of the standard dialog class; returns RegisterClassA's atom,
// or 0 when the dialog class could not be read.
ATOM RegisterMainWindowClass();
// The usage box of "/?": every switch of the program, under the common caption.
void ShowUsage(HINSTANCE instance);
// Tells the user that the /LOG file cannot be opened and that the uninstall goes on without it.
void WarnLogNotOpened(HINSTANCE instance, const char* path);
// Tells the user that a copy this one cannot bring forward (another user's, or a run without a
// window) is removing already.
void WarnAnotherCopy(HINSTANCE instance);
