#pragma once
// The print spooler as a process: stopping and starting the NT service, closing the Windows 95
// spooler window, and deleting the NT services that the maker's installers registered.
#include <windows.h>

#include "spooler/RemovalContext.h"

// 1 when the service accepted the stop request, else 0. Does not wait for the stopped state.
int StopSpoolerService();
// 1 when the service was started or was running already, else 0. Waits for a stop still pending.
int StartSpoolerService();

// 1 when the service runs, else 0 (also when its state cannot be read). Changes nothing.
int SpoolerServiceRunning();

// What starting a service needs of the service manager; tests put a scripted service in its place.
class CServiceStartControl {
public:
    virtual ~CServiceStartControl() {}
    // StartServiceA: ERROR_SUCCESS when the start was accepted, else the error.
    virtual DWORD Start() = 0;
    // The service's current state (SERVICE_STOPPED, ...), 0 when it cannot be read.
    virtual DWORD State() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

// Starts the service. The service manager refuses a start with ERROR_SERVICE_ALREADY_RUNNING also
// while a stop is still pending, so that answer is not taken as running: the stop is waited for (up
// to 30 seconds) and the start repeated. 1 when the service was started or is running or starting.
int StartServiceAfterStop(CServiceStartControl& service);
// The same on a service handle with SERVICE_START and SERVICE_QUERY_STATUS access.
int StartServiceAfterStop(SC_HANDLE service);

// 1 when the Windows 95 spooler window was found and asked to close (its answer waited for at most
// kCloseRequestTimeoutMs, then one second more), else 0 at once.
int CloseWin95Spooler();

// Deletes every service of the removal profile on the NT family, except Windows' own services
// (kept, whatever a script says); does nothing elsewhere. Sets the database's reboot-needed flag for
// each service that was deleted or was already marked for deletion: such a service only disappears
// once it has stopped, which may need a restart. A dry run records the services it finds and sets
// the flag as the deletion would.
void RemoveServicesStep(RemovalContext& ctx);
