#pragma once
// Starting one of the maker's helper programs with the command line " /d".
#include <windows.h>

// Starts the program at programPath, which must be a full path: a relative one would be looked up
// from the current directory. The program runs in its own directory, so that the DLLs and files it
// looks for beside itself are found there and not in this program's current directory. Returns the
// process handle, which the caller waits on and closes; null when the program could not be started
// (ERROR_BAD_PATHNAME for a path that is not a full one).
HANDLE StartHelperProgram(const char* programPath);
