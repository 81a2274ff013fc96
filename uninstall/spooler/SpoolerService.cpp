#include "SpoolerService.h"

#include <windows.h>

#include "script/TextList.h"
#include "script/UninstallDatabase.h"
#include "shell/OSInfo.h"

namespace {
const char kSpoolerService[] = "Spooler";
const char kWin95SpoolerClass[] = "SpoolProcessClass";
const DWORD kWin95SpoolerExitWait = 1000;
}  // namespace

int StopSpoolerService() {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!manager) return 0;
    int result = 0;
    SC_HANDLE service = OpenServiceA(manager, kSpoolerService, SERVICE_ALL_ACCESS);
    if (service) {
        SERVICE_STATUS status = {};
        if (ControlService(service, SERVICE_CONTROL_STOP, &status)) result = 1;
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return result;
}

int StartSpoolerService() {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!manager) return 0;
    int result = 0;
    SC_HANDLE service = OpenServiceA(manager, kSpoolerService, SERVICE_ALL_ACCESS);
    if (service) {
        if (StartServiceA(service, 0, NULL) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING)
            result = 1;
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return result;
}

int CloseWin95Spooler() {
    HWND spooler = FindWindowA(kWin95SpoolerClass, NULL);
    if (!spooler) return 0;
    SendMessageA(spooler, WM_CLOSE, 0, 0);
    // Give the spooler process time to end and release its files before the clean-up goes on.
    Sleep(kWin95SpoolerExitWait);
    return 1;
}

void RemoveServices(const TextList& services, const COSInfo& os, int* rebootNeeded) {
    if (!os.IsNT()) return;
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CREATE_SERVICE);
    if (!manager) return;
    for (const TextItem& name : services) {
        SC_HANDLE service = OpenServiceA(manager, name.Text(), SERVICE_ALL_ACCESS);
        if (!service) continue;
        BOOL deleted = DeleteService(service);
        DWORD error = deleted ? ERROR_SUCCESS : GetLastError();
        CloseServiceHandle(service);
        // A running service is only marked; it goes when it stops, at the latest at the restart.
        if (deleted || error == ERROR_SERVICE_MARKED_FOR_DELETE) *rebootNeeded = 1;
    }
    CloseServiceHandle(manager);
}

void RemoveServicesStep(UninstallDatabase& database, const COSInfo& os) {
    int rebootNeeded = database.RebootNeeded();
    RemoveServices(database.Removal().Services, os, &rebootNeeded);
    database.SetRebootNeeded(rebootNeeded);
}
