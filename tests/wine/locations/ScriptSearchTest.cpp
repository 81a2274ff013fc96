// The script search and loading against real script files in the four searched directories.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "script/FileSpec.h"
#include "script/Locations.h"
#include "script/ScriptReader.h"
#include "script/ScriptSearch.h"
#include "script/UninstallDatabase.h"

namespace {
const char kScriptName[] = "Qunz__01.unm";

std::string Location(int location) {
    FileSpec spec;
    spec.ResolveLocation(location);
    return spec.DirectoryPath();
}

std::string DriverDirectory() { return Location(kLocPrintDriverDir); }
std::string DriverSubdirectory() { return DriverDirectory() + "3\\"; }
std::string ProgramDirectory() { return Location(kLocProgramDir); }
std::string SystemDirectory() { return Location(kLocSystemDir); }

void WriteScript(const std::string& directory, const std::string& text) {
    CreateDirectoryA(directory.c_str(), nullptr);
    std::string path = directory + kScriptName;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void RemoveScripts() {
    for (const std::string& directory : {DriverDirectory(), DriverSubdirectory(), ProgramDirectory(), SystemDirectory()})
        DeleteFileA((directory + kScriptName).c_str());
}

std::vector<std::string> Paths(const TextList& list) {
    std::vector<std::string> paths;
    for (const TextItem& item : list) paths.push_back(item.Text());
    return paths;
}

std::string Names(const UninstallDatabase& db) {
    std::string names;
    for (const UninstallProfile& profile : db.Profiles()) names += std::string(profile.name.Text()) + "|";
    return names;
}

const UninstallProfile* Find(const UninstallDatabase& db, const char* name) {
    for (const UninstallProfile& profile : db.Profiles())
        if (profile.name.EqualsNoCase(name)) return &profile;
    return nullptr;
}

std::string Join(const TextList& list) {
    std::string out;
    for (const TextItem& item : list) out += std::string(item.Text()) + "|";
    return out;
}

// Scripts as the driver installers leave them: one in each searched directory. The driver
// directory's script is written with CR-only line ends and no line end after its last line, the
// "3" one with LF only; both name a profile "Shared", which the script whose path sorts first wins.
struct InstalledScripts {
    InstalledScripts() {
        RemoveScripts();
        WriteScript(DriverDirectory(),
                    "; driver directory\r[UnPrinterDrivers]\rQL Laser 100,QL100\rShared,FromDriverDir\r"
                    "[QL100.Files]\rql100.dll\r ql100-ignored.dll\rQL100.DLL ; same file again\r"
                    "[FromDriverDir.Files]\rdriverdir.dll");
        WriteScript(DriverSubdirectory(),
                    "[UnPrinterDrivers]\nShared,FromSubdir\n[FromSubdir.Files]\nsubdir.dll\n");
        WriteScript(ProgramDirectory(),
                    "[UnPrinterMfgs]\nQL=Mfg,QLMFG,7\n[QLMFG.Monitors]\nQL Port Monitor\n");
        WriteScript(SystemDirectory(), "[Unx_Ignore]\n\"QL Fax\",Fax\n");
    }
    ~InstalledScripts() { RemoveScripts(); }
};
}  // namespace

TEST_CASE("scripts are found in all four directories, sorted, each once") {
    InstalledScripts scripts;
    TextList found;
    CHECK(FindUninstallScripts(found) == 4);
    std::vector<std::string> expected = {
        SystemDirectory() + kScriptName,      // "...\system32\Qunz__01.unm" sorts before "...\system32\spool"
        DriverSubdirectory() + kScriptName,   // "3" sorts before "Q"
        DriverDirectory() + kScriptName,
        ProgramDirectory() + kScriptName,     // Z:\ (the build folder) last
    };
    CHECK(Paths(found) == expected);

    // The loading sequence may search again without emptying the list; every path stays once.
    CHECK(FindUninstallScripts(found) == 4);
    CHECK(Paths(found) == expected);

    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    CHECK(std::string(current) + "\\" == ProgramDirectory());
}

TEST_CASE("from a drive root the search returns to the root itself") {
    // "C:" alone would name the drive's current directory, which the search has just moved.
    if (ProgramDirectory() != "C:\\") {
        // Run this case again from a copy of the program at the root of drive C.
        FileSpec self;
        self.ResolveLocation(kLocProgramFile);
        REQUIRE(CopyFileA(self.FullPath(), "C:\\qu_root_search.exe", FALSE));
        REQUIRE(CopyFileA((ProgramDirectory() + "QSPOOL01.DLL").c_str(), "C:\\QSPOOL01.DLL", FALSE));
        std::string command = "C:\\qu_root_search.exe \"--test-case=from a drive root*\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child = {};
        REQUIRE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, "C:\\windows",
                               &startup, &child));
        REQUIRE(WaitForSingleObject(child.hProcess, 60000) == WAIT_OBJECT_0);
        DWORD exitCode = 1;
        GetExitCodeProcess(child.hProcess, &exitCode);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
        CHECK(exitCode == 0);
        return;
    }
    TextList found;
    FindUninstallScripts(found);
    FileSpec current;
    current.ResolveLocation(kLocCurrentDir);
    CHECK(std::string(current.FullPath()) == "C:\\");
}

