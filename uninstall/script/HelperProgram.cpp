#include "HelperProgram.h"

#include "FileSpec.h"

HANDLE StartHelperProgram(const char* programPath) {
    if (!programPath || !programPath[0]) return nullptr;
    if (!IsFullPath(programPath)) {
        SetLastError(ERROR_BAD_PATHNAME);
        return nullptr;
    }
    FileSpec program;
    program.SetPath(programPath);
    const TextItem directory(program.DirectoryPath());
    char commandLine[] = " /d";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    if (!CreateProcessA(programPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, directory.Text(),
                        &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);  // only the process is waited for
    return process.hProcess;
}
