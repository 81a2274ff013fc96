#pragma once
// Finding the uninstall scripts on the machine.
#include "TextList.h"

// Looks for the script file "Qunz__01.unm" in the printer-driver directory of the running
// environment, its subdirectory "3", the program's directory and the system directory, appends
// every file found to scripts (which is not emptied first), then sorts scripts ignoring case and
// drops repeated paths. Returns the number of paths in scripts. The current directory is the
// program's directory afterwards. *unsearched, when given, receives the error of the first of those
// directories that the system could not name or search, so that it went unsearched (0: all were
// searched).
int FindUninstallScripts(TextList& scripts, unsigned long* unsearched = nullptr);
