#include "RunAndWait.h"

#include <windows.h>

#include "BoundedFormat.h"

void RunAndWait(const char* commandLine) {
    // CreateProcess may write into the command line, so it gets a copy of its own.
    char command[MAX_PATH];
    if (!FormatBounded(command, sizeof command, "%s", commandLine)) return;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}
