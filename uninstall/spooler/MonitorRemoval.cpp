#include "MonitorRemoval.h"

#include <winspool.h>

#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"
#include "spooler/InboxComponents.h"
#include "spooler/KeptFiles.h"
#include "spooler/SpoolerQuery.h"

namespace {
const char kStep[] = "monitors";
const char kMonitorsKey[] = "System\\CurrentControlSet\\control\\Print\\Monitors\\";

// False when the monitor has no key of its own (or its key path would not fit and be cut).
bool MonitorKey(const char* monitor, char (&key)[TextItem::kCapacity]) {
    return *monitor && FormatText(key, sizeof key, "%s%s", kMonitorsKey, monitor);
}

bool MonitorKeyExists(const char* monitor) {
    char path[TextItem::kCapacity];
    HKEY key = NULL;
    if (!MonitorKey(monitor, path) || RegOpenKeyA(HKEY_LOCAL_MACHINE, path, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteMonitorKey(const COSInfo& os, const char* monitor) {
    // Win32s keeps no monitor keys.
    if (os.IsWin32s()) return;
    char path[TextItem::kCapacity];
    // Its result is ignored: a later call for another environment finds the key gone.
    if (MonitorKey(monitor, path)) RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
}
}  // namespace

void RemoveMonitorsStep(RemovalContext& ctx, const char* server, const char* environment) {
    const char* scope = EnvironmentScope(environment);
    for (const TextItem& entry : ctx.database.Removal().Monitors) {
        const char* monitor = entry.Text();
        if (IsInboxMonitor(monitor)) {
            ctx.Record(kStep, "monitor", monitor, kOutcomeKept, "inbox component", 0, scope);
            continue;
        }
        if (ctx.dryRun) {
            bool present = ctx.os.IsWin32s() || MonitorKeyExists(monitor);
            ctx.Record(kStep, "monitor", monitor, present ? kOutcomePresent : kOutcomeNotPresent, "", 0,
                       scope);
            continue;
        }
        if (DeleteMonitorA(const_cast<char*>(server), const_cast<char*>(environment),
                           const_cast<char*>(monitor))) {
            ctx.Record(kStep, "monitor", monitor, kOutcomeRemoved, "", 0, scope);
            DeleteMonitorKey(ctx.os, monitor);
            continue;
        }
        DWORD error = GetLastError();
        if (error == ERROR_UNKNOWN_PRINT_MONITOR) {
            // The spooler does not know the monitor: a key left of it is only a trace.
            ctx.Record(kStep, "monitor", monitor, kOutcomeNotPresent, "", 0, scope);
            DeleteMonitorKey(ctx.os, monitor);
        } else {
            // The spooler kept the monitor (a port still uses it): its key and its DLL stay with it.
            ctx.Record(kStep, "monitor", monitor, kOutcomeKept, "refused by the spooler", error, scope);
            KeepMonitorFile(ctx, monitor);
        }
    }
}
