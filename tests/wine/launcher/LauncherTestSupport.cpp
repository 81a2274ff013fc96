#include "LauncherTestSupport.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

std::string ProgramDir() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    REQUIRE(length > 0);
    REQUIRE(length < MAX_PATH);
    std::string program(path, length);
    return program.substr(0, program.rfind('\\'));
}

void MakeDirs(const std::string& path) {
    for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
        CreateDirectoryA(path.substr(0, slash).c_str(), NULL);
    }
    CreateDirectoryA(path.c_str(), NULL);
    DWORD attributes = GetFileAttributesA(path.c_str());
    REQUIRE(attributes != INVALID_FILE_ATTRIBUTES);
    REQUIRE((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
}

std::string MakeScratchDir(const char* tag) {
    static int counter = 0;
    std::string path = "C:\\lt\\" + std::string(tag) + "-" + std::to_string(++counter);
    MakeDirs(path);
    return path;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    REQUIRE(file.good());
    file << bytes;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CopyProgram(const char* name, const std::string& target) {
    std::string source = ProgramDir() + "\\" + name;
    REQUIRE_MESSAGE(CopyFileA(source.c_str(), target.c_str(), FALSE), "copy ", source, " to ", target);
}

void PlacePackage(const std::string& folder, bool withCompanion) {
    MakeDirs(folder);
    CopyProgram("launcher_fake_setup.exe", folder + "\\setup.exe");
    if (withCompanion) WriteBytes(folder + "\\QUINST01.EXE", "MZ companion");
}

unsigned long RunProgram(const std::string& program, const std::string& currentDir) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    REQUIRE_MESSAGE(CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, currentDir.c_str(),
                                   &startup, &process),
                    "start ", program, " error ", GetLastError());
    DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0xDEAD;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    REQUIRE(waited == WAIT_OBJECT_0);
    return exitCode;
}

InstallerRecord ReadInstallerRecord(const std::string& folder) {
    InstallerRecord record;
    std::ifstream file(folder + "\\setup-ran.txt");
    if (!file) return record;
    record.ran = true;
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("cmd=", 0) == 0) record.commandLine = line.substr(4);
        if (line.rfind("cwd=", 0) == 0) record.currentDir = line.substr(4);
        if (line == "state=finished") record.finished = true;
    }
    return record;
}
