#include "StartUp.h"

#include "script/TextItem.h"

const char kMainWindowClass[] = "QLNUninstallWindowClass__";

static const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
static const char kRunOnceValue[] = "tintora4410MF";
// How long a stop that is still pending may take before the restart gives up.
static const DWORD kStopWaitMs = 30000;
static const DWORD kStopPollMs = 100;

bool IsRestartSpoolerCommand(const char* arguments) {
    return arguments && EqualsNoCase(arguments, "RestartSpooler");
}

// Waits while the service is stopping; returns its state afterwards (0 when it cannot be read).
static DWORD WaitWhileStopping(SC_HANDLE service) {
    SERVICE_STATUS status = {};
    for (DWORD waited = 0;; waited += kStopPollMs) {
        if (!QueryServiceStatus(service, &status)) return 0;
        if (status.dwCurrentState != SERVICE_STOP_PENDING || waited >= kStopWaitMs) break;
        Sleep(kStopPollMs);
    }
    return status.dwCurrentState;
}

// Starts the service right after its stop was accepted. Windows refuses the start while the stop is
// still pending, which would leave the spooler stopped: in that case the start is repeated once the
// service has stopped.
static BOOL StartAfterStop(SC_HANDLE service) {
    if (StartServiceA(service, 0, NULL)) return TRUE;
    if (GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) return FALSE;
    DWORD state = WaitWhileStopping(service);
    if (state == SERVICE_RUNNING || state == SERVICE_START_PENDING) return TRUE;
    return state == SERVICE_STOPPED && StartServiceA(service, 0, NULL);
}

static void RestartSpoolerService() {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!manager) return;
    SC_HANDLE service = OpenServiceA(manager, "Spooler", SERVICE_START | SERVICE_STOP | SERVICE_QUERY_STATUS);
    if (service) {
        SERVICE_STATUS status = {};
        // A refused stop (the spooler is not running, or is stopping already) is silent.
        if (ControlService(service, SERVICE_CONTROL_STOP, &status) && !StartAfterStop(service)) {
            MessageBoxA(NULL, "Error starting Spooler Service.", "Fatal Error", MB_ICONERROR);
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
}

static void DeleteRunOnceValue() {
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, kRunOnceValue);  // a missing value is fine
    RegCloseKey(key);
}

int RunRestartSpoolerMode() {
    OSVERSIONINFOA osvi = {};
    osvi.dwOSVersionInfoSize = sizeof osvi;
    // Windows 9x and NT 4 have no Spooler service to restart this way.
    if (GetVersionExA(&osvi) && osvi.dwMajorVersion > 4) RestartSpoolerService();
    DeleteRunOnceValue();
    return 0;
}

int ActivateRunningCopy() {
    HWND window = FindWindowA(kMainWindowClass, NULL);
    if (!window) return 0;
    ShowWindow(window, SW_SHOWDEFAULT);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    return 1;
}

ATOM RegisterMainWindowClass() {
    WNDCLASSA dialogClass;
    if (!GetClassInfoA(NULL, "#32770", &dialogClass)) return 0;
    dialogClass.lpszClassName = kMainWindowClass;
    return RegisterClassA(&dialogClass);
}
