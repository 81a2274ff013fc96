#include "SpoolerService.h"

#include <windows.h>

#include "script/UninstallDatabase.h"
#include "spooler/InboxComponents.h"
#include "system/CloseRequest.h"

namespace {
const char kSpoolerService[] = "Spooler";
const char kWin95SpoolerClass[] = "SpoolProcessClass";
const DWORD kWin95SpoolerExitWait = 1000;
const char kStep[] = "services";
const char kKind[] = "service";
// How long a stop that is still pending may take before a start gives up.
const DWORD kStopWaitMs = 30000;
const DWORD kStopPollMs = 100;

class CServiceHandleControl : public CServiceStartControl {
public:
    explicit CServiceHandleControl(SC_HANDLE handle) : service(handle) {}
    DWORD Start() override { return StartServiceA(service, 0, NULL) ? ERROR_SUCCESS : GetLastError(); }
    DWORD State() override {
        SERVICE_STATUS status = {};
        return QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
    }
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }

private:
    SC_HANDLE service;
};

// Waits while the service is stopping; returns its state afterwards (0 when it cannot be read).
DWORD WaitWhileStopping(CServiceStartControl& service) {
    DWORD state = service.State();
    for (DWORD waited = 0; state == SERVICE_STOP_PENDING && waited < kStopWaitMs; waited += kStopPollMs) {
        service.Sleep(kStopPollMs);
        state = service.State();
    }
    return state;
}
}  // namespace

int StartServiceAfterStop(CServiceStartControl& service) {
    DWORD error = service.Start();
    if (error == ERROR_SUCCESS) return 1;
    if (error != ERROR_SERVICE_ALREADY_RUNNING) return 0;
    DWORD state = WaitWhileStopping(service);
    if (state == SERVICE_RUNNING || state == SERVICE_START_PENDING) return 1;
    return state == SERVICE_STOPPED && service.Start() == ERROR_SUCCESS ? 1 : 0;
}

int StartServiceAfterStop(SC_HANDLE service) {
    CServiceHandleControl control(service);
    return StartServiceAfterStop(control);
}

namespace {
// Runs action on the Spooler service, opened with these rights; 0 when it cannot be opened.
template <class Action>
int WithSpoolerService(DWORD managerAccess, DWORD serviceAccess, Action action) {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, managerAccess);
    if (!manager) return 0;
    int result = 0;
    SC_HANDLE service = OpenServiceA(manager, kSpoolerService, serviceAccess);
    if (service) {
        result = action(service);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return result;
}
}  // namespace

int StopSpoolerService() {
    return WithSpoolerService(SC_MANAGER_ALL_ACCESS, SERVICE_ALL_ACCESS, [](SC_HANDLE service) {
        SERVICE_STATUS status = {};
        return ControlService(service, SERVICE_CONTROL_STOP, &status) ? 1 : 0;
    });
}

int StartSpoolerService() {
    return WithSpoolerService(SC_MANAGER_ALL_ACCESS, SERVICE_ALL_ACCESS,
                              [](SC_HANDLE service) { return StartServiceAfterStop(service); });
}

int SpoolerServiceRunning() {
    return WithSpoolerService(SC_MANAGER_CONNECT, SERVICE_QUERY_STATUS, [](SC_HANDLE service) {
        SERVICE_STATUS status = {};
        return QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING ? 1 : 0;
    });
}

int CloseWin95Spooler() {
    HWND spooler = FindWindowA(kWin95SpoolerClass, NULL);
    if (!spooler) return 0;
    RequestClose(spooler, 0);
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
        if (IsWindowsService(name.Text())) {
            ctx.Record(kStep, kKind, name.Text(), kOutcomeKept, "Windows component");
            continue;
        }
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
