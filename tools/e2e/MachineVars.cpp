#include "MachineVars.h"

#include <windows.h>
#include <shlobj.h>
#include <winspool.h>

const std::vector<std::string>& KnownEnvironments() {
    static const std::vector<std::string> envs = {"Windows x64", "Windows NT x86", "Windows 4.0"};
    return envs;
}

std::string ToolDir(const Scenario& sc) { return sc.First("machine").Get("tooldir", "C:\\Uninstall"); }

static std::string DriverDir(const char* env) {
    char buf[MAX_PATH] = "";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(env), 1, reinterpret_cast<BYTE*>(buf),
                                    sizeof(buf), &needed))
        return "";
    return buf;
}

static std::string ProcDir(const char* env) {
    char buf[MAX_PATH] = "";
    DWORD needed = 0;
    if (!GetPrintProcessorDirectoryA(nullptr, const_cast<char*>(env), 1, reinterpret_cast<BYTE*>(buf),
                                     sizeof(buf), &needed))
        return "";
    return buf;
}

static std::string ShellFolder(int csidl) {
    char buf[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, buf) != S_OK) return "";
    return buf;
}

VarList MachineVars(const Scenario& sc) {
    char win[MAX_PATH] = "", sys[MAX_PATH] = "", tmp[MAX_PATH] = "";
    GetWindowsDirectoryA(win, sizeof(win));
    GetSystemDirectoryA(sys, sizeof(sys));
    GetTempPathA(sizeof(tmp), tmp);
    std::string temp = tmp;
    if (!temp.empty() && temp.back() == '\\') temp.pop_back();
    return {
        {"WINDIR", win},
        {"SYSDIR", sys},
        {"DRIVERDIR", DriverDir(nullptr)},
        {"DRIVERDIR_X64", DriverDir("Windows x64")},
        {"DRIVERDIR_X86", DriverDir("Windows NT x86")},
        {"DRIVERDIR_W40", DriverDir("Windows 4.0")},
        {"PROCDIR", ProcDir(nullptr)},
        {"PROGRAMS", ShellFolder(CSIDL_PROGRAMS)},
        {"STARTUP", ShellFolder(CSIDL_STARTUP)},
        {"COMMONPROGRAMS", ShellFolder(CSIDL_COMMON_PROGRAMS)},
        {"COMMONSTARTUP", ShellFolder(CSIDL_COMMON_STARTUP)},
        {"DESKTOP", ShellFolder(CSIDL_DESKTOPDIRECTORY)},
        {"TEMP", temp},
        {"TOOLDIR", ToolDir(sc)},
    };
}
