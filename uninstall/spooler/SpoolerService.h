#pragma once
// The print spooler as a process: stopping and starting the NT service, closing the Windows 95
// spooler window, and deleting the NT services that the maker's installers registered.
#include "spooler/RemovalContext.h"

// 1 when the service accepted the stop request, else 0. Does not wait for the stopped state.
int StopSpoolerService();
// 1 when the service was started or was running already, else 0.
int StartSpoolerService();
// 1 when the Windows 95 spooler window was found and asked to close (then waits one second),
// else 0 at once.
int CloseWin95Spooler();

// Deletes every service of the removal profile on the NT family; does nothing elsewhere. Sets the
// database's reboot-needed flag for each service that was deleted or was already marked for
// deletion: such a service only disappears once it has stopped, which may need a restart. A dry
// run records the services it finds and sets the flag as the deletion would.
void RemoveServicesStep(RemovalContext& ctx);
