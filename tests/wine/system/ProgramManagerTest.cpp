// Program Manager commands over DDE, against a stand-in server.
#include <doctest/doctest.h>

#include "FakeProgman.h"
#include "SystemTestSupport.h"
#include "system/ProgramManager.h"
#include "system/Shortcuts.h"

namespace {
// A command as the server receives it: the text with its terminating zero.
std::string Sent(const char* text) {
    return std::string(text) + '\0';
}
}  // namespace

TEST_CASE("Program Manager: nobody serves DDE here without the stand-in") {
    CHECK(SendProgmanCommand("[ShowGroup(Quellan Printers,1)]") == 0);
    CHECK(DeleteProgmanItem("Quellan Printers", "Quellan Setup") == 0);
}

TEST_CASE("Program Manager: a shortcut is one ShowGroup and one DeleteItem") {
    FakeProgman progman;
    CHECK(DeleteProgmanItem("Quellan Printers", "Quellan Setup") == 1);
    CHECK(progman.commands == std::vector<std::string>{Sent("[ShowGroup(Quellan Printers,1)]"),
                                                       Sent("[DeleteItem(Quellan Setup)]")});

    SUBCASE("a rejected ShowGroup sends no DeleteItem") {
        progman.commands.clear();
        progman.rejectPrefix = "[ShowGroup";
        CHECK(DeleteProgmanItem("Quellan Printers", "Quellan Setup") == 0);
        CHECK(progman.commands == std::vector<std::string>{Sent("[ShowGroup(Quellan Printers,1)]")});
    }
    SUBCASE("a rejected DeleteItem fails the item") {
        progman.commands.clear();
        progman.rejectPrefix = "[DeleteItem";
        CHECK(DeleteProgmanItem("Quellan Printers", "Quellan Setup") == 0);
        CHECK(progman.commands.size() == 2);
    }
}

TEST_CASE("Program Manager: names that do not fit the 64-character command are refused unsent") {
    FakeProgman progman;
    const std::string group48(48, 'g');
    const std::string item49(49, 'i');
    CHECK(DeleteProgmanItem(group48.c_str(), item49.c_str()) == 1);
    CHECK(progman.commands == std::vector<std::string>{Sent(("[ShowGroup(" + group48 + ",1)]").c_str()),
                                                       Sent(("[DeleteItem(" + item49 + ")]").c_str())});
    progman.commands.clear();
    CHECK(DeleteProgmanItem((group48 + "g").c_str(), "Quellan Setup") == 0);
    CHECK(DeleteProgmanItem("Quellan Printers", (item49 + "i").c_str()) == 0);
    CHECK(DeleteProgmanItem("Quellan Printers", "Setup)][DeleteGroup(Accessories") == 0);
    CHECK(progman.commands.empty());
}

TEST_CASE("Win32s shortcuts: Program Manager items, nothing sent in a dry run") {
    if (!COSInfo().IsWin32s()) return;
    FakeProgman progman;
    StepFixture f;
    f.Removal().Shortcuts.Append("Quellan Printers,Quellan Setup");
    f.Removal().Shortcuts.Append(("Quellan Printers," + std::string(50, 'i')).c_str());
    f.Removal().Shortcuts.Append("Quellan Printers");

    SUBCASE("removal") {
        RemoveShortcutsStep(f.ctx);
        CHECK(progman.commands == std::vector<std::string>{Sent("[ShowGroup(Quellan Printers,1)]"),
                                                           Sent("[DeleteItem(Quellan Setup)]")});
        CHECK(f.log.lines ==
              std::vector<std::string>{"removed shortcut Quellan Printers\\Quellan Setup | Program Manager",
                                       "kept shortcut Quellan Printers\\" + std::string(50, 'i') +
                                           " | name does not fit a Program Manager command",
                                       "kept group Quellan Printers | no Programs folder"});
    }
    SUBCASE("a rejected command is a failure") {
        progman.rejectPrefix = "[DeleteItem";
        RemoveShortcutsStep(f.ctx);
        CHECK(
            f.log.lines.at(0) ==
            "failed shortcut Quellan Printers\\Quellan Setup | Program Manager did not accept the commands");
    }
    SUBCASE("dry run") {
        f.ctx.dryRun = true;
        RemoveShortcutsStep(f.ctx);
        CHECK(progman.commands.empty());
        CHECK(f.log.lines.at(0) ==
              "present shortcut Quellan Printers\\Quellan Setup | Program Manager item, not checked");
    }
}
