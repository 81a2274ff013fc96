// The built launcher programs run as a package would run them: started from a package folder of a
// throwaway Wine prefix, with oem*.inf files seeded into the real Windows INF folder.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <shlobj.h>
#include <windows.h>

#include <string>

#include "LauncherTestSupport.h"

static const char kPackageLine[] = "; TOVARI QUELLAN tintora 5520DL";

static std::string InfDir() {
    char windows[MAX_PATH];
    REQUIRE(GetWindowsDirectoryA(windows, MAX_PATH) > 0);
    return std::string(windows) + "\\inf\\";
}

// An oem*.inf of this package (read-only and hidden, as installers leave them) with its PNF, one of
// another package with its PNF, and a PNF whose INF is gone. Returns the common name prefix.
static std::string SeedInfFiles(const char* prefix) {
    std::string base = InfDir() + prefix;
    WriteBytes(base + "1.inf",
               std::string("[Version]\r\nSignature=\"$Windows NT$\"\r\n") + kPackageLine + "\r\n");
    WriteBytes(base + "1.PNF", "pnf");
    REQUIRE(SetFileAttributesA((base + "1.inf").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    REQUIRE(SetFileAttributesA((base + "1.PNF").c_str(), FILE_ATTRIBUTE_READONLY));
    WriteBytes(base + "2.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n; another maker's driver\r\n");
    WriteBytes(base + "2.PNF", "pnf");
    WriteBytes(base + "3.PNF", "pnf");
    return base;
}

static std::string ProgramsFolder() {
    char folder[MAX_PATH];
    REQUIRE(SHGetFolderPathA(NULL, CSIDL_COMMON_PROGRAMS, NULL, 0, folder) == S_OK);
    return folder;
}

TEST_CASE("a package started from its top folder: stale INF copies go, the deep setup.exe runs") {
    std::string inf = SeedInfFiles("oem40");
    std::string package = MakeScratchDir("package");
    PlacePackage(package + "\\tools", false);
    PlacePackage(package + "\\disk1\\drivers\\win");

    CHECK(RunProgram(ProgramDir() + "\\SETUPGATE.EXE", package) == 0);

    CHECK_FALSE(Exists(inf + "1.inf"));
    CHECK_FALSE(Exists(inf + "1.PNF"));
    CHECK(Exists(inf + "2.inf"));
    CHECK(Exists(inf + "2.PNF"));
    CHECK(Exists(inf + "3.PNF"));

    InstallerRecord record = ReadInstallerRecord(package + "\\disk1\\drivers\\win");
    REQUIRE(record.ran);
    CHECK(record.finished);
    CHECK(record.commandLine == "\"" + package + "\\disk1\\drivers\\win\\setup.exe\"");
    CHECK(record.currentDir == package);
    CHECK_FALSE(ReadInstallerRecord(package + "\\tools").ran);
}

TEST_CASE("a launcher started from another folder does not find the installer beside itself") {
    std::string package = MakeScratchDir("package");
    PlacePackage(package);
    CopyProgram("SETUPGATE.EXE", package + "\\SETUPGATE.EXE");
    std::string elsewhere = MakeScratchDir("elsewhere");

    CHECK(RunProgram(package + "\\SETUPGATE.EXE", elsewhere) == 0);
    CHECK_FALSE(ReadInstallerRecord(package).ran);

    CHECK(RunProgram(package + "\\SETUPGATE.EXE", package) == 0);
    CHECK(ReadInstallerRecord(package).finished);
}

TEST_CASE("the shipped string table: Russian, with the configured values") {
    HMODULE launcher =
        LoadLibraryExA((ProgramDir() + "\\SETUPGATE.EXE").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(launcher != NULL);
    struct Entry {
        UINT id;
        const wchar_t* text;
    };
    const Entry entries[] = {
        {1, L"_YES_"},
        {2, L"3"},
        {3, L"; TOVARI QUELLAN tintora 5520DL"},
        {11, L"_YES_"},
        {12, L"setup.exe"},
        {13, L"QUINST01.EXE"},
        {14, L"4096"},
        {21, L"_YES_"},
        {22, L"TOVARI QUELLAN\\tintora 5520DL\\Удалить установку.lnk"},
        {23, L"TOVARI QUELLAN\\tintora 5520DL\\Удаление установки.lnk"},
        {24, L"TOVARI QUELLAN\\tintora 5520DL\\Статус.lnk"},
        {25, L"TOVARI QUELLAN\\tintora 5520DL\\Репортер.lnk"},
    };
    for (const Entry& entry : entries) {
        CAPTURE(entry.id);
        wchar_t text[MAX_PATH] = L"";
        CHECK(LoadStringW(launcher, entry.id, text, MAX_PATH) > 0);
        CHECK(std::wstring(text) == entry.text);
    }
    // Strings live in blocks of 16: ids 1 to 15 in block 1, 16 to 31 in block 2.
    for (int block : {1, 2}) {
        CAPTURE(block);
        CHECK(FindResourceExA(launcher, RT_STRING, MAKEINTRESOURCEA(block),
                              MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)) != NULL);
    }
    CHECK(FindResourceA(launcher, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) != NULL);
    FreeLibrary(launcher);
}

TEST_CASE("test copies with other string tables") {
    std::string group = ProgramsFolder() + "\\TOVARI QUELLAN\\tintora 5520DL\\";
    MakeDirs(group.substr(0, group.size() - 1));
    auto seedShortcuts = [&] {
        for (const char* name : {"Keep A.lnk", "Duplicate A.lnk", "Keep B.lnk", "Duplicate B.lnk"}) {
            WriteBytes(group + name, "L");
        }
    };

    SUBCASE("\"1\" runs the INF cleanup and the installer, \"yes\" skips the shortcuts, limit 0") {
        std::string inf = SeedInfFiles("oem50");
        std::string package = MakeScratchDir("package");
        PlacePackage(package);
        PlacePackage(package + "\\sub");
        seedShortcuts();

        CHECK(RunProgram(ProgramDir() + "\\SETUPGATE_TEST_A.EXE", package) == 0);

        CHECK_FALSE(Exists(inf + "1.inf"));
        CHECK(Exists(inf + "2.inf"));
        CHECK(ReadInstallerRecord(package).finished);
        // With a higher limit the subfolder, listed after setup.exe, would have won.
        CHECK_FALSE(ReadInstallerRecord(package + "\\sub").ran);
        CHECK(Exists(group + "Duplicate A.lnk"));
        CHECK(Exists(group + "Duplicate B.lnk"));
    }
    SUBCASE("\"yes\" and \"_yes_\" switch jobs off, \"1\" runs the shortcut cleanup") {
        std::string inf = SeedInfFiles("oem60");
        std::string package = MakeScratchDir("package");
        PlacePackage(package);
        seedShortcuts();

        CHECK(RunProgram(ProgramDir() + "\\SETUPGATE_TEST_B.EXE", package) == 0);

        CHECK(Exists(inf + "1.inf"));
        CHECK_FALSE(ReadInstallerRecord(package).ran);
        CHECK(Exists(group + "Keep A.lnk"));
        CHECK(Exists(group + "Keep B.lnk"));
        CHECK_FALSE(Exists(group + "Duplicate A.lnk"));
        CHECK_FALSE(Exists(group + "Duplicate B.lnk"));
    }
    SUBCASE("line number 0 identifies no INF file") {
        std::string inf = SeedInfFiles("oem70");
        WriteBytes(inf + "4.inf", std::string(kPackageLine) + "\r\n");
        CHECK(RunProgram(ProgramDir() + "\\SETUPGATE_TEST_C.EXE", MakeScratchDir("empty")) == 0);
        CHECK(Exists(inf + "1.inf"));
        CHECK(Exists(inf + "1.PNF"));
        CHECK(Exists(inf + "4.inf"));
    }
}
