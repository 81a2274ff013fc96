// The launcher's jobs called directly, on scratch folders of a throwaway Wine prefix.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <shlobj.h>
#include <windows.h>

#include <string>

#include "AdminCheck.h"
#include "ConfigStrings.h"
#include "LauncherTestSupport.h"
#include "OemInfCleanup.h"
#include "ProgramSearch.h"
#include "ProgramsFolder.h"
#include "RunAndWait.h"
#include "ShortcutCleanup.h"

static const char kPackageLine[] = "; TOVARI QUELLAN tintora 5520DL";

TEST_CASE("switch texts: _YES_ exactly, otherwise the leading number") {
    struct Case {
        const char* text;
        unsigned expected;
    };
    const Case cases[] = {
        {"_YES_", 1},
        {"_yes_", 0},
        {"_YES_ ", 0},
        {" _YES_", 0},
        {"1", 1},
        {"yes", 0},
        {"", 0},
        {"0", 0},
        {"4096", 4096},
        {"  42xyz", 42},
        {"+12", 12},
        {"-1", 0xFFFFFFFFu},
        {"99999999999", 0x7FFFFFFFu},
        {"-99999999999", 0x80000000u},
    };
    for (const Case& c : cases) {
        INFO("text: \"", c.text, "\"");
        CHECK(ParseConfigSwitch(c.text) == c.expected);
    }
}

TEST_CASE("switches from a string table: 15 characters are read, a missing string is 0") {
    SetConfigInstance(GetModuleHandleA(NULL));
    CHECK(GetConfigSwitch(101) == 1);
    CHECK(GetConfigSwitch(102) == 0);
    CHECK(GetConfigSwitch(103) == 1);
    CHECK(GetConfigSwitch(104) == 0);
    CHECK(GetConfigSwitch(105) == 0xFFFFFFFEu);
    CHECK(GetConfigSwitch(106) == 4096);
    CHECK(GetConfigSwitch(107) == 0);
    // Fifteen blanks fill the buffer, so the 7 after them is never seen.
    CHECK(GetConfigSwitch(108) == 0);
    CHECK(GetConfigSwitch(109) == 0x7FFFFFFFu);
    CHECK(GetConfigSwitch(110) == 12);
    CHECK(GetConfigSwitch(111) == 0);
    char text[kConfigTextSize] = "stale";
    GetConfigText(111, text);
    CHECK(std::string(text).empty());
}

namespace {
struct InfFile {
    const char* name;
    std::string content;
    DWORD attributes;
    bool deleted;
};
}  // namespace

TEST_CASE("INF cleanup deletes this package's oem*.inf files and their PNF files, nothing else") {
    std::string dir = MakeScratchDir("inf") + "\\";
    const std::string line = kPackageLine;
    const InfFile files[] = {
        {"oem1.inf", "[Version]\nSignature=x\n" + line + " driver\n[Rest]\n", 0, true},
        {"oem1.PNF", "pnf", 0, true},
        {"oem2.inf", "a\r\nb\r\n" + line + "\r\n", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, true},
        {"oem2.PNF", "pnf", FILE_ATTRIBUTE_READONLY, true},
        {"oem3.inf", "a\r\nb\r\n" + line, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY, true},
        {"oem4.inf", "a\n" + line + "\n", 0, false},
        {"oem5.inf", "a\nb\n; tovari quellan tintora 5520DL\n", 0, false},
        {"oem5.PNF", "pnf", 0, false},
        {"oem6.inf", "a\n" + line + "\nc\n" + line + "\n", 0, false},
        {"oem7.inf", "a\nb\n; TOVARI QUELLAN tintora 5520\n", 0, false},
        {"oem8.PNF", "orphan", 0, false},
        // Only the line's beginning counts, and only whole lines are counted: a long first line whose
        // 519th character starts the text is still line 1.
        {"oem9.inf", std::string(518, 'x') + line + "\nb\nc\n", 0, false},
        {"oem10.inf", std::string(600, 'x') + "\nb\n" + line + "\n", 0, true},
        // A NUL byte inside a line neither ends the line nor swallows the next one.
        {"oem12.inf", std::string("a\0b\n", 4) + "b\n" + line + "\n", 0, true},
        {"oem13.inf", std::string("a\0b\n", 4) + "b\nc\n" + line + "\n", 0, false},
        {"other.inf", "a\nb\n" + line + "\n", 0, false},
        {"oem11.txt", "a\nb\n" + line + "\n", 0, false},
    };
    for (const InfFile& file : files) {
        WriteBytes(dir + file.name, file.content);
        if (file.attributes) REQUIRE(SetFileAttributesA((dir + file.name).c_str(), file.attributes));
    }
    // As root under Wine, read-only is what makes DeleteFileA fail; make sure the seed really has it.
    REQUIRE((GetFileAttributesA((dir + "oem2.inf").c_str()) & FILE_ATTRIBUTE_READONLY) != 0);

    CleanOemInfFilesIn(dir.c_str(), 3, kPackageLine);

    for (const InfFile& file : files) {
        INFO("file: ", file.name);
        CHECK(Exists(dir + file.name) == !file.deleted);
    }
}

