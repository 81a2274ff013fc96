// The spooler service and service removal against Wine's service control manager.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include "script/TextList.h"
#include "script/UninstallDatabase.h"
#include "shell/OSInfo.h"
#include "spooler/SpoolerService.h"

namespace {
DWORD SpoolerState() {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceA(manager, "Spooler", SERVICE_QUERY_STATUS);
    SERVICE_STATUS status = {};
    QueryServiceStatus(service, &status);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return status.dwCurrentState;
}

DWORD WaitForSpoolerState(DWORD wanted) {
    for (int i = 0; i < 250 && SpoolerState() != wanted; ++i) Sleep(20);
    return SpoolerState();
}

void CreateTestService(const char* name) {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    REQUIRE(manager);
    SC_HANDLE service = CreateServiceA(manager, name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                       SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                       "C:\\windows\\system32\\qutestsvc.exe", NULL, NULL, NULL, NULL, NULL);
    REQUIRE(service);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

bool ServiceExists(const char* name) {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_STATUS);
    bool exists = service != NULL;
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return exists;
}

int g_closeMessages = 0;
LRESULT CALLBACK FakeSpoolerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++g_closeMessages;
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
}  // namespace

TEST_CASE("the spooler service starts, counts as started when running, and stops on request") {
    if (!COSInfo().IsNT()) return;
    CHECK(StartSpoolerService() == 1);
    CHECK(WaitForSpoolerState(SERVICE_RUNNING) == SERVICE_RUNNING);
    CHECK(StartSpoolerService() == 1);  // already running

    CHECK(StopSpoolerService() == 1);
    CHECK(WaitForSpoolerState(SERVICE_STOPPED) == SERVICE_STOPPED);
    CHECK(StopSpoolerService() == 0);  // a stopped service refuses the request

    CHECK(StartSpoolerService() == 1);
    CHECK(WaitForSpoolerState(SERVICE_RUNNING) == SERVICE_RUNNING);
}

TEST_CASE("listed services are deleted on the NT family only, and deletion asks for a restart") {
    CreateTestService("QuTestSvcOne");
    CreateTestService("QuTestSvcTwo");
    TextList services;
    services.Append("QuTestSvcOne");
    services.Append("NoSuchServiceHere");
    services.Append("qutestsvctwo");
    int rebootNeeded = 0;
    COSInfo os;

    RemoveServices(services, os, &rebootNeeded);

    if (os.IsNT()) {
        CHECK(rebootNeeded == 1);
        CHECK_FALSE(ServiceExists("QuTestSvcOne"));
        CHECK_FALSE(ServiceExists("QuTestSvcTwo"));
    } else {
        CHECK(rebootNeeded == 0);
        CHECK(ServiceExists("QuTestSvcOne"));
        CHECK(ServiceExists("QuTestSvcTwo"));
    }
}

TEST_CASE("the removal step deletes the removal profile's services and keeps an earlier restart request") {
    COSInfo os;
    CreateTestService("QuTestSvcStep");
    UninstallDatabase db(os.GetFamily());
    db.Removal().Services.Append("QuTestSvcStep");
    RemoveServicesStep(db, os);
    CHECK(db.RebootNeeded() == (os.IsNT() ? 1 : 0));
    CHECK(ServiceExists("QuTestSvcStep") == !os.IsNT());

    // Nothing left to delete: a restart asked for earlier stays asked for.
    db.SetRebootNeeded(1);
    RemoveServicesStep(db, os);
    CHECK(db.RebootNeeded() == 1);
}

TEST_CASE("a service already marked for deletion asks for a restart again") {
    COSInfo os;
    if (!os.IsNT()) return;
    CreateTestService("QuTestSvcHeld");
    // An open handle keeps a deleted service visible, marked for deletion.
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE held = OpenServiceA(manager, "QuTestSvcHeld", SERVICE_QUERY_STATUS);
    REQUIRE(held);
    TextList services;
    services.Append("QuTestSvcHeld");

    int rebootNeeded = 0;
    RemoveServices(services, os, &rebootNeeded);
    CHECK(rebootNeeded == 1);

    rebootNeeded = 0;
    RemoveServices(services, os, &rebootNeeded);
    CHECK(rebootNeeded == 1);

    CloseServiceHandle(held);
    CloseServiceHandle(manager);
    CHECK_FALSE(ServiceExists("QuTestSvcHeld"));
}

TEST_CASE("the Windows 95 spooler window is asked to close, and its absence costs no wait") {
    DWORD start = GetTickCount();
    CHECK(CloseWin95Spooler() == 0);
    CHECK(GetTickCount() - start < 500);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = FakeSpoolerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "SpoolProcessClass";
    REQUIRE(RegisterClassA(&wc));
    HWND window = CreateWindowA("SpoolProcessClass", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL,
                                wc.hInstance, NULL);
    REQUIRE(window);

    start = GetTickCount();
    CHECK(CloseWin95Spooler() == 1);
    CHECK(GetTickCount() - start >= 900);
    CHECK(g_closeMessages == 1);
    CHECK_FALSE(IsWindow(window));
}
