#include "AdminCheck.h"

#include <vector>

#include "OSInfo.h"

static int GroupsHoldEnabledSid(const TOKEN_GROUPS* groups, PSID sid) {
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        const SID_AND_ATTRIBUTES& group = groups->Groups[i];
        if (!EqualSid(group.Sid, sid)) continue;
        if ((group.Attributes & SE_GROUP_USE_FOR_DENY_ONLY) == 0 && (group.Attributes & SE_GROUP_ENABLED) != 0) {
            return 1;
        }
    }
    return 0;
}

int TokenIsAdministrator(HANDLE token) {
    // 4096 bytes hold the groups of almost every user; a member of very many groups gets a buffer of
    // the size the token asks for instead of being told he is no administrator.
    std::vector<DWORD> buffer(4096 / sizeof(DWORD));
    DWORD needed = 0;
    BOOL read = GetTokenInformation(token, TokenGroups, buffer.data(),
                                    static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &needed);
    if (!read && GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > 0) {
        buffer.assign(needed / sizeof(DWORD) + 1, 0);
        read = GetTokenInformation(token, TokenGroups, buffer.data(),
                                   static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &needed);
    }
    if (!read) return 0;

    SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
    PSID administrators = NULL;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                  0, 0, 0, 0, &administrators)) {
        return 0;
    }
    int result = GroupsHoldEnabledSid(reinterpret_cast<const TOKEN_GROUPS*>(buffer.data()), administrators);
    FreeSid(administrators);
    return result;
}

int COSInfo::IsAdministrator() const {
    if (!IsNT()) return 1;  // Windows 9x and Win32s know no access tokens
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token)) return 0;
    int result = TokenIsAdministrator(token);
    CloseHandle(token);
    return result;
}
