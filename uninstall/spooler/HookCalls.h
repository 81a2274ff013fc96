#pragma once
// The uninstall hooks of the driver packages: a Hooks entry "FILE.DLL,Export" names a DLL that
// lies in the printer-driver directory or beside this program, and an export that is called with
// four arguments (the calling window, the program's module, the program's directory, 0).
#include "spooler/RemovalContext.h"

// Calls every hook of the removal profile in list order, taking each DLL from the printer-driver
// directory or else from the program's directory, and waits one second after each DLL it loaded.
// Leaves the current directory at the program's directory. A dry run records the hooks that would
// be called and loads nothing.
void RunHooksStep(RemovalContext& ctx);
