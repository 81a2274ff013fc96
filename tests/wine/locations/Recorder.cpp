// Started by the helper-program test: writes its command line and, on a second line, its current
// directory to the file named by LOCATIONS_RECORDER_LOG and ends with 7, so the test sees all three.
#include <windows.h>

#include <string>

int main() {
    char log[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("LOCATIONS_RECORDER_LOG", log, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 2;
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, directory);
    const std::string text = std::string(GetCommandLineA()) + "\n" + directory;
    HANDLE file = CreateFileA(log, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return 7;
}
