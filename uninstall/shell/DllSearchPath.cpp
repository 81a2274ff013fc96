#include "DllSearchPath.h"

namespace {
// Values of LOAD_LIBRARY_SEARCH_* from the Windows 8 headers, which this build does not target.
const DWORD kSearchApplicationDir = 0x00000200;
const DWORD kSearchUserDirs = 0x00000400;
const DWORD kSearchSystem32 = 0x00000800;

typedef BOOL(WINAPI* SetDllDirectoryFn)(LPCSTR);
typedef BOOL(WINAPI* SetDefaultDllDirectoriesFn)(DWORD);

FARPROC Kernel32Function(const char* name) {
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    return kernel32 ? GetProcAddress(kernel32, name) : nullptr;
}

SetDllDirectoryFn SetDllDirectoryFunction() {
    return reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void*>(Kernel32Function("SetDllDirectoryA")));
}
}  // namespace

int RestrictDllSearchPath() {
    int applied = 0;
    if (SetDllSearchDirectory("")) applied |= kDllSearchNoCurrentDirectory;
    SetDefaultDllDirectoriesFn setDefaults = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(Kernel32Function("SetDefaultDllDirectories")));
    // Leaves out the Windows directory and PATH as well; user directories keep SetDllSearchDirectory
    // working.
    if (setDefaults && setDefaults(kSearchSystem32 | kSearchApplicationDir | kSearchUserDirs))
        applied |= kDllSearchSafeDefaults;
    return applied;
}

BOOL SetDllSearchDirectory(const char* directory) {
    SetDllDirectoryFn setDllDirectory = SetDllDirectoryFunction();
    return setDllDirectory ? setDllDirectory(directory) : FALSE;
}
