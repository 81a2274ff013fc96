// qe2e_fake_vizora: a stand-in for the Vizora program, seeded as VIZORA32.EXE. It writes down its
// command line and working directory in calls.ini beside itself ([Vizora] arguments, in quotes, and
// cwd), runs for the seconds that [Vizora] run-seconds of that file names (10 if none) and then
// writes ended=yes.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string own = path;
    const std::string record = own.substr(0, own.find_last_of('\\') + 1) + "calls.ini";
    const std::string arguments = std::string("\"") + GetCommandLineA() + "\"";
    WritePrivateProfileStringA("Vizora", "arguments", arguments.c_str(), record.c_str());
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, directory);
    WritePrivateProfileStringA("Vizora", "cwd", directory, record.c_str());
    UINT seconds = GetPrivateProfileIntA("Vizora", "run-seconds", 10, record.c_str());
    Sleep(seconds * 1000);
    WritePrivateProfileStringA("Vizora", "ended", "yes", record.c_str());
    return 0;
}
