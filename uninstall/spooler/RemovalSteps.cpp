#include "RemovalSteps.h"

#include "script/FileSpec.h"
#include "script/Locations.h"
#include "script/UninstallDatabase.h"
#include "spooler/DriverRemoval.h"
#include "spooler/HookCalls.h"
#include "spooler/MonitorRemoval.h"
#include "spooler/OemPathCollection.h"
#include "spooler/PrinterRemoval.h"
#include "spooler/ProcessorRemoval.h"
#include "spooler/SpoolerService.h"
#include "system/FileRemoval.h"
#include "system/IniEntries.h"
#include "system/LoadRunEntries.h"
#include "system/RegistryEntries.h"
#include "system/Shortcuts.h"

namespace {
const char kSpoolerStep[] = "spooler";
const char kSpoolerKind[] = "spooler";

struct SearchRow {
    int location;
    bool tree;
    bool ntOnly;
    const char* what;
};
// In this order; the Windows directory's INF folder is location 35.
const SearchRow kSearchRows[] = {
    {kLocPrintDriverDir, true, false, "the printer-driver directory"},
    {kLocSystemDir, false, false, "the system directory"},
    {kLocWindowsDir, false, false, "the Windows directory"},
    {kLocPrintProcDir, true, false, "the print-processor directory"},
    {kLocColorDir, false, false, "the colour directory"},
    {kLocInfDir, true, false, "the INF directory"},
    {kLocPrintDriverDirW40, true, true, "the Windows 4.0 printer-driver directory"},
    {kLocPrintProcDirW40, true, true, "the Windows 4.0 print-processor directory"},
};
}  // namespace

void BuildSearchLists(RemovalContext& ctx) {
    for (const SearchRow& row : kSearchRows) {
        if (row.ntOnly && !ctx.os.IsNT()) continue;
        FileSpec directory;
        directory.ResolveLocation(row.location);
        // A location the platform cannot answer is left out: an empty path would search the
        // current directory. The files it holds then stay, which the log says.
        if (directory.directory.IsEmpty()) {
            ctx.Record("files", "directory", row.what, kOutcomeFailed,
                       "not searched: the system does not name it", GetLastError());
            continue;
        }
        (row.tree ? ctx.searchTrees : ctx.searchDirectories).Append(directory.DirectoryPath());
    }
    for (TextList* list : {&ctx.searchDirectories, &ctx.searchTrees}) {
        list->Sort();
        list->Unique();
    }
}

RemovalSteps::~RemovalSteps() {
    if (addOn.process) CloseHandle(addOn.process);
}

void RemovalSteps::ComputeRemovalSet() {
    ctx.database.ComputeRemovalSet();
}

bool RemovalSteps::AddOnKept() {
    return ::AddOnKept(ctx);
}

AddOnStart RemovalSteps::StartAddOn() {
    return ::StartAddOn(ctx, addOn);
}

bool RemovalSteps::AddOnRunning(bool watchWindow) {
    return ::AddOnRunning(addOn, watchWindow);
}

void RemovalSteps::EndAddOn(bool ended) {
    ::EndAddOn(ctx, addOn, ended);
}

void RemovalSteps::RemovePrinters() {
    RemovePrintersStep(ctx);
}

void RemovalSteps::RemoveDrivers(const char* environment) {
    RemoveDriversStep(ctx, environment);
}

void RemovalSteps::RemoveMonitors(const char* environment) {
    RemoveMonitorsStep(ctx, nullptr, environment);
}

void RemovalSteps::RunHooks() {
    RunHooksStep(ctx);
}

void RemovalSteps::RemovePrintProcessors(const char* environment) {
    RemovePrintProcessorsStep(ctx, nullptr, environment);
}

void RemovalSteps::RemoveServices() {
    RemoveServicesStep(ctx);
}

void RemovalSteps::CloseWin95Spooler() {
    if (ctx.dryRun) {
        ctx.Record(kSpoolerStep, kSpoolerKind, "Windows 95 spooler", kOutcomePresent, "would be closed");
        return;
    }
    bool closed = ::CloseWin95Spooler() != 0;
    ctx.Record(kSpoolerStep, kSpoolerKind, "Windows 95 spooler", closed ? kOutcomeDone : kOutcomeNotPresent,
               closed ? "closed" : "");
}

// Not a change to the machine: the closing message offers the restart that the files need.
void RemovalSteps::RequestReboot() {
    ctx.database.SetRebootNeeded(1);
}

void RemovalSteps::StopSpooler() {
    if (ctx.dryRun) {
        ctx.Record(kSpoolerStep, kSpoolerKind, "Spooler", kOutcomePresent, "would be stopped");
        return;
    }
    // A refused stop (a spooler already stopping) leaves the clean-up to go on all the same.
    if (StopSpoolerService())
        ctx.Record(kSpoolerStep, kSpoolerKind, "Spooler", kOutcomeDone, "stopped");
    else
        ctx.Record(kSpoolerStep, kSpoolerKind, "Spooler", kOutcomeFailed, "stop refused");
}

void RemovalSteps::CollectOemPaths() {
    CollectOemPathsStep(ctx);
}

void RemovalSteps::RemoveShortcuts() {
    RemoveShortcutsStep(ctx);
}

void RemovalSteps::RemoveIniEntries() {
    RemoveIniEntriesStep(ctx);
}

void RemovalSteps::RemoveLoadRunEntries() {
    RemoveLoadRunEntriesStep(ctx);
}

void RemovalSteps::RemoveFiles() {
    RemoveFilesStep(ctx);
}

void RemovalSteps::RemoveRegistryEntries() {
    RemoveRegistryEntriesStep(ctx);
}

void RemovalSteps::StartSpooler() {
    if (ctx.dryRun) return;
    spoolerLeftStopped = !StartSpoolerService();
    if (spoolerLeftStopped)
        ctx.Record(kSpoolerStep, kSpoolerKind, "Spooler", kOutcomeFailed, "start refused");
    else
        ctx.Record(kSpoolerStep, kSpoolerKind, "Spooler", kOutcomeDone, "started");
}

void RemovalSteps::OfferReboot() {
    restart = ::OfferReboot(ctx);
}
