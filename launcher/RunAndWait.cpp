#include "RunAndWait.h"

#include <windows.h>

#include "BoundedFormat.h"

void RunAndWait(const char* program) {
    // The path goes in as the application name: read from an unquoted command line, a path with
    // blanks could start another program (C:\dir\Name.exe for C:\dir\Name Driver\setup.exe). The
    // command line, which CreateProcess may write into, is a copy of the quoted path.
    char command[MAX_PATH + 2];
    if (!FormatBounded(command, sizeof command, "\"%s\"", program)) return;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(program, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}
