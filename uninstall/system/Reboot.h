#pragma once
// The closing message of the uninstall and, on Windows 9x, the restart question.
#include "spooler/RemovalContext.h"

// What became of the restart the removal may need; an unattended run turns it into its exit code.
enum RestartOutcome {
    kRestartNotNeeded,  // nothing waits for a restart
    kRestartPending,    // deletions wait for the user's next restart; none is offered (Win32s, NT)
    kRestartDeclined,   // the user answered No to the restart question
    kRestartStarted,    // Windows is restarting
    kRestartFailed,     // the restart could not be started; the user was told to restart by hand
};

// Shows "complete" or, when Windows 9x needs a restart, asks for one and starts it on Yes.
RestartOutcome OfferReboot(RemovalContext& ctx);

// The call that restarts Windows. Tests put their own in its place, since a real call ends every
// windowed process of the session; null puts ExitWindowsEx back.
typedef BOOL(WINAPI* ExitWindowsFunction)(UINT flags, DWORD reason);
void SetExitWindowsFunction(ExitWindowsFunction function);
