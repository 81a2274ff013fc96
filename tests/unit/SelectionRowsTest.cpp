#include <doctest/doctest.h>

#include <vector>

#include "shell/SelectionRows.h"

namespace {
InstalledPrinter Printer(const char* name, const char* location = "", const char* vizored = "",
                         int isDefault = 0) {
    InstalledPrinter p;
    p.name = name;
    p.location = location;
    p.vizoredName = vizored;
    p.isDefault = isDefault;
    p.isSpoolara = 1;
    return p;
}
}  // namespace

TEST_CASE("row image adds default, network and Vizored bits") {
    CHECK(PrinterRowImage(Printer("Plain")) == 0);
    CHECK(PrinterRowImage(Printer("Default", "", "", 1)) == 1);
    CHECK(PrinterRowImage(Printer("Network", "\\\\SERVER")) == 2);
    CHECK(PrinterRowImage(Printer("Vizored", "", "Laser 5")) == 4);
    CHECK(PrinterRowImage(Printer("All", "\\\\SERVER", "Laser 5", 1)) == 7);
}

TEST_CASE("only offered printers of the maker that are still installed get a row") {
    InstalledPrinter p = Printer("Laser");
    CHECK(IsListedPrinter(p));
    p.isForeign = 1;
    CHECK_FALSE(IsListedPrinter(p));
    p = Printer("Laser");
    p.deleted = 1;
    CHECK_FALSE(IsListedPrinter(p));
    p = Printer("Laser");
    p.offered = 0;
    CHECK_FALSE(IsListedPrinter(p));
}

TEST_CASE("a row's selection lands on its own record") {
    std::vector<InstalledPrinter> printers = {Printer("Other"), Printer("Laser"), Printer("LASER"),
                                              Printer("Ink")};
    for (auto& p : printers) p.excluded = 0;

    SUBCASE("selected clears excluded, unselected sets it") {
        CHECK(MarkRowSelection(printers, 3, "Ink", false) == 3);
        CHECK(printers[3].excluded == 1);
        CHECK(MarkRowSelection(printers, 3, "Ink", true) == 3);
        CHECK(printers[3].excluded == 0);
    }
    SUBCASE("names that differ only in case keep their own choice") {
        CHECK(MarkRowSelection(printers, 1, "Laser", true) == 1);
        CHECK(MarkRowSelection(printers, 2, "LASER", false) == 2);
        CHECK(printers[1].excluded == 0);
        CHECK(printers[2].excluded == 1);
    }
    SUBCASE("item data that no longer fits the name falls back to the first record of that name") {
        CHECK(MarkRowSelection(printers, 0, "laser", false) == 1);
        CHECK(printers[1].excluded == 1);
        CHECK(printers[0].excluded == 0);
        CHECK(MarkRowSelection(printers, 99, "ink", false) == 3);
        CHECK(MarkRowSelection(printers, -1, "ink", false) == 3);
    }
    SUBCASE("a name no record has changes nothing") {
        CHECK(MarkRowSelection(printers, 1, "Gone", false) == -1);
        for (const auto& p : printers) CHECK(p.excluded == 0);
    }
}
