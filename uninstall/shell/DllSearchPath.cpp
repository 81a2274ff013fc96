#include "DllSearchPath.h"

namespace {
// Values of LOAD_LIBRARY_SEARCH_* from the Windows 8 headers, which this build does not target.
const DWORD kSearchApplicationDir = 0x00000200;
const DWORD kSearchUserDirs = 0x00000400;
const DWORD kSearchSystem32 = 0x00000800;

typedef BOOL(WINAPI* SetDllDirectoryFn)(LPCSTR);
typedef BOOL(WINAPI* SetDefaultDllDirectoriesFn)(DWORD);

template <typename Function>
Function Kernel32Function(const char* name) {
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    return kernel32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel32, name)))
                    : nullptr;
}
}  // namespace

void RestrictDllSearchPath() {
    SetDllSearchDirectory("");
    SetDefaultDllDirectoriesFn setDefaults =
        Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
    // Leaves out the Windows directory and PATH as well; added directories keep SetDllSearchDirectory
    // working.
    if (setDefaults) setDefaults(kSearchSystem32 | kSearchApplicationDir | kSearchUserDirs);
}

BOOL SetDllSearchDirectory(const char* directory) {
    SetDllDirectoryFn setDllDirectory = Kernel32Function<SetDllDirectoryFn>("SetDllDirectoryA");
    return setDllDirectory ? setDllDirectory(directory) : FALSE;
}
