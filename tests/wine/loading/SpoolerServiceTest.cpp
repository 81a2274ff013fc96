// The spooler service and service removal against Wine's service control manager.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../removal/RemovalTestSupport.h"
#include "shell/LoadingWork.h"
#include "shell/OSInfo.h"
#include "spooler/RemovalSteps.h"
#include "spooler/SpoolerService.h"
#include "system/CloseRequest.h"

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
struct ServiceRemoval : Removal {
    explicit ServiceRemoval(std::vector<const char*> services) {
        for (const char* name : services) db.Removal().Services.Append(name);
    }
};

// Answers starts and state queries from a script; the last state repeats. Sleeps only count.
class CScriptedService : public CServiceStartControl {
public:
    CScriptedService(const std::vector<DWORD>& starts, const std::vector<DWORD>& states)
        : startAnswers(starts), stateAnswers(states) {}
    DWORD Start() override { return startAnswers.at(static_cast<size_t>(starts++)); }
    DWORD State() override {
        if (stateAnswers.empty()) return 0;
        size_t i = static_cast<size_t>(queries++);
        return stateAnswers[i < stateAnswers.size() ? i : stateAnswers.size() - 1];
    }
    void Sleep(DWORD milliseconds) override { slept += milliseconds; }

    std::vector<DWORD> startAnswers;
    std::vector<DWORD> stateAnswers;
    int starts = 0;
    int queries = 0;
    DWORD slept = 0;
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

TEST_CASE("a start refused while the stop is still pending waits for the stop and starts again") {
    const DWORD kRunning = SERVICE_RUNNING, kStopped = SERVICE_STOPPED, kStopping = SERVICE_STOP_PENDING;
    struct Case {
        std::string what;
        std::vector<DWORD> starts;  // answers to the start requests, in order
        std::vector<DWORD> states;  // answers to the state queries; the last one repeats
        int result;
        int startCalls;
        DWORD slept;
    } cases[] = {
        {"accepted at once", {ERROR_SUCCESS}, {}, 1, 1, 0},
        {"running already", {ERROR_SERVICE_ALREADY_RUNNING}, {kRunning}, 1, 1, 0},
        {"stop pending for three polls, then stopped",
         {ERROR_SERVICE_ALREADY_RUNNING, ERROR_SUCCESS},
         {kStopping, kStopping, kStopping, kStopped},
         1,
         2,
         300},
        {"stop pending, then started by someone else",
         {ERROR_SERVICE_ALREADY_RUNNING},
         {kStopping, SERVICE_START_PENDING},
         1,
         1,
         100},
        {"stop pending longer than the wait", {ERROR_SERVICE_ALREADY_RUNNING}, {kStopping}, 0, 1, 30000},
        {"stopped, but the second start fails",
         {ERROR_SERVICE_ALREADY_RUNNING, ERROR_SERVICE_DISABLED},
         {kStopping, kStopped},
         0,
         2,
         100},
        {"refused for another reason", {ERROR_SERVICE_DISABLED}, {kStopped}, 0, 1, 0},
        {"state cannot be read", {ERROR_SERVICE_ALREADY_RUNNING}, {}, 0, 1, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        CScriptedService service(c.starts, c.states);
        CHECK(StartServiceAfterStop(service) == c.result);
        CHECK(service.starts == c.startCalls);
        CHECK(service.slept == c.slept);
    }
}

TEST_CASE("listed services are deleted on the NT family only, and deletion asks for a restart") {
    CreateTestService("QuTestSvcOne");
    CreateTestService("QuTestSvcTwo");
    // A script may also name one of Windows' own services: it is never deleted.
    ServiceRemoval removal({"QuTestSvcOne", "NoSuchServiceHere", "qutestsvctwo", "spooler"});

    SUBCASE("a dry run finds them and leaves them") {
        removal.ctx.dryRun = true;
        RemoveServicesStep(removal.ctx);
        CHECK(ServiceExists("QuTestSvcOne"));
        CHECK(ServiceExists("QuTestSvcTwo"));
        if (removal.ctx.os.IsNT()) {
            CHECK(removal.log.Lines() ==
                  std::vector<std::string>{"QuTestSvcOne present", "NoSuchServiceHere not present",
                                           "qutestsvctwo present", "spooler kept Windows component"});
            CHECK(removal.db.RebootNeeded() == 1);  // as the deletion would ask
        }
    }
    SUBCASE("a removal deletes them") {
        RemoveServicesStep(removal.ctx);
        if (removal.ctx.os.IsNT()) {
            CHECK(removal.db.RebootNeeded() == 1);
            CHECK_FALSE(ServiceExists("QuTestSvcOne"));
            CHECK_FALSE(ServiceExists("QuTestSvcTwo"));
            CHECK(removal.log.Lines() ==
                  std::vector<std::string>{"QuTestSvcOne removed", "NoSuchServiceHere not present",
                                           "qutestsvctwo removed", "spooler kept Windows component"});
            CHECK(ServiceExists("Spooler"));
        } else {
            CHECK(removal.db.RebootNeeded() == 0);
            CHECK(ServiceExists("QuTestSvcOne"));
            CHECK(ServiceExists("QuTestSvcTwo"));
            CHECK(removal.log.actions.empty());
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
    CHECK(second.log.Lines() == std::vector<std::string>{"QuTestSvcHeld deferred marked for deletion"});

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

namespace {
// A window of another thread that, asked to close, waits for a person (here: for release) first.
struct StubbornWindow {
    const char* className;
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE release = CreateEventA(NULL, TRUE, FALSE, NULL);
};
StubbornWindow* g_stubborn = nullptr;

LRESULT CALLBACK StubbornProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        WaitForSingleObject(g_stubborn->release, 30000);
        DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

DWORD WINAPI StubbornThread(void*) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = g_stubborn->className;
    RegisterClassA(&wc);  // an earlier case may have registered it
    HWND window =
        CreateWindowA(g_stubborn->className, "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StubbornProc));
    SetEvent(g_stubborn->ready);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
}  // namespace

TEST_CASE("a program that does not answer its close request holds up the run for a bounded time") {
    struct Case {
        const char* className;
        int (*close)();
    };
    const Case cases[] = {
        {"QLNStatusClass_01", CloseRelatedApplications},
        {"SpoolProcessClass", CloseWin95Spooler},
    };
    for (const Case& c : cases) {
        const std::string name = c.className;
        CAPTURE(name);
        StubbornWindow stubborn;
        stubborn.className = c.className;
        g_stubborn = &stubborn;
        HANDLE thread = CreateThread(NULL, 0, StubbornThread, NULL, 0, NULL);
        REQUIRE(WaitForSingleObject(stubborn.ready, 5000) == WAIT_OBJECT_0);
        const DWORD start = GetTickCount();
        CHECK(c.close() == 1);
        // The close request's bound, the Windows 95 spooler's second, and slack for a loaded machine.
        CHECK(GetTickCount() - start < kCloseRequestTimeoutMs + 4000);
        SetEvent(stubborn.release);
        CHECK(WaitForSingleObject(thread, 35000) == WAIT_OBJECT_0);
        CloseHandle(thread);
        CloseHandle(stubborn.ready);
        CloseHandle(stubborn.release);
    }
}

namespace {
void SetSpoolerStart(DWORD startType) {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceA(manager, "Spooler", SERVICE_CHANGE_CONFIG);
    CHECK(ChangeServiceConfigA(service, SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, NULL, NULL, NULL,
                               NULL, NULL, NULL, NULL));
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}
}  // namespace

TEST_CASE("the removal's closing start of the spooler tells when it left the spooler stopped") {
    struct Case {
        const char* what;
        DWORD startType;
        bool leftStopped;
        const char* record;
    } cases[] = {
        {"start refused", SERVICE_DISABLED, true, "Spooler failed start refused"},
        {"started", SERVICE_DEMAND_START, false, "Spooler done started"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        StopSpoolerService();
        WaitForSpoolerState(SERVICE_STOPPED);
        SetSpoolerStart(c.startType);
        Removal removal;
        RemovalSteps steps(removal.ctx);
        steps.StartSpooler();
        CHECK(steps.SpoolerLeftStopped() == c.leftStopped);
        CHECK(removal.log.Lines() == std::vector<std::string>{c.record});
        SetSpoolerStart(SERVICE_DEMAND_START);
    }
}