TEST_CASE("a directory without a script adds nothing and a missing one is no error") {
    RemoveScripts();
    TextList found;
    CHECK(FindUninstallScripts(found) == 0);
    UninstallDatabase::FindScripts(found, "C:\\no\\such\\directory\\", kScriptName);
    UninstallDatabase::FindScripts(found, "", kScriptName);
    CHECK(found.IsEmpty());
}

TEST_CASE("the scripts found are read into profiles as written") {
    InstalledScripts scripts;
    TextList found;
    FindUninstallScripts(found);
    UninstallDatabase db(3);
    for (const TextItem& path : found) CHECK(db.LoadScript(path.Text()));

    CHECK(Names(db) == "QL Fax|QL Laser 100|QL=Mfg|Shared|");

    const UninstallProfile* laser = Find(db, "QL Laser 100");
    REQUIRE(laser);
    // CR-only line ends; the indented line is a comment; the case-only repeat is dropped.
    CHECK(Join(laser->Files) == "ql100.dll|");
    CHECK(Join(laser->Drivers) == "QL Laser 100|");
    CHECK(std::string(laser->scriptPath.Text()) == DriverDirectory() + kScriptName);

    const UninstallProfile* shared = Find(db, "Shared");
    REQUIRE(shared);
    CHECK(std::string(shared->sectionPrefix.Text()) == "FromSubdir");  // its script sorts first
    CHECK(Join(shared->Files) == "subdir.dll|");

    const UninstallProfile* maker = Find(db, "QL=Mfg");
    REQUIRE(maker);
    CHECK(maker->isManufacturer == 1);
    CHECK(maker->number == 7);
    CHECK(Join(maker->Monitors) == "QL Port Monitor|");

    const UninstallProfile* fax = Find(db, "QL Fax");
    REQUIRE(fax);
    CHECK(fax->isIgnore == 1);
}

TEST_CASE("the last line of a script counts even without a line end") {
    InstalledScripts scripts;
    UninstallDatabase db(3);
    REQUIRE(db.LoadScript((DriverDirectory() + kScriptName).c_str()));
    const UninstallProfile* shared = Find(db, "Shared");
    REQUIRE(shared);
    CHECK(Join(shared->Files) == "driverdir.dll|");
}

TEST_CASE("a script held open without sharing contributes nothing") {
    InstalledScripts scripts;
    std::string path = SystemDirectory() + kScriptName;
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(holder != INVALID_HANDLE_VALUE);

    ScriptReader reader;
    CHECK_FALSE(reader.Load(path.c_str()));
    CHECK(reader.SectionCount() == 0);

    UninstallDatabase db(3);
    CHECK_FALSE(db.LoadScript(path.c_str()));
    CHECK(db.Profiles().empty());
    CloseHandle(holder);

    CHECK(db.LoadScript(path.c_str()));  // the same file once it is free again
    CHECK(Names(db) == "QL Fax|");
}

TEST_CASE("scripts without starter sections, empty scripts and missing files contribute nothing") {
    InstalledScripts scripts;
    WriteScript(ProgramDirectory(), "[QLMFG.Files]\nql.dll\n[UnPrinterDrivers]\n; no entries\n");
    WriteScript(SystemDirectory(), "");
    // A damaged line is left out and counted; the rest of the file still loads.
    WriteScript(DriverSubdirectory(), std::string("[UnPrinterDrivers]\nShared,FromSubdir\nBro\0ken,B\n", 47));

    const struct {
        std::string path;
        const char* failure;
        int linesLeftOut;
    } rows[] = {
        {ProgramDirectory() + kScriptName, "no starter sections", 0},
        {SystemDirectory() + kScriptName, "cannot be read", 0},
        {"C:\\no\\such\\Qunz__01.unm", "cannot be read", 0},
        {DriverSubdirectory() + kScriptName, nullptr, 1},
    };
    UninstallDatabase db(3);
    for (const auto& row : rows) {
        CAPTURE(row.path);
        ScriptLoadNote note;
        CHECK(db.LoadScript(row.path.c_str(), &note) == !row.failure);
        CHECK(std::string(note.failure ? note.failure : "") == std::string(row.failure ? row.failure : ""));
        CHECK(note.linesLeftOut == row.linesLeftOut);
    }
    CHECK(Names(db) == "Shared|");
}
