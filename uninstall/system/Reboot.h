#pragma once
// The closing message of the uninstall and, on Windows 9x, the restart question.
#include "spooler/RemovalContext.h"
#include "system/RestartOutcome.h"

// Shows "complete" or, when Windows 9x needs a restart, asks for one and starts it on Yes.
RestartOutcome OfferReboot(RemovalContext& ctx);

// Restarts Windows now, with the shutdown privilege enabled where the system asks for it (every
// version but Windows 95, 98 and Me). True when the restart was started.
bool RestartWindowsNow(const COSInfo& os);

// The call that restarts Windows. Tests put their own in its place, since a real call ends every
// windowed process of the session; null puts ExitWindowsEx back.
typedef BOOL(WINAPI* ExitWindowsFunction)(UINT flags, DWORD reason);
void SetExitWindowsFunction(ExitWindowsFunction function);
