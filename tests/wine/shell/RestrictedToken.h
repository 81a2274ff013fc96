#pragma once
// A copy of this process's token in which the Administrators group is deny-only, as in a filtered
// token: a process started with it is not an administrator.
#include <windows.h>

#include <doctest/doctest.h>

inline HANDLE TokenWithoutAdministrators() {
    HANDLE self = NULL;
    REQUIRE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &self));
    SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
    PSID administrators = NULL;
    REQUIRE(AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                     0, 0, 0, 0, &administrators));
    SID_AND_ATTRIBUTES disable = {administrators, 0};
    HANDLE restricted = NULL;
    BOOL made = CreateRestrictedToken(self, 0, 1, &disable, 0, NULL, 0, NULL, &restricted);
    FreeSid(administrators);
    CloseHandle(self);
    REQUIRE(made);
    return restricted;
}
