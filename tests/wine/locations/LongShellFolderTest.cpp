// A shell folder whose path leaves no room for the closing backslash is not used. The user's
// Favorites folder is pointed at deep directories of exactly 258 and 259 characters.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include <string>

#include "script/FileSpec.h"
#include "script/Locations.h"

namespace {
// Creates C:\longshell\ffffffffff\...\ggg of exactly length characters and returns it.
std::string MakeDirectoryOfLength(size_t length) {
    std::string path = "C:\\longshell";
    CreateDirectoryA(path.c_str(), nullptr);
    while (path.size() < length - 22) {
        path += "\\" + std::string(10, 'f');
        CreateDirectoryA(path.c_str(), nullptr);
    }
    path += "\\" + std::string(length - path.size() - 1, 'g');
    REQUIRE(path.size() == length);
    REQUIRE(CreateDirectoryA(path.c_str(), nullptr));
    return path;
}

void PointFavoritesAt(const std::string& path) {
    HKEY key = nullptr;
    REQUIRE(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                        &key) == ERROR_SUCCESS);
    RegSetValueExA(key, "Favorites", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);
}
}  // namespace

TEST_CASE("a 258-character shell folder is used with its backslash, a 259-character one is not") {
    std::string fits = MakeDirectoryOfLength(258);
    PointFavoritesAt(fits);
    FileSpec spec;
    spec.ResolveLocation(kLocFavorites);
    CHECK(std::string(spec.FullPath()) == fits + "\\");

    std::string tooLong = MakeDirectoryOfLength(259);
    PointFavoritesAt(tooLong);
    spec.ResolveLocation(kLocFavorites);
    CHECK(std::string(spec.FullPath()).empty());
}
