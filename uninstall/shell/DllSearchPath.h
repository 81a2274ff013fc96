#pragma once
// Keeping DLLs planted in the current directory out of the process. Windows looks for a DLL that is
// named without a path in the current directory too, and the tool may be started from any directory
// (a download folder, a network share) while it runs with administrator rights. The program's own
// directory stays searched: QSPOOL01.DLL is imported from there.
#include <windows.h>

// Takes the current directory out of the DLL search path with SetDllDirectoryA(""), and where the
// system has SetDefaultDllDirectories, limits the search to the system, the program's and added
// directories. Both are looked up at run time: Windows before XP SP1 has neither, and before
// Windows 8 (or 7 with its loader update) only the first; there nothing more can be done. Called
// first in the entry, before anything loads a DLL.
void RestrictDllSearchPath();

// Searches directory in place of the current directory for the DLLs loaded from now on, or none again
// for "" (the state after RestrictDllSearchPath). What SetDllDirectoryA returns; FALSE where the
// system lacks it, and there the current directory is searched anyway.
BOOL SetDllSearchDirectory(const char* directory);
