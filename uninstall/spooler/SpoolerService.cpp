#include "SpoolerService.h"

#include <windows.h>

#include "script/UninstallDatabase.h"

namespace {
const char kSpoolerService[] = "Spooler";
const char kWin95SpoolerClass[] = "SpoolProcessClass";
const DWORD kWin95SpoolerExitWait = 1000;
const char kStep[] = "services";
const char kKind[] = "service";
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
        if (StartServiceA(service, 0, NULL) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING) result = 1;
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

void RemoveServicesStep(RemovalContext& ctx) {
    if (!ctx.os.IsNT()) return;
    SC_HANDLE manager =
        OpenSCManagerA(NULL, NULL, ctx.dryRun ? SC_MANAGER_CONNECT : SC_MANAGER_CREATE_SERVICE);
    if (!manager) {
        ctx.Record(kStep, kKind, "", kOutcomeFailed, "service manager", GetLastError());
        return;
    }
    const DWORD access = ctx.dryRun ? SERVICE_QUERY_STATUS : SERVICE_ALL_ACCESS;
    for (const TextItem& name : ctx.database.Removal().Services) {
        SC_HANDLE service = OpenServiceA(manager, name.Text(), access);
        if (!service) {
            DWORD error = GetLastError();
            if (error == ERROR_SERVICE_DOES_NOT_EXIST)
                ctx.Record(kStep, kKind, name.Text(), kOutcomeNotPresent);
            else
                ctx.Record(kStep, kKind, name.Text(), kOutcomeFailed, "", error);
            continue;
        }
        if (ctx.dryRun) {
            ctx.Record(kStep, kKind, name.Text(), kOutcomePresent);
            ctx.database.SetRebootNeeded(1);
            CloseServiceHandle(service);
            continue;
        }
        SERVICE_STATUS status = {};
        bool running = QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED;
        BOOL deleted = DeleteService(service);
        DWORD error = deleted ? ERROR_SUCCESS : GetLastError();
        CloseServiceHandle(service);
        // A running service is only marked; it goes when it stops, at the latest at the restart.
        if (deleted && !running) {
            ctx.Record(kStep, kKind, name.Text(), kOutcomeRemoved);
        } else if (deleted || error == ERROR_SERVICE_MARKED_FOR_DELETE) {
            ctx.Record(kStep, kKind, name.Text(), kOutcomeDeferred, "marked for deletion");
        } else {
            ctx.Record(kStep, kKind, name.Text(), kOutcomeFailed, "", error);
            continue;
        }
        ctx.database.SetRebootNeeded(1);
    }
    CloseServiceHandle(manager);
}
