#pragma once
// Starting one of the maker's helper programs with the command line " /d".
#include <windows.h>

// The started program's process handle, which the caller waits on and closes; null when the
// program could not be started.
HANDLE StartHelperProgram(const char* programPath);