TEST_CASE("INF cleanup matches nothing for line 0, an empty text, or a too long folder") {
    std::string dir = MakeScratchDir("inf") + "\\";
    WriteBytes(dir + "oem1.inf", std::string(kPackageLine) + "\nb\n" + kPackageLine + "\n");
    WriteBytes(dir + "oem1.PNF", "pnf");

    CleanOemInfFilesIn(dir.c_str(), 0, kPackageLine);
    CleanOemInfFilesIn(dir.c_str(), 3, "");
    CleanOemInfFilesIn(dir.c_str(), 4, kPackageLine);
    CHECK(Exists(dir + "oem1.inf"));
    CHECK(Exists(dir + "oem1.PNF"));

    std::string longDir = "C:\\" + std::string(MAX_PATH - 8, 'd') + "\\";
    CleanOemInfFilesIn(longDir.c_str(), 3, kPackageLine);

    CleanOemInfFilesIn(dir.c_str(), 1, kPackageLine);
    CHECK_FALSE(Exists(dir + "oem1.inf"));
    CHECK_FALSE(Exists(dir + "oem1.PNF"));
}

static std::string Search(const std::string& root, unsigned long limit, unsigned long* visits = nullptr,
                          const char* program = "setup.exe") {
    ProgramSearch search = {program, "QUINST01.EXE", limit, 0};
    char result[MAX_PATH] = "";
    FindProgramInTree(search, root.c_str(), result);
    if (visits) *visits = search.visits;
    return result;
}

TEST_CASE("installer search: the directory that holds both files, last find in depth-first order") {
    SUBCASE("deep in a tree") {
        std::string root = MakeScratchDir("tree");
        PlacePackage(root + "\\cd\\disk1\\drivers\\win");
        CHECK(Search(root, 4096) == root + "\\cd\\disk1\\drivers\\win\\setup.exe");
    }
    SUBCASE("an installer without the companion is skipped, the search goes on below it") {
        std::string root = MakeScratchDir("tree");
        PlacePackage(root + "\\pkg", false);
        CHECK(Search(root, 4096).empty());
        PlacePackage(root + "\\pkg\\inner");
        CHECK(Search(root, 4096) == root + "\\pkg\\inner\\setup.exe");
    }
    SUBCASE("the program name is matched case-sensitively") {
        std::string root = MakeScratchDir("tree");
        PlacePackage(root + "\\pkg");
        CHECK(Search(root, 4096, nullptr, "SETUP.EXE").empty());
        CHECK(Search(root, 4096, nullptr, "setup.exe") == root + "\\pkg\\setup.exe");
    }
    SUBCASE("the later of two packages wins, a subfolder after its parent") {
        std::string root = MakeScratchDir("tree");
        PlacePackage(root + "\\first");
        PlacePackage(root + "\\second");
        CHECK(Search(root, 4096) == root + "\\second\\setup.exe");
        PlacePackage(root + "\\second\\zz");
        CHECK(Search(root, 4096) == root + "\\second\\zz\\setup.exe");
    }
}

TEST_CASE("installer search: the visit limit is tested only when a listing starts") {
    // Listing order under Wine: ".", "..", then names ignoring case. The root has ".", "..", "a", "b";
    // a and b each hold ".", "..", QUINST01.EXE and setup.exe.
    std::string root = MakeScratchDir("limit");
    PlacePackage(root + "\\a");
    PlacePackage(root + "\\b");
    struct Case {
        unsigned long limit;
        const char* found;
        unsigned long visits;
    };
    const Case cases[] = {
        {0, "", 4},   // only the root is listed
        {2, "", 4},   // a is reached after 3 visits
        {3, "a", 8},  // a is listed whole although it passes the limit; b starts after 8 visits
        {7, "a", 8}, {8, "b", 12},
    };
    for (const Case& c : cases) {
        CAPTURE(c.limit);
        unsigned long visits = 0;
        std::string expected = *c.found ? root + "\\" + c.found + "\\setup.exe" : "";
        CHECK(Search(root, c.limit, &visits) == expected);
        CHECK(visits == c.visits);
    }

    std::string flat = MakeScratchDir("limit");
    PlacePackage(flat);
    CHECK(Search(flat, 0) == flat + "\\setup.exe");
}

