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

TEST_CASE("the helper is started with the command line \" /d\" and can be waited for") {
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

    HANDLE process = StartHelperProgram(program.c_str());
    REQUIRE(process != nullptr);
    CHECK(WaitForSingleObject(process, 20000) == WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    CHECK(exitCode == 7);
    CHECK(ReadFileText(log) == " /d");
}

TEST_CASE("a program that cannot be started gives no handle") {
    CHECK(StartHelperProgram("C:\\no\\such\\HELPER.EXE") == nullptr);
    CHECK(StartHelperProgram("") == nullptr);
    CHECK(StartHelperProgram(nullptr) == nullptr);
}
