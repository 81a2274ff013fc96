// qe2e_fake_hook.dll: a stand-in for a driver package's uninstall hook. Its export RecordHook writes
// down how it was called, in the INI file named by QE2E_HOOK_RECORD, else calls.ini beside the
// program that loaded it, in a section named after the DLL's own file (so copies under other names
// keep apart): loads, calls, dll, cwd, window, module, directory and reserved. When its section holds
// load = NAME, the export loads that DLL by name, as a hook may load one that lies beside it, and
// writes down where it came from (loaded, or "none").
#include <windows.h>

#include <string>

namespace {
HMODULE g_self;

std::string RecordFile() {
    char path[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("QE2E_HOOK_RECORD", path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return path;
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program = path;
    return program.substr(0, program.find_last_of('\\') + 1) + "calls.ini";
}

std::string OwnName() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(g_self, path, MAX_PATH);
    std::string own = path;
    return own.substr(own.find_last_of('\\') + 1);
}

void Put(const char* key, const std::string& value) {
    WritePrivateProfileStringA(OwnName().c_str(), key, value.c_str(), RecordFile().c_str());
}

void Count(const char* key) {
    UINT count = GetPrivateProfileIntA(OwnName().c_str(), key, 0, RecordFile().c_str());
    Put(key, std::to_string(count + 1));
}

std::string RootClass(HWND window) {
    if (!IsWindow(window)) return "not a window";
    char name[256] = "";
    GetClassNameA(GetAncestor(window, GA_ROOT), name, sizeof name);
    return std::string(GetParent(window) ? "child of " : "") + name;
}
}  // namespace

extern "C" __declspec(dllexport) void WINAPI
    RecordHook(HWND window, HINSTANCE module, const char* directory, UINT_PTR reserved) {
    char path[MAX_PATH] = "";
    Count("calls");
    GetModuleFileNameA(g_self, path, MAX_PATH);
    Put("dll", path);
    GetCurrentDirectoryA(MAX_PATH, path);
    Put("cwd", path);
    Put("window", RootClass(window));
    path[0] = 0;
    GetModuleFileNameA(module, path, MAX_PATH);
    Put("module", path);
    Put("directory", directory ? directory : "(null)");
    Put("reserved", std::to_string(reserved));
    char name[MAX_PATH] = "";
    GetPrivateProfileStringA(OwnName().c_str(), "load", "", name, MAX_PATH, RecordFile().c_str());
    if (name[0]) {
        HMODULE loaded = LoadLibraryA(name);
        path[0] = 0;
        if (loaded) GetModuleFileNameA(loaded, path, MAX_PATH);
        Put("loaded", loaded ? path : "none");
        if (loaded) FreeLibrary(loaded);
    }
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = self;
        Count("loads");
    }
    return TRUE;
}