TEST_CASE("installer search: paths that do not fit are skipped, not cut") {
    // A folder of 240 characters: "<folder>\setup.exe" fits, "<folder>\<30 characters>" does not.
    std::string root = MakeScratchDir("long");
    std::string deep = root + "\\" + std::string(240 - root.size() - 1, 'p');
    REQUIRE(deep.size() == 240);
    MakeDirs(deep);
    std::wstring longSub =
        L"\\\\?\\" + std::wstring(deep.begin(), deep.end()) + L"\\" + std::wstring(30, L's');
    REQUIRE(CreateDirectoryW(longSub.c_str(), NULL));
    HANDLE companion = CreateFileW((longSub + L"\\QUINST01.EXE").c_str(), GENERIC_WRITE, 0, NULL,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    REQUIRE(companion != INVALID_HANDLE_VALUE);
    CloseHandle(companion);
    HANDLE program = CreateFileW((longSub + L"\\setup.exe").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    REQUIRE(program != INVALID_HANDLE_VALUE);
    CloseHandle(program);

    CHECK(Search(root, 4096).empty());
    PlacePackage(deep);
    CHECK(Search(root, 4096) == deep + "\\setup.exe");
    CHECK(Search(std::string(MAX_PATH, 'x'), 4096).empty());
}

TEST_CASE("running the installer: a path with blanks starts that program, not a planted one, waited for") {
    // Read as an unquoted command line, the path would start the program planted as root\Quellan.exe.
    std::string root = MakeScratchDir("plant");
    std::string dir = root + "\\Quellan Driver-7";
    PlacePackage(dir);
    CopyProgram("launcher_fake_setup.exe", root + "\\Quellan.exe");
    std::string path = dir + "\\setup.exe";
    RunAndWait(path.c_str());
    CHECK_FALSE(ReadInstallerRecord(root).ran);
    InstallerRecord record = ReadInstallerRecord(dir);
    CHECK(record.ran);
    CHECK(record.finished);
    // The program gets its own path, quoted, as its command line.
    CHECK(record.commandLine == "\"" + path + "\"");

    RunAndWait("C:\\lt\\no such program.exe");
}

TEST_CASE("find and run: nothing is started when no package is found") {
    std::string root = MakeScratchDir("run");
    PlacePackage(root + "\\pkg", false);
    FindAndRunInstaller(root.c_str(), "setup.exe", "QUINST01.EXE", 4096);
    CHECK_FALSE(ReadInstallerRecord(root + "\\pkg").ran);

    PlacePackage(root + "\\pkg\\sub");
    FindAndRunInstaller(root.c_str(), "setup.exe", "QUINST01.EXE", 4096);
    CHECK(ReadInstallerRecord(root + "\\pkg\\sub").finished);
}

TEST_CASE("duplicate shortcuts: the second of a pair goes only when the first exists") {
    std::string folder = MakeScratchDir("programs") + "\\";
    MakeDirs(folder + "Group");
    WriteBytes(folder + "Group\\keep.lnk", "L");
    WriteBytes(folder + "Group\\dup.lnk", "L");
    WriteBytes(folder + "Group\\lonely.lnk", "L");

    DeleteDuplicateShortcut(folder.c_str(), "Group\\missing.lnk", "Group\\lonely.lnk");
    CHECK(Exists(folder + "Group\\lonely.lnk"));
    // Unset names would make the folder itself count as the first shortcut.
    DeleteDuplicateShortcut(folder.c_str(), "", "Group\\lonely.lnk");
    CHECK(Exists(folder + "Group\\lonely.lnk"));

    DeleteDuplicateShortcut(folder.c_str(), "Group\\keep.lnk", "Group\\dup.lnk");
    CHECK(Exists(folder + "Group\\keep.lnk"));
    CHECK_FALSE(Exists(folder + "Group\\dup.lnk"));
    DeleteDuplicateShortcut(folder.c_str(), "Group\\keep.lnk", std::string(300, 'n').c_str());
    CHECK(Exists(folder + "Group\\keep.lnk"));
}

TEST_CASE("Programs folder: the user's on Windows 9x, the all-users one for an administrator elsewhere") {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    REQUIRE(GetVersionExA(&version));
    // Wine's user is always a member of the Administrators group.
    CHECK(IsUserAdmin() == 1);
    int expectedId =
        version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS;
    char expected[MAX_PATH];
    REQUIRE(SHGetFolderPathA(NULL, expectedId, NULL, 0, expected) == S_OK);

    char folder[MAX_PATH];
    REQUIRE(GetProgramsFolder(folder) == 1);
    CHECK(std::string(folder) == std::string(expected) + "\\");
}
