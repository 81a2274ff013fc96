#include "AdminCheck.h"

#include <windows.h>

#ifndef VER_PLATFORM_WIN32_CE
#define VER_PLATFORM_WIN32_CE 3
#endif

static bool IsNtOrCePlatform() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT || version.dwPlatformId == VER_PLATFORM_WIN32_CE;
}

static bool TokenHoldsSid(const TOKEN_GROUPS& groups, PSID sid) {
    for (DWORD i = 0; i < groups.GroupCount; ++i) {
        if (EqualSid(groups.Groups[i].Sid, sid)) return true;
    }
    return false;
}

int IsUserAdmin() {
    if (!IsNtOrCePlatform()) return 1;

    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token)) return 0;
    // 1024 bytes, aligned for the pointers inside TOKEN_GROUPS; a token with more groups fails the call.
    union {
        TOKEN_GROUPS groups;
        BYTE bytes[1024];
    } buffer;
    DWORD size = 0;
    BOOL read = GetTokenInformation(token, TokenGroups, &buffer, sizeof buffer, &size);
    CloseHandle(token);
    if (!read) return 0;

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                  0, 0, 0, 0, &administrators)) {
        return 0;
    }
    int isAdmin = TokenHoldsSid(buffer.groups, administrators) ? 1 : 0;
    FreeSid(administrators);
    return isAdmin;
}
