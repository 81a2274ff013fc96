// The version classification and the administrator check of the test process itself.
#include <doctest/doctest.h>

#include "shell/AdminCheck.h"
#include "shell/OSInfo.h"
#include "RestrictedToken.h"

namespace {

struct VersionCase {
    DWORD platform, major, minor;
    int family, kind;
};

const VersionCase kVersions[] = {
    {VER_PLATFORM_WIN32s, 3, 10, 1, 1},
    {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 2, 2},    // Windows 95
    {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2, 3},   // Windows 98
    {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 2, 7},   // Windows Me
    {VER_PLATFORM_WIN32_WINDOWS, 4, 3, 2, 0},    // unknown 9x minor
    {VER_PLATFORM_WIN32_NT, 3, 51, 3, 4},
    {VER_PLATFORM_WIN32_NT, 4, 0, 3, 5},
    {VER_PLATFORM_WIN32_NT, 5, 0, 3, 6},         // Windows 2000
    {VER_PLATFORM_WIN32_NT, 5, 1, 3, 8},         // XP
    {VER_PLATFORM_WIN32_NT, 5, 2, 3, 6},         // Server 2003 counts with 2000
    {VER_PLATFORM_WIN32_NT, 6, 0, 3, 8},
    {VER_PLATFORM_WIN32_NT, 6, 1, 3, 8},
    {VER_PLATFORM_WIN32_NT, 6, 3, 3, 8},
    {VER_PLATFORM_WIN32_NT, 7, 0, 3, 0},         // beyond what the tool knows
    {VER_PLATFORM_WIN32_NT, 10, 0, 3, 0},
    {VER_PLATFORM_WIN32_NT, 2, 0, 3, 0},
    {3, 5, 1, 0, 0},                             // unknown platform
};


}  // namespace

TEST_CASE("Classify maps every platform and version to family and kind") {
    for (const VersionCase& v : kVersions) {
        CAPTURE(v.platform);
        CAPTURE(v.major);
        CAPTURE(v.minor);
        int family = -1, kind = -1;
        COSInfo::Classify(v.platform, v.major, v.minor, &family, &kind);
        CHECK(family == v.family);
        CHECK(kind == v.kind);
    }
}

TEST_CASE("the administrator check") {
    SUBCASE("Wine's user is an administrator") {
        COSInfo os;
        REQUIRE(os.IsNT());
        CHECK(os.IsAdministrator() == 1);
    }
    SUBCASE("a token whose Administrators group is deny-only is not") {
        HANDLE restricted = TokenWithoutAdministrators();
        CHECK(TokenIsAdministrator(restricted) == 0);
        CloseHandle(restricted);
    }
    SUBCASE("an unreadable token is not") { CHECK(TokenIsAdministrator(NULL) == 0); }
}
