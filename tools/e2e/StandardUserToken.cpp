#include "StandardUserToken.h"

HANDLE CreateStandardUserToken() {
    HANDLE own = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY, &own))
        return NULL;
    SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
    PSID administrators = NULL;
    HANDLE restricted = NULL;
    if (AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                 0, 0, 0, &administrators)) {
        SID_AND_ATTRIBUTES denyOnly = {administrators, 0};
        if (!CreateRestrictedToken(own, 0, 1, &denyOnly, 0, NULL, 0, NULL, &restricted)) restricted = NULL;
        FreeSid(administrators);
    }
    DWORD error = GetLastError();
    CloseHandle(own);
    SetLastError(error);
    return restricted;
}
