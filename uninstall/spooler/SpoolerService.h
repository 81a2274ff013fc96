#pragma once
// The print spooler as a process: stopping and starting the NT service, closing the Windows 95
// spooler window, and deleting the NT services that the maker's installers registered.
class COSInfo;
class TextList;
class UninstallDatabase;

// 1 when the service accepted the stop request, else 0. Does not wait for the stopped state.
int StopSpoolerService();
// 1 when the service was started or was running already, else 0.
int StartSpoolerService();
// 1 when the Windows 95 spooler window was found and asked to close (then waits one second),
// else 0 at once.
int CloseWin95Spooler();

// Deletes every listed service on the NT family; does nothing elsewhere. Sets *rebootNeeded to 1
// for each service that was deleted or was already marked for deletion: such a service only
// disappears once it has stopped, which may need a restart.
void RemoveServices(const TextList& services, const COSInfo& os, int* rebootNeeded);

// The removal step: the removal profile's services, with the database's reboot-needed flag.
void RemoveServicesStep(UninstallDatabase& database, const COSInfo& os);
