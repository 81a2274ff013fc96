// SearchFile and Exists on real files.
#include <doctest/doctest.h>
#include <windows.h>

#include <string>

#include "script/FileSpec.h"
#include "script/Locations.h"

namespace {
std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}
}  // namespace

TEST_CASE("a file is searched by name and extension along the default order or a given path") {
    FileSpec spec;
    spec.fileName.Assign("notepad");
    spec.extension.Assign(".exe");
    REQUIRE(spec.SearchFile(nullptr));
    FileSpec system;
    system.ResolveLocation(kLocSystemDir);
    CHECK(Lower(spec.DirectoryPath()) == Lower(system.DirectoryPath()));
    CHECK(Lower(spec.NameAndExtension()) == "notepad.exe");

    FileSpec windows;
    windows.ResolveLocation(kLocWindowsDir);
    FileSpec inWindows;
    inWindows.SetPath("notepad.exe");
    REQUIRE(inWindows.SearchFile(windows.DirectoryPath()));
    CHECK(Lower(inWindows.DirectoryPath()) == Lower(windows.DirectoryPath()));

    FileSpec missing;
    missing.SetPath("D:\\keep\\NOSUCHFILE.XYZ");
    CHECK_FALSE(missing.SearchFile(nullptr));
    CHECK(std::string(missing.FullPath()) == "D:\\keep\\NOSUCHFILE.XYZ");  // unchanged
}

TEST_CASE("a file exists when it is there, also while another handle holds it without sharing") {
    FileSpec spec;
    spec.ResolveLocation(kLocTempDir);
    spec.fileName.Assign("exists-probe");
    spec.extension.Assign("tmp");  // the join adds the dot
    std::string path = spec.FullPath();
    DeleteFileA(path.c_str());
    CHECK_FALSE(spec.Exists());

    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    CHECK(spec.Exists());  // no access is asked, so the holder's sharing does not matter
    CloseHandle(file);
    CHECK(spec.Exists());
    CHECK(spec.Exists());  // the probe closed its own handle
    DeleteFileA(path.c_str());

    FileSpec directory;
    directory.ResolveLocation(kLocWindowsDir);
    CHECK_FALSE(directory.Exists());  // a directory is not a file
}
