// The spooler service and service removal against Wine's service control manager.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../RecordingRemoval.h"
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
    // A subcase before may have left it in place.
    REQUIRE((service || GetLastError() == ERROR_SERVICE_EXISTS));
    if (service) CloseServiceHandle(service);
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

// The recorder with the given services in the removal profile.
struct ServiceRemoval : RecordingRemoval {
    explicit ServiceRemoval(std::vector<const char*> services) {
        for (const char* name : services) db.Removal().Services.Append(name);
    }
};

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
    ServiceRemoval removal({"QuTestSvcOne", "NoSuchServiceHere", "qutestsvctwo"});

    SUBCASE("a dry run finds them and leaves them") {
        removal.ctx.dryRun = true;
        RemoveServicesStep(removal.ctx);
        CHECK(ServiceExists("QuTestSvcOne"));
        CHECK(ServiceExists("QuTestSvcTwo"));
        if (removal.ctx.os.IsNT()) {
            CHECK(removal.records == std::vector<std::string>{"QuTestSvcOne present",
                                                              "NoSuchServiceHere not present",
                                                              "qutestsvctwo present"});
            CHECK(removal.db.RebootNeeded() == 1);  // as the deletion would ask
        }
    }
    SUBCASE("a removal deletes them") {
        RemoveServicesStep(removal.ctx);
        if (removal.ctx.os.IsNT()) {
            CHECK(removal.db.RebootNeeded() == 1);
            CHECK_FALSE(ServiceExists("QuTestSvcOne"));
            CHECK_FALSE(ServiceExists("QuTestSvcTwo"));
            CHECK(removal.records == std::vector<std::string>{"QuTestSvcOne removed",
                                                              "NoSuchServiceHere not present",
                                                              "qutestsvctwo removed"});
        } else {
            CHECK(removal.db.RebootNeeded() == 0);
            CHECK(ServiceExists("QuTestSvcOne"));
            CHECK(ServiceExists("QuTestSvcTwo"));
            CHECK(removal.records.empty());
        }
    }
}

TEST_CASE("the removal step keeps an earlier restart request when nothing is left to delete") {
    CreateTestService("QuTestSvcStep");
    ServiceRemoval removal({"QuTestSvcStep"});
    RemoveServicesStep(removal.ctx);
    CHECK(removal.db.RebootNeeded() == (removal.ctx.os.IsNT() ? 1 : 0));
    CHECK(ServiceExists("QuTestSvcStep") == !removal.ctx.os.IsNT());

    removal.db.SetRebootNeeded(1);
    RemoveServicesStep(removal.ctx);
    CHECK(removal.db.RebootNeeded() == 1);
}

TEST_CASE("a service already marked for deletion asks for a restart again") {
    if (!COSInfo().IsNT()) return;
    CreateTestService("QuTestSvcHeld");
    // An open handle keeps a deleted service visible, marked for deletion.
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE held = OpenServiceA(manager, "QuTestSvcHeld", SERVICE_QUERY_STATUS);
    REQUIRE(held);

    ServiceRemoval first({"QuTestSvcHeld"});
    RemoveServicesStep(first.ctx);
    CHECK(first.db.RebootNeeded() == 1);

    ServiceRemoval second({"QuTestSvcHeld"});
    RemoveServicesStep(second.ctx);
    CHECK(second.db.RebootNeeded() == 1);
    CHECK(second.records == std::vector<std::string>{"QuTestSvcHeld deferred marked for deletion"});

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
    HWND window =
        CreateWindowA("SpoolProcessClass", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
    REQUIRE(window);

    start = GetTickCount();
    CHECK(CloseWin95Spooler() == 1);
    CHECK(GetTickCount() - start >= 900);
    CHECK(g_closeMessages == 1);
    CHECK_FALSE(IsWindow(window));
}
