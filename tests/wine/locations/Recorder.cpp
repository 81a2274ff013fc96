// Started by the helper-program test: writes its command line to the file named by
// LOCATIONS_RECORDER_LOG and ends with 7, so the test sees both.
#include <windows.h>

#include <cstring>

int main() {
    char log[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("LOCATIONS_RECORDER_LOG", log, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 2;
    const char* commandLine = GetCommandLineA();
    HANDLE file = CreateFileA(log, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    WriteFile(file, commandLine, static_cast<DWORD>(strlen(commandLine)), &written, nullptr);
    CloseHandle(file);
    return 7;
}
