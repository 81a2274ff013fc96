#pragma once
// What a spooler component still needs when the spooler keeps it (in use, or refused): its files
// stay out of the files step, which would otherwise leave it registered but unable to load.
#include <windows.h>
#include <winspool.h>

#include "spooler/RemovalContext.h"

// The files of a driver of one environment: its driver, data and configuration files, and the help
// and dependent files (second DLLs, resources, fonts) that it loads as well.
void KeepDriverFiles(RemovalContext& ctx, const char* environment, const DRIVER_INFO_2A& driver);
// The DLL of a port monitor, as its spooler key names it.
void KeepMonitorFile(RemovalContext& ctx, const char* monitor);
// The DLL of a print processor, as its key names it in any driver environment: the spooler's own
// environment has different names in the 32-bit and 64-bit spooler.
void KeepProcessorFile(RemovalContext& ctx, const char* processor);
