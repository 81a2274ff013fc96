#pragma once
// The Vizora program removes its own printers and files when it is started with " /d"; the removal
// runs it first, from the OEM directories, and waits for it (the wait itself is the sequence's).
#include <windows.h>

#include "script/TextItem.h"
#include "spooler/RemovalContext.h"
#include "spooler/RemovalSequence.h"

// The run of one removal: the program found and, while it runs, its process.
struct AddOnRun {
    TextItem path;
    HANDLE process = NULL;
};

// True, and recorded, when the Vizora utility's printers stay: its program is then not run.
bool AddOnKept(RemovalContext& ctx);
// Looks for VIZORA32.EXE, then VIZORA.EXE, in the OEM directories and starts it with " /d". A dry
// run records the program that would run and starts nothing.
AddOnStart StartAddOn(RemovalContext& ctx, AddOnRun& run);
// The started process has not ended yet; with watchWindow instead, the program's dialog window
// (a "#32770" titled "Vizora") is open. A process whose state cannot be read counts as ended.
bool AddOnRunning(const AddOnRun& run, bool watchWindow);
// Closes the process handle. ended is false when the caller stopped waiting for a program that
// still runs; that is recorded.
void EndAddOn(RemovalContext& ctx, AddOnRun& run, bool ended);
