#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "diag/ProfileView.h"

namespace {
std::string Cells(int section, const char* entry) {
    const ViewSectionLayout* layout = FindViewSection(section);
    REQUIRE(layout);
    TextItem cells[kViewMaxColumns];
    SplitViewRow(*layout, entry, cells);
    std::string out;
    for (int i = 0; i < layout->columnCount; ++i) out += std::string(i ? "|" : "") + cells[i].Text();
    return out;
}

InstalledPrinter Printer(const char* name, const char* driver, int excluded) {
    InstalledPrinter p;
    p.name.Assign(name);
    p.driver.Assign(driver);
    p.isSpoolara = 1;
    p.excluded = excluded;
    return p;
}
}  // namespace

TEST_CASE("an entry splits at its commas into the section's columns, quotes shown") {
    const struct {
        int section;
        const char* entry;
        const char* cells;
    } rows[] = {
        // Sections with fixed fields drop what follows the last one.
        {kViewDeleteIni, "win.ini,Ports,LPT9:,spare", "win.ini|Ports|LPT9:"},
        {kViewDeleteLoadRun, "\"Status\",\"QLNSTAT.EXE\",x", "\"Status\"|\"QLNSTAT.EXE\""},
        // The last column of the others takes the rest, commas and all.
        {kViewHooks, "QLNHOOK.DLL,Uninstall,1", "QLNHOOK.DLL|Uninstall,1"},
        {kViewShortcuts, "Group,Status,STARTUP,x", "Group|Status|STARTUP,x"},
        {kViewRegistry, "HKCU,\"SOFTWARE\\Q\",\"Tray\"", "HKCU|\"SOFTWARE\\Q\"|\"Tray\"|"},
        {kViewRegistry, "HKLM,,,", "HKLM|||"},
        // Quoted commas are split like any other: the viewer shows entries as stored.
        {kViewRegistry, "HKLM,\"A,B\",\"\",0", "HKLM|\"A|B\"|\"\",0"},
        {kViewFiles, "QLN,ODD.DLL", "QLN,ODD.DLL"},
    };
    for (const auto& row : rows) {
        CAPTURE(row.entry);
        CHECK(Cells(row.section, row.entry) == row.cells);
    }
}

TEST_CASE("the single-profile view belongs to the last selected printer of the maker") {
    InstalledPrinter foreign = Printer("Zeta Office", "Zeta Driver", 0);
    foreign.isForeign = 1;
    InstalledPrinter gone = Printer("Quellan Gone", "Quellan Gone Driver", 0);
    gone.deleted = 1;
    const struct {
        const char* name;
        std::vector<InstalledPrinter> printers;
        int viewed;
    } rows[] = {
        {"nothing selected", {Printer("A", "a", 1)}, -1},
        {"one selected", {Printer("A", "a", 1), Printer("B", "b", 0)}, 1},
        {"several: the last", {Printer("A", "a", 0), Printer("B", "b", 0), Printer("C", "c", 1)}, 1},
        // Another maker's printer and a removed one keep excluded 0 without being selected.
        {"foreign after the selected", {Printer("A", "a", 0), foreign}, 0},
        {"removed after the selected", {Printer("A", "a", 0), gone}, 0},
        {"empty census", {}, -1},
    };
    for (const auto& row : rows) {
        CAPTURE(row.name);
        CHECK(FindViewedPrinter(row.printers) == row.viewed);
    }
}
