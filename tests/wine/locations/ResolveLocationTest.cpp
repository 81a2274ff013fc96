// Every well-known location on the Windows version this run emulates (QWINE_VERSION).
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include <string>

#include "script/FileSpec.h"
#include "script/Locations.h"
#include "shell/OSInfo.h"

namespace {
std::string Resolved(int location) {
    FileSpec spec;
    REQUIRE(spec.ResolveLocation(location));
    return spec.FullPath();
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string WindowsDirectory() {
    char path[MAX_PATH];
    GetWindowsDirectoryA(path, MAX_PATH);
    return std::string(path) + "\\";
}

std::string SystemDirectory() {
    char path[MAX_PATH];
    GetSystemDirectoryA(path, MAX_PATH);
    return std::string(path) + "\\";
}

std::string EmulatedVersion() {
    char value[32] = "";
    GetEnvironmentVariableA("QWINE_VERSION", value, sizeof value);
    return value;
}

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

TEST_CASE("the run emulates the Windows family it was asked for") {
    std::string version = EmulatedVersion();
    COSInfo os;
    if (version == "win31") CHECK(os.IsWin32s());
    else if (version == "win98") CHECK(os.GetKind() == COSInfo::kKindWin98);
    else if (version == "nt40") CHECK(os.GetKind() == COSInfo::kKindNT4);
    else CHECK(os.IsNT());
}

TEST_CASE("numbers without a location leave an empty record and still succeed") {
    for (int location : {0, 8, 36, -1, 1000}) {
        CAPTURE(location);
        FileSpec spec;
        spec.SetPath("C:\\stale\\left.over");
        CHECK(spec.ResolveLocation(location));
        CHECK(spec.drive.IsEmpty());
        CHECK(spec.directory.IsEmpty());
        CHECK(spec.fileName.IsEmpty());
        CHECK(spec.extension.IsEmpty());
    }
}

TEST_CASE("every directory location ends with a backslash and has no file name") {
    for (int location = 2; location <= kLocLast; ++location) {
        if (location == 8) continue;
        CAPTURE(location);
        FileSpec spec;
        spec.ResolveLocation(location);
        std::string full = spec.FullPath();
        if (full.empty()) continue;  // the platform had no answer; checked per location below
        CHECK(full.back() == '\\');
        CHECK(spec.fileName.IsEmpty());
        CHECK(spec.extension.IsEmpty());
        CHECK(full == spec.DirectoryPath());
    }
}

TEST_CASE("the program, Windows, system, INF, temporary and current directories") {
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    CHECK(Resolved(kLocProgramFile) == module);
    std::string programDir(module);
    programDir.erase(programDir.find_last_of('\\') + 1);
    CHECK(Resolved(kLocProgramDir) == programDir);

    CHECK(Resolved(kLocWindowsDir) == WindowsDirectory());
    CHECK(Resolved(kLocSystemDir) == SystemDirectory());
    CHECK(Resolved(kLocInfDir) == WindowsDirectory() + "INF\\");

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    CHECK(Resolved(kLocTempDir) == temp);

    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    std::string expected(current);
    if (expected.back() != '\\') expected += '\\';
    CHECK(Resolved(kLocCurrentDir) == expected);
}

TEST_CASE("spooler directories follow the running environment; 29 is answered like 28") {
    // The spooler answers the Windows 9x environment whenever the version is not an NT one.
    std::string environment = COSInfo().IsNT() ? "x64" : "win40";
    std::string driverDir = Lower(Resolved(kLocPrintDriverDir));
    std::string processorDir = Lower(Resolved(kLocPrintProcDir));
    CAPTURE(driverDir);
    CAPTURE(processorDir);
    CHECK(EndsWith(driverDir, "\\spool\\drivers\\" + environment + "\\"));
    CHECK(EndsWith(Lower(Resolved(kLocPrintDriverDirW40)), "\\spool\\drivers\\win40\\"));
    CHECK(EndsWith(processorDir, "\\spool\\prtprocs\\" + environment + "\\"));
    CHECK(Resolved(kLocPrintProcDirW40) == Resolved(kLocPrintProcDir));
}

TEST_CASE("shell folders") {
    if (COSInfo().IsWin32s()) {
        for (int location = 1; location <= kLocLast; ++location) {
            if (ShellFolderCsidl(location) < 0) continue;
            CAPTURE(location);
            CHECK(Resolved(location).empty());
        }
        return;
    }
    CHECK(Resolved(kLocFonts) == WindowsDirectory() + "Fonts\\");
    CHECK(EndsWith(Resolved(kLocDesktop), "\\Desktop\\"));
    CHECK(EndsWith(Resolved(kLocPersonal), "\\Documents\\"));  // the shell's own backslash is not doubled
    CHECK(EndsWith(Resolved(kLocStartup), "\\StartUp\\"));
    CHECK_FALSE(Resolved(kLocProgramFiles).empty());
    // This platform has no alternate Startup groups: their locations stay empty.
    CHECK(Resolved(kLocAltStartup).empty());
    CHECK(Resolved(kLocCommonAltStartup).empty());
}

TEST_CASE("the colour directory") {
    char currentBefore[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, currentBefore);
    std::string fallback = SystemDirectory() + "Color\\";
    if (COSInfo().IsWin32s()) {
        RemoveDirectoryA(fallback.c_str());  // so the resolve has to create it
        REQUIRE_FALSE(IsDirectory(fallback));
        CHECK(Resolved(kLocColorDir) == fallback);
        CHECK(IsDirectory(fallback));
    } else {
        CHECK(Lower(Resolved(kLocColorDir)) == Lower(SystemDirectory() + "spool\\drivers\\color\\"));
    }
    char currentAfter[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, currentAfter);
    CHECK(std::string(currentAfter) == currentBefore);
}
