#include "StartUp.h"

#include "res/resource.h"
#include "script/TextItem.h"
#include "shell/StringRing.h"
#include "spooler/PromptText.h"
#include "spooler/SpoolerService.h"

const char kMainWindowClass[] = "QLNUninstallWindowClass__";

static const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
static const char kRunOnceValue[] = "tintora4410MF";
// The usage text is longer than a slot of the string ring.
static const int kUsageSize = 2048;
static const int kMessageSize = 1024;

bool IsRestartSpoolerCommand(const char* arguments) {
    return arguments && EqualsNoCase(arguments, "RestartSpooler");
}

static void RestartSpoolerService() {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!manager) return;
    SC_HANDLE service = OpenServiceA(manager, "Spooler", SERVICE_START | SERVICE_STOP | SERVICE_QUERY_STATUS);
    if (service) {
        SERVICE_STATUS status = {};
        // A refused stop (the spooler is not running, or is stopping already) is silent; the start
        // after an accepted one waits for the stop to end.
        if (ControlService(service, SERVICE_CONTROL_STOP, &status) && !StartServiceAfterStop(service)) {
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

void ShowUsage(HINSTANCE instance) {
    char usage[kUsageSize] = "";
    LoadStringA(instance, IDS_USAGE, usage, sizeof usage);
    CStringRing strings(instance);
    MessageBoxA(NULL, usage, strings.GetText(IDS_CAPTION), MB_OK | MB_ICONINFORMATION);
}

void WarnAnotherCopy(HINSTANCE instance) {
    CStringRing strings(instance);
    MessageBoxA(NULL, strings.GetText(IDS_ANOTHER_COPY), strings.GetText(IDS_CAPTION), MB_OK | MB_ICONWARNING);
}

void WarnLogNotOpened(HINSTANCE instance, const char* path) {
    CStringRing strings(instance);
    char message[kMessageSize];
    FormatPrompt(message, sizeof message, strings.GetText(IDS_LOG_NOT_OPENED), path);
    MessageBoxA(NULL, message, strings.GetText(IDS_CAPTION), MB_ICONWARNING);
}
