// The built program QUINST01.EXE and a probe program run as child processes in one throwaway
// prefix: the spooler-restart mode, the single-instance start, and what the version record and the
// administrator check report on each emulated Windows version.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include <string>

#include "shell/HookWindow.h"
#include "shell/StartUp.h"
#include "RestrictedToken.h"

namespace {

const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kRestartValue[] = "tintora4410MF";
const char kOtherValue[] = "QshOtherEntry";
const DWORD kTimeout = 20000;
const DWORD kTimedOut = 0xFFFFFFFF;

std::string BesideMe(const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

// The Windows version Wine reports to one program; null returns it to the default.
void SetVersionFor(const char* exe, const char* version) {
    std::string key = std::string("Software\\Wine\\AppDefaults\\") + exe;
    HKEY k;
    REQUIRE(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL) == 0);
    if (version) {
        RegSetValueExA(k, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>(strlen(version) + 1));
    } else {
        RegDeleteValueA(k, "Version");
    }
    RegCloseKey(k);
}

struct VersionFor {
    const char* exe;
    VersionFor(const char* exe, const char* version) : exe(exe) { SetVersionFor(exe, version); }
    ~VersionFor() { SetVersionFor(exe, NULL); }
};

PROCESS_INFORMATION Start(const std::string& commandLine, HANDLE token = NULL) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = commandLine;
    BOOL started = token ? CreateProcessAsUserA(token, NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)
                         : CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi);
    INFO("CreateProcess error ", GetLastError(), " for ", commandLine);
    REQUIRE(started);
    CloseHandle(pi.hThread);
    return pi;
}

// A "Fatal Error" box of the restart mode would block the child: answer it and note it.
bool g_sawFatalError = false;

DWORD Finish(PROCESS_INFORMATION pi, DWORD timeout = kTimeout) {
    DWORD waited = 0;
    while (WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT) {
        HWND box = FindWindowA("#32770", "Fatal Error");
        if (box) {
            g_sawFatalError = true;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        waited += 50;
        if (waited >= timeout) {
            TerminateProcess(pi.hProcess, kTimedOut);
            WaitForSingleObject(pi.hProcess, 5000);
            break;
        }
    }
    DWORD code = kTimedOut;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    return code;
}

DWORD Run(const std::string& commandLine, HANDLE token = NULL) { return Finish(Start(commandLine, token)); }

std::string Tool(const char* arguments) {
    std::string line = "\"" + BesideMe("QUINST01.EXE") + "\"";
    if (arguments) line += std::string(" ") + arguments;
    return line;
}

// The main window once the dialog manager has shown it. Loading runs first and warns in a message
// box that no uninstall script was found; the box is answered so loading goes on.
HWND WaitForMainWindow() {
    for (int i = 0; i < 1000; ++i) {
        HWND window = FindWindowA(kMainWindowClass, NULL);
        if (window && IsWindowVisible(window)) return window;
        HWND box = FindWindowA("#32770", "Printer Uninstall");
        if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
        Sleep(20);
    }
    return NULL;
}

struct SpoolerState {
    DWORD state;
    DWORD processId;
};

SpoolerState QuerySpooler(bool startFirst = false) {
    SpoolerState result = {0, 0};
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    REQUIRE(manager != NULL);
    SC_HANDLE service = OpenServiceA(manager, "Spooler", SERVICE_START | SERVICE_QUERY_STATUS);
    REQUIRE(service != NULL);
    if (startFirst) StartServiceA(service, 0, NULL);
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    for (int i = 0; i < 100; ++i) {  // let a pending state settle
        QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                             &needed);
        if (status.dwCurrentState == SERVICE_RUNNING || status.dwCurrentState == SERVICE_STOPPED) break;
        Sleep(50);
    }
    result.state = status.dwCurrentState;
    result.processId = status.dwProcessId;
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return result;
}

SpoolerState RunningSpooler() {
    SpoolerState s = QuerySpooler(true);
    REQUIRE(s.state == SERVICE_RUNNING);
    return s;
}

void SeedRunOnce() {
    HKEY key;
    REQUIRE(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) == 0);
    const char data[] = "C:\\nowhere\\restart.exe";
    RegSetValueExA(key, kRestartValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
    RegSetValueExA(key, kOtherValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
    RegCloseKey(key);
}

bool RunOnceHas(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_READ, &key) != 0) return false;
    bool found = RegQueryValueExA(key, name, NULL, NULL, NULL, NULL) == 0;
    RegCloseKey(key);
    return found;
}


}  // namespace

