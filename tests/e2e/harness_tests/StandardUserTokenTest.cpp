#include <doctest/doctest.h>

#include <vector>

#include "StandardUserToken.h"

// Attributes of the Administrators group in a token, or -1 when the group is not listed.
static long AdministratorsAttributes(HANDLE token) {
    DWORD needed = 0;
    GetTokenInformation(token, TokenGroups, NULL, 0, &needed);
    std::vector<DWORD> buffer(needed / sizeof(DWORD) + 1);
    if (!GetTokenInformation(token, TokenGroups, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(DWORD)),
                             &needed))
        return -1;
    SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
    PSID administrators = NULL;
    AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                             0, &administrators);
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    long attributes = -1;
    for (DWORD i = 0; i < groups->GroupCount; ++i)
        if (EqualSid(groups->Groups[i].Sid, administrators)) attributes = static_cast<long>(groups->Groups[i].Attributes);
    FreeSid(administrators);
    return attributes;
}

TEST_CASE("standard user token: Administrators is deny-only and not enabled, the robot's own token unchanged") {
    HANDLE own = NULL;
    REQUIRE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own));
    long ownAttributes = AdministratorsAttributes(own);

    HANDLE token = CreateStandardUserToken();
    REQUIRE(token != NULL);
    long attributes = AdministratorsAttributes(token);
    REQUIRE(attributes != -1);
    CHECK((attributes & SE_GROUP_USE_FOR_DENY_ONLY) != 0);
    CHECK((attributes & SE_GROUP_ENABLED) == 0);
    CloseHandle(token);

    CHECK(AdministratorsAttributes(own) == ownAttributes);
    CHECK((ownAttributes & SE_GROUP_ENABLED) != 0);
    CloseHandle(own);
}
