// StartHelperProgram starts a recorder program of ours, which writes down the command line it got.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include <string>

#include "script/FileSpec.h"
#include "script/HelperProgram.h"
#include "script/Locations.h"

namespace {
std::string ReadFileText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(no file)";
    char buffer[512];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}
}  // namespace

TEST_CASE("the helper is started in its own directory with the command line \" /d\" and can be waited for") {
    FileSpec recorder;
    recorder.ResolveLocation(kLocProgramDir);
    recorder.fileName.Assign("locations_recorder");
    recorder.extension.Assign(".exe");
    std::string program = recorder.FullPath();

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string log = std::string(temp) + "recorder.log";
    DeleteFileA(log.c_str());
    REQUIRE(SetEnvironmentVariableA("LOCATIONS_RECORDER_LOG", log.c_str()));

    // Started from elsewhere: the helper runs in its own directory all the same.
    REQUIRE(SetCurrentDirectoryA(temp));
    HANDLE process = StartHelperProgram(program.c_str());
    REQUIRE(process != nullptr);
    CHECK(WaitForSingleObject(process, 20000) == WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    CHECK(exitCode == 7);
    std::string directory = recorder.DirectoryPath();
    CHECK(ReadFileText(log) == " /d\n" + directory.substr(0, directory.size() - 1));
}

TEST_CASE("a program that cannot be started gives no handle") {
    CHECK(StartHelperProgram("C:\\no\\such\\HELPER.EXE") == nullptr);
    // A path that is not a full one is refused, even where the current directory holds the program.
    FileSpec directory;
    directory.ResolveLocation(kLocProgramDir);
    REQUIRE(SetCurrentDirectoryA(directory.DirectoryPath()));
    const char* relative[] = {"locations_recorder.exe", ".\\locations_recorder.exe",
                              "C:locations_recorder.exe"};
    for (const char* path : relative) {
        CAPTURE(path);
        CHECK(StartHelperProgram(path) == nullptr);
        CHECK(GetLastError() == ERROR_BAD_PATHNAME);
    }
    CHECK(StartHelperProgram("") == nullptr);
    CHECK(StartHelperProgram(nullptr) == nullptr);
}
