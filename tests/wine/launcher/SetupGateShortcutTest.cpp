// The shipped launcher's shortcut cleanup with its Cyrillic shortcut names. The names are read as
// ANSI text, so they match only where the ANSI code page is Cyrillic (1251); on a Western machine
// they turn into question marks and nothing is deleted. ctest runs this program once in each locale.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <shlobj.h>
#include <windows.h>

#include <string>

#include "LauncherTestSupport.h"

static const wchar_t kKeepA[] = L"Удалить установку.lnk";
static const wchar_t kDuplicateA[] = L"Удаление установки.lnk";
static const wchar_t kKeepB[] = L"Статус.lnk";
static const wchar_t kDuplicateB[] = L"Репортер.lnk";

static std::wstring GroupFolder() {
    wchar_t programs[MAX_PATH];
    REQUIRE(SHGetFolderPathW(NULL, CSIDL_COMMON_PROGRAMS, NULL, 0, programs) == S_OK);
    std::wstring group = std::wstring(programs) + L"\\TOVARI QUELLAN";
    CreateDirectoryW(group.c_str(), NULL);
    group += L"\\tintora 5520DL";
    CreateDirectoryW(group.c_str(), NULL);
    REQUIRE_MESSAGE(GetFileAttributesW(group.c_str()) != INVALID_FILE_ATTRIBUTES, "error ", GetLastError());
    return group + L"\\";
}

static void Touch(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    REQUIRE_MESSAGE(file != INVALID_HANDLE_VALUE, "error ", GetLastError());
    CloseHandle(file);
}

static bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

static void RunLauncher() {
    CHECK(RunProgram(ProgramDir() + "\\SETUPGATE.EXE", MakeScratchDir("empty")) == 0);
}

// The test's locale comes from ctest (LC_ALL); make sure Wine took it up before judging the result.
static bool CyrillicCodePage() {
    UINT codePage = GetACP();
    REQUIRE_MESSAGE((codePage == 1251 || codePage == 1252), "ANSI code page ", codePage);
    return codePage == 1251;
}

TEST_CASE("duplicate shortcuts of both pairs") {
    bool cyrillic = CyrillicCodePage();
    std::wstring group = GroupFolder();
    for (const wchar_t* name : {kKeepA, kDuplicateA, kKeepB, kDuplicateB}) Touch(group + name);

    RunLauncher();

    CHECK(Exists(group + kKeepA));
    CHECK(Exists(group + kKeepB));
    CHECK(Exists(group + kDuplicateA) == !cyrillic);
    CHECK(Exists(group + kDuplicateB) == !cyrillic);
}

TEST_CASE("the second shortcut stays when the first of its pair is missing") {
    bool cyrillic = CyrillicCodePage();
    std::wstring group = GroupFolder();
    DeleteFileW((group + kKeepA).c_str());
    for (const wchar_t* name : {kDuplicateA, kKeepB, kDuplicateB}) Touch(group + name);

    RunLauncher();

    CHECK(Exists(group + kDuplicateA));
    CHECK(Exists(group + kKeepB));
    CHECK(Exists(group + kDuplicateB) == !cyrillic);
}
