// A shell folder whose path leaves no room for the closing backslash is not used. The user's
// Favorites folder is pointed at deep directories of exactly 258 and 259 characters.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>
// shlobj.h needs windows.h first.
#include <shlobj.h>

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

// The Favorites path as the shell itself answers it, "" when the shell call fails: an empty location
// must come from the length rule, not from a shell that did not answer.
std::string ShellAnswer() {
    LPITEMIDLIST idList = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_FAVORITES, &idList)) || !idList) return "";
    char path[MAX_PATH] = "";
    BOOL answered = SHGetPathFromIDListA(idList, path);
    ILFree(idList);
    return answered ? path : "";
}
}  // namespace

TEST_CASE("a 258-character shell folder is used with its backslash, a 259-character one is not") {
    std::string fits = MakeDirectoryOfLength(258);
    PointFavoritesAt(fits);
    REQUIRE(ShellAnswer() == fits);
    FileSpec spec;
    spec.ResolveLocation(kLocFavorites);
    CHECK(std::string(spec.FullPath()) == fits + "\\");

    std::string tooLong = MakeDirectoryOfLength(259);
    PointFavoritesAt(tooLong);
    REQUIRE(ShellAnswer() == tooLong);
    spec.ResolveLocation(kLocFavorites);
    CHECK(std::string(spec.FullPath()).empty());
}