TEST_CASE("RestartSpooler in any letter case restarts the spooler on Windows 2000 and later") {
    const char* versions[] = {"win2k", "winxp", nullptr};  // nullptr: Wine's default, 6.1
    const char* spellings[] = {"RestartSpooler", "rEsTaRtSpOoLeR", "RESTARTSPOOLER"};
    for (int i = 0; i < 3; ++i) {
        std::string spelling = spellings[i];
        CAPTURE(spelling);
        VersionFor version("QUINST01.EXE", versions[i]);
        SpoolerState before = RunningSpooler();
        SeedRunOnce();
        g_sawFatalError = false;

        CHECK(Run(Tool(spellings[i])) == 0);

        SpoolerState after = QuerySpooler();
        CHECK(after.state == SERVICE_RUNNING);
        CHECK(after.processId != before.processId);  // a new spooler process: it was stopped and started
        CHECK_FALSE(g_sawFatalError);
        CHECK_FALSE(RunOnceHas(kRestartValue));
        CHECK(RunOnceHas(kOtherValue));
    }
}

TEST_CASE("RestartSpooler on NT 4 and Windows 98 leaves the service alone but removes the value") {
    const char* versions[] = {"nt40", "win98", "win95"};
    for (const char* v : versions) {
        std::string name = v;
        CAPTURE(name);
        VersionFor version("QUINST01.EXE", v);
        SpoolerState before = RunningSpooler();
        SeedRunOnce();

        CHECK(Run(Tool("RestartSpooler")) == 0);

        SpoolerState after = QuerySpooler();
        CHECK(after.state == SERVICE_RUNNING);
        CHECK(after.processId == before.processId);
        CHECK_FALSE(RunOnceHas(kRestartValue));
        CHECK(RunOnceHas(kOtherValue));
    }
}

TEST_CASE("RestartSpooler with a stopped spooler does not start it and says nothing") {
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, "Spooler", SERVICE_STOP);
    SERVICE_STATUS status;
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    REQUIRE(QuerySpooler().state == SERVICE_STOPPED);
    g_sawFatalError = false;

    CHECK(Run(Tool("RestartSpooler")) == 0);
    CHECK(QuerySpooler().state == SERVICE_STOPPED);
    CHECK_FALSE(g_sawFatalError);
}

TEST_CASE("RestartSpooler followed by a switch starts the interactive mode") {
    SeedRunOnce();
    PROCESS_INFORMATION tool = Start(Tool("RestartSpooler /x"));
    HWND window = WaitForMainWindow();
    REQUIRE(window != NULL);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    CHECK(owner == tool.dwProcessId);
    CHECK(RunOnceHas(kRestartValue));

    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    CHECK(Finish(tool) == 1);
}

TEST_CASE("a second start activates the running copy and exits with 0") {
    PROCESS_INFORMATION first = Start(Tool(nullptr));
    HWND window = WaitForMainWindow();
    REQUIRE(window != NULL);
    // The dialog loop's first show can undo a minimize that lands while the window is still being
    // set up; a person would click again, and so does the test.
    for (int tries = 0; tries < 100 && !IsIconic(window); ++tries) {
        ShowWindow(window, SW_MINIMIZE);
        Sleep(50);
    }
    REQUIRE(IsIconic(window));

    CHECK(Run(Tool(nullptr)) == 0);

    CHECK_FALSE(IsIconic(window));
    CHECK(IsWindowVisible(window));
    CHECK(GetForegroundWindow() == window);
    CHECK(WaitForSingleObject(first.hProcess, 0) == WAIT_TIMEOUT);  // the first copy runs on

    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    CHECK(Finish(first) == 1);
}

TEST_CASE("the version record on each emulated Windows version") {
    struct Expected {
        const char* version;
        int family, kind;
    };
    const Expected cases[] = {
        {"win31", 1, 1}, {"win95", 2, 2}, {"win98", 2, 3}, {"winme", 2, 7},   {"nt351", 3, 4}, {"nt40", 3, 5},
        {"win2k", 3, 6}, {"winxp", 3, 8}, {"win2003", 3, 6}, {"vista", 3, 8}, {"win7", 3, 8},
    };
    std::string probe = "\"" + BesideMe("shell_probe.exe") + "\" os";
    for (const Expected& e : cases) {
        std::string name = e.version;
        CAPTURE(name);
        VersionFor version("shell_probe.exe", e.version);
        CHECK(Run(probe) == static_cast<DWORD>(e.family * 16 + e.kind));
    }
}

