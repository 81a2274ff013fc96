#include "DriverRemoval.h"

#include <winspool.h>

#include <cstring>
#include <vector>

#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"
#include "spooler/KeptFiles.h"
#include "spooler/RemovalPlanning.h"
#include "spooler/SpoolerQuery.h"

namespace {
const char kStep[] = "drivers";
const char kDriverKey9x[] = "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Drivers\\";
const char kEnvironmentsKeyNT[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
const char kPostScriptMark[] = "(PSCRIPT)";

// The driver's spooler keys, deleted later by the registry step: one under the 9x environment, with
// everything under it, or one per version directory 0 to 3 of the NT environment, the key alone.
void QueueDriverKeys(RemovalContext& ctx, const char* environment, const char* driver) {
    UninstallProfile& removal = ctx.database.Removal();
    char key[TextItem::kCapacity];
    // A cut key could name another driver's key: such a driver's keys are left alone.
    if (ctx.os.IsWin9x()) {
        if (FormatText(key, sizeof key, "%s%s", kDriverKey9x, driver))
            UninstallDatabase::AddRegistryEntry(removal, kRootLocalMachine, key, "", 1);
    } else if (ctx.os.IsNT()) {
        const char* env = EnvironmentKeyNameNT(environment);
        for (int version = 0; version <= 3; ++version) {
            if (FormatText(key, sizeof key, "%s%s\\Drivers\\Version-%d\\%s", kEnvironmentsKeyNT, env, version,
                           driver))
                UninstallDatabase::AddRegistryEntry(removal, kRootLocalMachine, key, "", 0);
        }
    }
}

// The "(PSCRIPT)" drivers that the Vizora program installed go with it, unless a printer of the
// driver's own name is still there.
bool VizoraDriverUnused(const RemovalContext& ctx, const char* driver) {
    if (ctx.database.VizoraKept() || !strstr(driver, kPostScriptMark)) return false;
    HANDLE printer = NULL;
    if (!OpenPrinterA(const_cast<char*>(driver), &printer, NULL) || !printer) return true;
    ClosePrinter(printer);
    // A plan runs before the printer step: a printer it will delete does not count.
    return ctx.dryRun && PrinterNamedLeaves(ctx.database.Printers(), driver);
}

void RemoveDriver(RemovalContext& ctx, const char* environment, const DRIVER_INFO_2A& info) {
    const char* driver = info.pName;
    const char* scope = EnvironmentScope(environment);
    const InstalledPrinter* user = RemainingPrinterWithDriver(ctx.database.Printers(), driver, ctx.dryRun);
    bool gone = !user;
    DWORD error = 0;
    if (!ctx.dryRun) {
        gone = DeletePrinterDriverA(NULL, const_cast<char*>(environment), const_cast<char*>(driver)) != FALSE;
        // The spooler keeps a driver that a printer still uses; its keys must stay with it, or the
        // printer would be left with a driver the spooler can no longer load.
        if (!gone) {
            error = GetLastError();
            gone = !DriverMayBeInstalled(environment, driver);
        }
    }
    if (!gone) {
        char inUse[TextItem::kCapacity + 16] = "refused by the spooler";
        if (user) FormatText(inUse, sizeof inUse, "in use by %s", user->name.Text());
        ctx.Record(kStep, "driver", driver, kOutcomeKept, inUse, error, scope);
        KeepDriverFiles(ctx, environment, info);
        return;
    }
    ctx.Record(kStep, "driver", driver, ctx.dryRun ? kOutcomePresent : kOutcomeRemoved, "", 0, scope);
    QueueDriverKeys(ctx, environment, driver);
}
}  // namespace

void RemoveDriversStep(RemovalContext& ctx, const char* environment) {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    DWORD error = 0;
    if (!EnumDrivers(environment, buffer, &count, &error) || count == 0) {
        // An environment the spooler does not know has no drivers.
        if (error && error != ERROR_INVALID_ENVIRONMENT)
            ctx.Record(kStep, "driver", "", kOutcomeFailed, "the drivers cannot be listed", error,
                       EnvironmentScope(environment));
        return;
    }
    const DRIVER_INFO_2A* drivers = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data());

    TextList names;
    DriverNamesToRemove(ctx.database, names);
    for (DWORD i = 0; i < count; ++i) {
        const char* driver = drivers[i].pName;
        if (!driver || !*driver) continue;
        if (VizoraDriverUnused(ctx, driver)) {
            names.Append(driver);
            names.Sort();
            names.Unique();
        }
        if (names.Contains(driver)) RemoveDriver(ctx, environment, drivers[i]);
    }
}
