// FindInOemPaths against the real registry and files of a throwaway prefix.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include <string>

#include "script/OemPaths.h"

namespace {
const char kKey[] = "SOFTWARE\\TOVARI QUELLAN\\OEM\\OEMPaths";

std::string Scratch(const char* leaf) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "oempaths\\";
    CreateDirectoryA(path.c_str(), nullptr);
    path += leaf;
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

void Touch(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

void SetValue(HKEY key, const char* name, const std::string& data) {
    REQUIRE(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                           static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS);
}

struct OemKey {
    HKEY key = nullptr;
    OemKey() { REQUIRE(RegCreateKeyA(HKEY_LOCAL_MACHINE, kKey, &key) == ERROR_SUCCESS); }
    ~OemKey() {
        RegCloseKey(key);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
    }
};
}  // namespace

TEST_CASE("an absent key finds nothing") {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
    TextItem found("stale");
    CHECK_FALSE(FindInOemPaths("QLNDRV01.DLL", found));
    CHECK(found.IsEmpty());
}

TEST_CASE("the file is found in the second directory when the first lacks it") {
    std::string first = Scratch("first");
    std::string second = Scratch("second\\");  // with its own backslash: none is added
    Touch(second + "QLNDRV01.DLL");
    Touch(first + "\\OTHER.DLL");

    OemKey oem;
    // Values with data that names no usable directory come first and are passed over: one too
    // long for the 260-byte buffer, one empty (it would name the current directory).
    SetValue(oem.key, "0 long", std::string(300, 'x'));
    SetValue(oem.key, "1 empty", "");
    SetValue(oem.key, "2 first", first);
    SetValue(oem.key, "3 second", second);

    TextItem found;
    REQUIRE(FindInOemPaths("QLNDRV01.DLL", found));
    CHECK(std::string(found.Text()) == second + "QLNDRV01.DLL");

    CHECK(FindInOemPaths("other.dll", found));  // names compare as the file system does
    CHECK(std::string(found.Text()) == first + "\\other.dll");

    CHECK_FALSE(FindInOemPaths("MISSING.DLL", found));
    CHECK(found.IsEmpty());
}

TEST_CASE("an empty directory value does not find a file in the current directory") {
    std::string here = Scratch("here");
    Touch(here + "\\HERE.DLL");
    REQUIRE(SetCurrentDirectoryA(here.c_str()));
    OemKey oem;
    SetValue(oem.key, "empty", "");
    TextItem found;
    CHECK_FALSE(FindInOemPaths("HERE.DLL", found));
}
