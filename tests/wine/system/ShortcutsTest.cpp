// Shortcut files in the user's and the common Programs folders and the start-up folders, and
// group folders removed only when emptied.
#include <doctest/doctest.h>

#include "SystemTestSupport.h"
#include "script/Locations.h"
#include "system/Shortcuts.h"

namespace {
struct Folders {
    std::string programs = LocationPath(kLocPrograms);
    std::string common = LocationPath(kLocCommonPrograms);
    std::string startup = LocationPath(kLocStartup);
    std::string commonStartup = LocationPath(kLocCommonStartup);
    std::string group = programs + "QTest Group\\";
    std::string commonGroup = common + "QTest Group\\";
    std::string keptGroup = common + "QTest Kept\\";
    std::string quotedGroup = common + "QTest Quoted\\";
    std::string folderNamedLikeShortcut = group + "Folder.lnk";
    std::string outside = programs + "..\\QTest Outside\\";
    std::string scratch;

    Folders() {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        scratch = std::string(temp) + "qshortcuts\\";
        for (const std::string& dir :
             {group, commonGroup, keptGroup, quotedGroup, scratch, folderNamedLikeShortcut, outside})
            CreateDirectoryA(dir.c_str(), NULL);
        for (const std::string& file : Files()) WriteTextFile(file, "link");
        // Unresolvable folders (the alternate start-up folders here) must not lead to this directory.
        SetCurrentDirectoryA(scratch.c_str());
    }
    ~Folders() {
        for (const std::string& file : Files()) DeleteFileA(file.c_str());
        for (const std::string& dir :
             {folderNamedLikeShortcut, group, commonGroup, keptGroup, quotedGroup, scratch, outside})
            RemoveDirectoryA(dir.c_str());
    }
    std::vector<std::string> Files() const {
        return {group + "Setup",           group + "Setup.lnk",          group + "Setup.PIF",
                commonGroup + "Setup.lnk", group + "Version 1.2.lnk",    group + "Status.lnk",
                startup + "Status.lnk",    commonStartup + "Status.lnk", startup + "Setup.lnk",
                group + "Locked.lnk",      keptGroup + "Kept.lnk",       keptGroup + "Readme.txt",
                scratch + "Status.lnk",    quotedGroup + "Item.lnk",     outside + "Setup.lnk"};
    }
};

void SetUpEntries(TextList& list) {
    for (const char* entry :
         {"QTest Group", "QTest Group,Setup", "QTest Group,Version 1.2", "QTest Group,Status,STARTUP",
          "QTest Group,Locked.lnk", "QTest Group,Missing", "QTest Group,Folder", "..\\QTest Outside,Setup",
          "QTest Kept", "QTest Kept,Kept", "QTest Quoted", "\"QTest Quoted\",\"Item\""})
        list.Append(entry);
}
}  // namespace

TEST_CASE("shortcuts: files in both Programs folders and the start-up folders, groups only when emptied") {
    if (!COSInfo().IsNT()) return;
    Folders at;
    StepFixture f;
    SetUpEntries(f.Removal().Shortcuts);
    // Held open without sharing: the deletion fails as for a shortcut in use.
    HANDLE locked =
        CreateFileA((at.group + "Locked.lnk").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    REQUIRE(locked != INVALID_HANDLE_VALUE);

    const std::vector<std::string> expected = {
        "removed shortcut " + at.keptGroup + "Kept.LNK",
        "removed shortcut " + at.group + "Version 1.2.LNK",
        "removed shortcut " + at.group + "Status.LNK",
        "removed shortcut " + at.startup + "Status.LNK",
        "removed shortcut " + at.commonStartup + "Status.LNK",
        // Within a folder: the name as written, then .LNK, then .PIF.
        "removed shortcut " + at.group + "Setup",
        "removed shortcut " + at.group + "Setup.LNK",
        "removed shortcut " + at.group + "Setup.PIF",
        "removed shortcut " + at.commonGroup + "Setup.LNK",
        "not present shortcut QTest Group\\Missing",
        "deferred shortcut " + at.group + "Locked.lnk | MoveFileEx | error 32",
        "kept shortcut " + at.group + "Folder.LNK | a folder, not a shortcut",
        "kept shortcut ..\\QTest Outside,Setup | the group is not a folder under Programs",
        // A quoted entry sorts before its bare group name; its folder still goes once it is empty.
        "removed shortcut " + at.quotedGroup + "Item.LNK",
        // Only the running system's Programs folder; on the NT family the common one.
        "removed group " + at.common + "QTest Quoted",
        "kept group " + at.common + "QTest Kept | holds other items",
        "removed group " + at.common + "QTest Group",
    };
    SUBCASE("removal") {
        RemoveShortcutsStep(f.ctx);
        CHECK(f.log.lines == expected);
        CHECK(FileExists(at.startup + "Setup.lnk"));  // only start-up entries look there
        CHECK(FileExists(at.scratch + "Status.lnk"));
        CHECK(FileExists(at.keptGroup + "Readme.txt"));
        CHECK(FileExists(at.group + "Locked.lnk"));
        CHECK(FileExists(at.outside + "Setup.lnk"));
        CHECK(GetFileAttributesA(at.folderNamedLikeShortcut.c_str()) == FILE_ATTRIBUTE_DIRECTORY);
    }
    SUBCASE("dry run: what would go, and a group only when nothing else stays in it") {
        f.ctx.dryRun = true;
        RemoveShortcutsStep(f.ctx);
        for (const std::string& file : at.Files()) CHECK(FileExists(file));
        CHECK(f.log.lines == DryRunOf(expected));
    }
    CloseHandle(locked);
}
