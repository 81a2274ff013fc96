// The string ring on the test program's own string table, with INI files in the Windows directory,
// the system directory (on the search path) and a directory of their own.
#include <doctest/doctest.h>

#include <cstdio>
#include <string>

#include "FrameworkTestIds.h"
#include "shell/StringRing.h"

namespace {

std::string InDirectory(UINT (*getDirectory)(LPSTR, UINT), const char* name) {
    char dir[MAX_PATH];
    getDirectory(dir, sizeof dir);
    return std::string(dir) + "\\" + name;
}

UINT WindowsDir(LPSTR buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); }
UINT SystemDir(LPSTR buffer, UINT size) { return GetSystemDirectoryA(buffer, size); }

void WriteIni(const std::string& path, const char* greeting) {
    FILE* f = fopen(path.c_str(), "wb");
    REQUIRE(f != nullptr);
    fprintf(f, "[Texts]\r\nGreeting=%s\r\n", greeting);
    fclose(f);
}

// INI files read through the string table's "@file@section@key" entries.
struct IniFiles {
    IniFiles() {
        WriteIni(InDirectory(WindowsDir, "qshwin.ini"), "Hello\\nfrom the Windows directory");
        WriteIni(InDirectory(SystemDir, "qshsys.ini"), "found on the search path");
        WriteIni(InDirectory(WindowsDir, "qshboth.ini"), "Windows directory first");
        WriteIni(InDirectory(SystemDir, "qshboth.ini"), "system directory second");
        CreateDirectoryA("C:\\qshdir", NULL);
        WriteIni("C:\\qshdir\\qshfull.ini", "by full path");
    }
    ~IniFiles() {
        DeleteFileA(InDirectory(WindowsDir, "qshwin.ini").c_str());
        DeleteFileA(InDirectory(SystemDir, "qshsys.ini").c_str());
        DeleteFileA(InDirectory(WindowsDir, "qshboth.ini").c_str());
        DeleteFileA(InDirectory(SystemDir, "qshboth.ini").c_str());
        DeleteFileA("C:\\qshdir\\qshfull.ini");
        RemoveDirectoryA("C:\\qshdir");
    }
};

}  // namespace

TEST_CASE("the string ring keeps four texts and overwrites the oldest with a fifth") {
    CStringRing ring;
    const char* first = ring.LoadText(IDS_T_FIRST);
    const char* second = ring.LoadText(IDS_T_SECOND);
    const char* third = ring.LoadText(IDS_T_THIRD);
    const char* fourth = ring.LoadText(IDS_T_FOURTH);
    CHECK(std::string(first) == "first");
    CHECK(std::string(second) == "second");
    CHECK(std::string(third) == "third");
    CHECK(std::string(fourth) == "fourth");

    const char* fifth = ring.LoadText(IDS_T_FIFTH);
    CHECK(fifth == first);
    CHECK(std::string(first) == "fifth");
    CHECK(std::string(second) == "second");
}

TEST_CASE("plain texts from the string table") {
    CStringRing ring;
    SUBCASE("a missing string is empty") { CHECK(std::string(ring.GetText(IDS_T_UNUSED)) == ""); }
    SUBCASE("backslash-n outside an INI indirection stays as written") {
        CHECK(std::string(ring.GetText(IDS_T_PLAIN_BACKSLASH_N)) == "plain\\ntext");
    }
    SUBCASE("a text longer than a slot is cut to 511 characters") {
        CHECK(std::string(ring.GetText(IDS_T_LONG)) == std::string(511, 'L'));
    }
}

TEST_CASE("INI indirection of string-table entries") {
    IniFiles files;
    CStringRing ring;

    SUBCASE("a bare file name is read from the Windows directory, with backslash-n as a line break") {
        CHECK(std::string(ring.GetText(IDS_T_INI_WINDIR)) == "Hello\nfrom the Windows directory");
    }
    SUBCASE("a file missing from the Windows directory is found on the search path") {
        CHECK(std::string(ring.GetText(IDS_T_INI_SEARCHPATH)) == "found on the search path");
    }
    SUBCASE("the Windows directory comes before the search path") {
        CHECK(std::string(ring.GetText(IDS_T_INI_BOTH)) == "Windows directory first");
    }
    SUBCASE("a file with a directory is read where it is") {
        CHECK(std::string(ring.GetText(IDS_T_INI_FULLPATH)) == "by full path");
    }
    SUBCASE("a missing key gives an empty text") {
        CHECK(std::string(ring.GetText(IDS_T_INI_MISSING)) == "");
    }
    SUBCASE("an entry with only two fields comes back cut at its first at sign, which leaves it empty") {
        CHECK(std::string(ring.GetText(IDS_T_TWO_FIELDS)) == "");
    }
    SUBCASE("the indirection does not disturb the text loaded just before") {
        const char* before = ring.LoadText(IDS_T_FIRST);
        ring.GetText(IDS_T_INI_WINDIR);
        CHECK(std::string(before) == "first");
    }
}

TEST_CASE("window texts set from the string table") {
    HWND window = CreateWindowExA(0, "STATIC", "unchanged", WS_POPUP, 0, 0, 50, 20, NULL, NULL, NULL, NULL);
    REQUIRE(window != NULL);
    IniFiles files;
    CStringRing ring;
    char text[256];

    CHECK(ring.SetWindowTextId(window, IDS_T_INI_WINDIR) != 0);
    GetWindowTextA(window, text, sizeof text);
    CHECK(std::string(text) == "Hello\nfrom the Windows directory");

    // An empty text leaves the window as it was.
    CHECK(ring.SetWindowTextId(window, IDS_T_UNUSED) == 0);
    GetWindowTextA(window, text, sizeof text);
    CHECK(std::string(text) == "Hello\nfrom the Windows directory");
    DestroyWindow(window);
}
