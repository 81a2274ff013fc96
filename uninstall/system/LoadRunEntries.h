#pragma once
// Removing programs started at log-on: Run values, or the win.ini load line on Win32s.
#include "spooler/RemovalContext.h"

// Removes one log-on program and records it: on Win32s program from win.ini's [windows] load line,
// on every other system the value valueName of the Run key under HKEY_LOCAL_MACHINE (string 51,
// which may point into an INI file). Returns 1 when something was removed; a dry run finds and
// records without changing anything and returns 0.
int RemoveLoadRunEntry(RemovalContext& ctx, const char* valueName, const char* program);

void RemoveLoadRunEntriesStep(RemovalContext& ctx);