TEST_CASE("the administrator check in processes of their own") {
    std::string probe = "\"" + BesideMe("shell_probe.exe") + "\" admin";
    HANDLE restricted = TokenWithoutAdministrators();

    SUBCASE("Wine's user is an administrator") { CHECK(Run(probe) == 1); }
    SUBCASE("a child whose Administrators group is deny-only is not") { CHECK(Run(probe, restricted) == 0); }
    SUBCASE("Windows 9x and Win32s answer 1 without looking at the token") {
        const char* versions[] = {"win98", "win31"};
        for (const char* v : versions) {
            std::string name = v;
            CAPTURE(name);
            VersionFor version("shell_probe.exe", v);
            CHECK(Run(probe, restricted) == 1);
        }
    }
    CloseHandle(restricted);
}

TEST_CASE("the hooks' window of a run without a window is a valid window that is never shown") {
    struct Case {
        const char* what;
        HWND parent;
        bool topLevel;
    } cases[] = {
        {"message-only where the system has such windows", HWND_MESSAGE, false},
        // Windows 9x and NT 4 refuse HWND_MESSAGE as they refuse any handle that names no window.
        {"top-level where that parent is refused", reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FF0)),
         true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        HWND window = CreateHookWindow(GetModuleHandleA(NULL), c.parent);
        REQUIRE(IsWindow(window));
        CHECK_FALSE(IsWindowVisible(window));
        CHECK((GetAncestor(window, GA_PARENT) == GetDesktopWindow()) == c.topLevel);
        DestroyWindow(window);
    }
}

TEST_CASE("a run waiting for the add-on answers what other programs send to the hooks' window") {
    // A top-level one, as on Windows 9x and NT 4, where a program that sends to every top-level
    // window waits for each to answer.
    HWND window = CreateHookWindow(GetModuleHandleA(NULL), reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FF0)));
    REQUIRE(IsWindow(window));
    struct Sender {
        HWND window;
        LRESULT answered;
        static DWORD WINAPI Send(void* self) {
            Sender* s = static_cast<Sender*>(self);
            DWORD_PTR result = 0;
            s->answered = SendMessageTimeoutA(s->window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
            return 0;
        }
    } sender = {window, 0};
    HANDLE thread = CreateThread(NULL, 0, Sender::Send, &sender, 0, NULL);
    REQUIRE(thread != NULL);
    // Short waits, as the run's polls are, until the sender has its answer or gave up after 2 s.
    for (int i = 0; i < 50 && WaitForSingleObject(thread, 0) == WAIT_TIMEOUT; ++i) WaitAnsweringMessages(100);
    CloseHandle(thread);
    CHECK(sender.answered != 0);
    DestroyWindow(window);
}

TEST_CASE("a person's copy started while a run without a window removes says so and ends") {
    // The mark a quiet run holds while it works.
    HANDLE quiet = CreateMutexA(NULL, TRUE, "Global\\QLNUninstallUnattended01");
    REQUIRE(quiet != NULL);
    PROCESS_INFORMATION pi = Start(Tool(nullptr));
    HWND box = NULL;
    for (int i = 0; i < 500 && !box; ++i, Sleep(20)) box = FindWindowA("#32770", "Printer Uninstall");
    REQUIRE(box != NULL);
    char text[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text
    CHECK(std::string(text).find("already running") != std::string::npos);
    CHECK(FindWindowA(kMainWindowClass, NULL) == NULL);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    CHECK(Finish(pi) == 0);
    CloseHandle(quiet);
}

TEST_CASE("a copy with its window on another desktop is another copy for a run without a window") {
    // As a deployment tool's SYSTEM run cannot see the window of a copy a person started.
    HDESK desktop = CreateDesktopA("QuOtherDesktop", NULL, NULL, 0, GENERIC_ALL, NULL);
    REQUIRE(desktop != NULL);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.lpDesktop = const_cast<char*>("QuOtherDesktop");
    PROCESS_INFORMATION first = {};
    std::string line = Tool(nullptr);
    REQUIRE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &first));
    CloseHandle(first.hThread);
    // Its loading warns that no script was found, in a box nobody on this desktop answers.
    Sleep(3000);
    CHECK(FindWindowA(kMainWindowClass, NULL) == NULL);

    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    CHECK(Run(Tool(("/REPORT:" + std::string(temp) + "other-desktop.json").c_str())) == 1618);

    TerminateProcess(first.hProcess, 0);
    WaitForSingleObject(first.hProcess, 5000);
    CloseHandle(first.hProcess);
    CloseDesktop(desktop);
}
