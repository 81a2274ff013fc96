#include "RunAndWait.h"

#include <windows.h>

#include "BoundedFormat.h"

void RunAndWait(const char* program) {
    // The quoted path alone names the program: unquoted, a path with blanks could start another
    // program (C:\dir\Name.exe for C:\dir\Name Driver\setup.exe). No application name is passed:
    // Windows 9x starts a 16-bit installer only when the command line names its module. The
    // command line is a copy, as CreateProcess may write into it.
    char command[MAX_PATH + 2];
    if (!FormatBounded(command, sizeof command, "\"%s\"", program)) return;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}
