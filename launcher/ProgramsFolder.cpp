#include "ProgramsFolder.h"

#include <shlobj.h>
#include <windows.h>

#include "AdminCheck.h"
#include "BoundedFormat.h"

static int ProgramsFolderId() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return CSIDL_PROGRAMS;
    return IsUserAdmin() == 1 ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
}

int GetProgramsFolder(char* folder) {
    folder[0] = '\0';
    int folderId = ProgramsFolderId();
    IMalloc* shellMalloc = NULL;
    if (FAILED(SHGetMalloc(&shellMalloc))) return 0;
    int result = 0;
    LPITEMIDLIST idList = NULL;
    if (SUCCEEDED(SHGetSpecialFolderLocation(NULL, folderId, &idList))) {
        char path[MAX_PATH];
        if (SHGetPathFromIDListA(idList, path) && FormatBounded(folder, MAX_PATH, "%s\\", path)) result = 1;
        shellMalloc->Free(idList);
    }
    shellMalloc->Release();
    return result;
}
