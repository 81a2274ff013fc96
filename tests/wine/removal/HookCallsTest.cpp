// The hook calls against real DLL files: the test hook of the end-to-end harness, which writes
// down how it was called, in the printer-driver directory of a throwaway prefix and beside this
// program.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "RemovalTestSupport.h"
#include "script/FileSpec.h"
#include "script/Locations.h"
#include "spooler/HookCalls.h"

namespace {
const char kHook[] = "qe2e_fake_hook.dll";

std::string Directory(int location) {
    FileSpec place;
    place.ResolveLocation(location);
    return place.DirectoryPath();
}

std::string WithoutBackslash(const std::string& directory) {
    return directory.substr(0, directory.size() - 1);
}

std::string CurrentDirectory() {
    char path[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

// The hook's record file, emptied for each test; the hook finds it through QE2E_HOOK_RECORD.
struct HookRecord {
    std::string file;
    HookRecord() {
        file = Directory(kLocTempDir) + "hookcalls.ini";
        DeleteFileA(file.c_str());
        SetEnvironmentVariableA("QE2E_HOOK_RECORD", file.c_str());
    }
    ~HookRecord() { DeleteFileA(file.c_str()); }
    std::string Get(const char* key) const {
        char value[MAX_PATH] = "";
        GetPrivateProfileStringA(kHook, key, "", value, MAX_PATH, file.c_str());
        return value;
    }
};

// The hook's copy in the printer-driver directory, there for as long as the object lives.
struct DriverDirectoryCopy {
    std::string path = Directory(kLocPrintDriverDir) + kHook;
    DriverDirectoryCopy() {
        REQUIRE(CopyFileA((Directory(kLocProgramDir) + kHook).c_str(), path.c_str(), FALSE));
    }
    ~DriverDirectoryCopy() { DeleteFileA(path.c_str()); }
};

// The page that the hooks receive: a child of a top-level window of a class of our own.
struct PageWindow {
    HWND top = NULL;
    HWND page = NULL;
    PageWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QuHookTestWindow";
        RegisterClassA(&wc);
        top = CreateWindowA("QuHookTestWindow", "", WS_OVERLAPPED, 0, 0, 100, 100, NULL, NULL, wc.hInstance,
                            NULL);
        page = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 10, 10, top, NULL, wc.hInstance, NULL);
        REQUIRE(page);
    }
    ~PageWindow() { DestroyWindow(top); }
};

void RunHooks(Removal& removal, std::vector<const char*> entries) {
    for (const char* entry : entries) removal.db.Removal().Hooks.Append(entry);
    RunHooksStep(removal.ctx);
}
}  // namespace

TEST_CASE(
    "a hook is called from the printer-driver directory, else from the program's, with four arguments") {
    const std::string programDirectory = Directory(kLocProgramDir);
    const std::string driverDirectory = Directory(kLocPrintDriverDir);
    HookRecord record;
    PageWindow window;
    Removal removal;
    removal.ctx.window = window.page;
    removal.ctx.module = GetModuleHandleA(NULL);
    char program[MAX_PATH] = "";
    GetModuleFileNameA(NULL, program, MAX_PATH);
    REQUIRE(SetCurrentDirectoryA(Directory(kLocTempDir).c_str()));

    std::string calledFrom;
    SUBCASE("only beside the program") {
        DeleteFileA((driverDirectory + kHook).c_str());
        RunHooks(removal, {"qe2e_fake_hook.dll,RecordHook"});
        calledFrom = programDirectory;
    }
    SUBCASE("in both places: the driver directory's copy") {
        DriverDirectoryCopy copy;
        // A directory in the entry is not where the DLL is looked for.
        RunHooks(removal, {"C:\\elsewhere\\qe2e_fake_hook.dll,RecordHook"});
        calledFrom = driverDirectory;
    }
    CAPTURE(calledFrom);
    CHECK(record.Get("loads") == "1");
    CHECK(record.Get("calls") == "1");
    CHECK(record.Get("dll") == calledFrom + kHook);
    CHECK(record.Get("cwd") == WithoutBackslash(calledFrom));
    CHECK(record.Get("window") == "child of QuHookTestWindow");
    CHECK(record.Get("module") == program);
    CHECK(record.Get("directory") == programDirectory);
    CHECK(record.Get("reserved") == "0");
    CHECK(removal.log.Lines() == std::vector<std::string>{calledFrom + kHook + " done RecordHook"});
    // Afterwards the program's directory is the current one, wherever it was before.
    CHECK(CurrentDirectory() == WithoutBackslash(programDirectory));
}

TEST_CASE("entries without a DLL and an export are passed over; a missing export still costs its second") {
    HookRecord record;
    Removal removal;
    const DWORD start = GetTickCount();
    RunHooks(removal, {"qe2e_fake_hook.dll", "qe2e_fake_hook.dll,", ",RecordHook", "QUNOHOOK.DLL,RecordHook",
                       "qe2e_fake_hook.dll,NoSuchExport"});
    const DWORD took = GetTickCount() - start;

    CHECK(record.Get("loads") == "1");  // only for the missing export
    CHECK(record.Get("calls") == "");
    CHECK(took >= 1000);
    CHECK(took < 1800);
    const std::string loaded = Directory(kLocProgramDir) + kHook;
    CHECK(removal.log.Lines() == std::vector<std::string>{
                                     "qe2e_fake_hook.dll kept not a DLL,export entry",
                                     "qe2e_fake_hook.dll, kept not a DLL,export entry",
                                     ",RecordHook kept not a DLL,export entry",
                                     "QUNOHOOK.DLL not present RecordHook",
                                     loaded + " failed NoSuchExport",
                                 });
    CHECK(removal.log.actions.back().error == ERROR_PROC_NOT_FOUND);
}

TEST_CASE("a dry run names the hooks it would call and loads none") {
    HookRecord record;
    Removal removal;
    removal.ctx.dryRun = true;
    REQUIRE(SetCurrentDirectoryA(Directory(kLocTempDir).c_str()));
    const DWORD start = GetTickCount();
    RunHooks(removal, {"qe2e_fake_hook.dll,RecordHook", "QUNOHOOK.DLL,RecordHook"});

    CHECK(GetTickCount() - start < 500);
    CHECK(record.Get("loads") == "");
    CHECK(CurrentDirectory() == WithoutBackslash(Directory(kLocTempDir)));
    CHECK(removal.log.Lines() ==
          std::vector<std::string>{Directory(kLocProgramDir) + kHook + " present RecordHook",
                                   "QUNOHOOK.DLL not present RecordHook"});
}
