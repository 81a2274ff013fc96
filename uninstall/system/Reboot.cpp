#include "Reboot.h"

#include "res/resource.h"
#include "script/UninstallDatabase.h"

namespace {
ExitWindowsFunction exitWindows = ExitWindowsEx;

bool RestartWindows() {
    return exitWindows(EWX_REBOOT, 0) != FALSE;
}

// A process needs the shutdown privilege enabled to restart Windows where the system checks it.
bool RestartWithShutdownPrivilege() {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds without enabling anything when the token lacks the
    // privilege; only its last error (ERROR_NOT_ALL_ASSIGNED) tells.
    DWORD error = GetLastError();
    CloseHandle(token);
    return error == ERROR_SUCCESS && RestartWindows();
}

bool IsWin9xKind(int kind) {
    return kind == COSInfo::kKindWin95 || kind == COSInfo::kKindWin98 || kind == COSInfo::kKindWinMe;
}
}  // namespace

bool RestartWindowsNow(const COSInfo& os) {
    return IsWin9xKind(os.GetKind()) ? RestartWindows() : RestartWithShutdownPrivilege();
}

void SetExitWindowsFunction(ExitWindowsFunction function) {
    exitWindows = function ? function : ExitWindowsEx;
}

RestartOutcome OfferReboot(RemovalContext& ctx) {
    const UninstallDatabase& database = ctx.database;
    bool rebootNeeded = database.RebootNeeded() != 0;
    if (ctx.dryRun) return rebootNeeded ? kRestartPending : kRestartNotNeeded;

    // Only Windows 9x is offered a restart; elsewhere deferred files go at the user's next one.
    if (!(database.IsWin9x() && rebootNeeded)) {
        ctx.prompts.Show(IDS_COMPLETE, MB_OK | MB_SETFOREGROUND, nullptr);
        return rebootNeeded ? kRestartPending : kRestartNotNeeded;
    }
    if (ctx.prompts.Show(IDS_REBOOT_QUESTION, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND, nullptr) !=
        IDYES)
        return kRestartDeclined;
    if (RestartWindowsNow(ctx.os)) return kRestartStarted;
    ctx.prompts.Show(IDS_REBOOT_FAILED, MB_OK | MB_SETFOREGROUND, nullptr);
    return kRestartFailed;
}
