#include "AddOnRemoval.h"

#include "script/HelperProgram.h"
#include "script/OemPaths.h"
#include "script/UninstallDatabase.h"

namespace {
const char kStep[] = "add-ons";
const char kKind[] = "add-on";
const char* const kProgramNames[] = {"VIZORA32.EXE", "VIZORA.EXE"};
const char kWindowClass[] = "#32770";
const char kWindowTitle[] = "Vizora";
}  // namespace

bool AddOnKept(RemovalContext& ctx) {
    if (!ctx.database.VizoraKept()) return false;
    ctx.Record(kStep, kKind, ctx.database.VizoraProgramName(), kOutcomeKept,
               "printers of the Vizora utility stay");
    return true;
}

AddOnStart StartAddOn(RemovalContext& ctx, AddOnRun& run) {
    bool found = false;
    for (const char* name : kProgramNames) {
        found = FindInOemPaths(name, run.path);
        if (found) break;
    }
    if (!found) {
        ctx.Record(kStep, kKind, kProgramNames[0], kOutcomeNotPresent, "not in the OEM directories");
        return kAddOnAbsent;
    }
    if (ctx.dryRun) {
        ctx.Record(kStep, kKind, run.path.Text(), kOutcomePresent, "would run with /d");
        return kAddOnNotRun;
    }
    run.process = StartHelperProgram(run.path.Text());
    if (!run.process) {
        ctx.Record(kStep, kKind, run.path.Text(), kOutcomeFailed, "could not be started", GetLastError());
        return kAddOnStartFailed;
    }
    ctx.Record(kStep, kKind, run.path.Text(), kOutcomeDone, "started with /d");
    return kAddOnStarted;
}

bool AddOnRunning(const AddOnRun& run, bool watchWindow) {
    if (watchWindow) return FindWindowA(kWindowClass, kWindowTitle) != NULL;
    DWORD code = 0;
    return run.process && GetExitCodeProcess(run.process, &code) && code == STILL_ACTIVE;
}

void EndAddOn(RemovalContext& ctx, AddOnRun& run, bool ended) {
    if (run.process) CloseHandle(run.process);
    run.process = NULL;
    if (!ended) ctx.Record(kStep, kKind, run.path.Text(), kOutcomeKept, "still running when the wait ended");
}
