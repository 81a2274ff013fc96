// Stands in for a package's setup.exe in the launcher tests. It records how it was started in
// "setup-ran.txt" beside itself, sleeps a moment and only then writes "finished", so a test that
// finds "finished" once the launcher has ended knows that the launcher waited for it.
#include <windows.h>

#include <cstdio>
#include <cstring>

static void AppendLine(const char* recordPath, const char* key, const char* value) {
    FILE* record = std::fopen(recordPath, "a");
    if (!record) return;
    std::fprintf(record, "%s=%s\n", key, value);
    std::fclose(record);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char recordPath[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, recordPath, MAX_PATH);
    char* slash = std::strrchr(recordPath, '\\');
    if (length == 0 || length >= MAX_PATH || !slash) return 1;
    std::snprintf(slash + 1, MAX_PATH - (slash + 1 - recordPath), "setup-ran.txt");

    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, directory);
    AppendLine(recordPath, "cmd", GetCommandLineA());
    AppendLine(recordPath, "cwd", directory);
    Sleep(700);
    AppendLine(recordPath, "state", "finished");
    return 0;
}
