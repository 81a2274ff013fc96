#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "diag/ProfileView.h"
#include "script/UninstallDatabase.h"

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

const char* const kScript =
    "[UnPrinterMfgs]\n"
    "Quellan,MFG,1\n"
    "[UnPrinterDrivers]\n"
    "Quellan Laser Driver,QLSR,1\n"
    "[MFG.Files]\nqlmfg.dll\n"
    "[QLSR.Files]\nqlsr.dll\n";
}  // namespace

TEST_CASE("an entry splits at its commas into the section's columns, quotes shown") {
    const struct {
        int section;
        const char* entry;
        const char* cells;
    } rows[] = {
        // Sections with fixed fields drop what follows the last one.
        {kViewDeleteIni, "win.ini,Ports,LPT9:,spare", "win.ini|Ports|LPT9:"},
        {kViewDeleteIni, "qln.ini,Printers", "qln.ini|Printers|"},
        {kViewDeleteLoadRun, "\"Status\",\"QLNSTAT.EXE\",x", "\"Status\"|\"QLNSTAT.EXE\""},
        // The last column of the others takes the rest, commas and all.
        {kViewHooks, "QLNHOOK.DLL,Uninstall,1", "QLNHOOK.DLL|Uninstall,1"},
        {kViewUnSelfRegister, "QLNSHELL.DLL", "QLNSHELL.DLL|"},
        {kViewShortcuts, "Group,Setup", "Group|Setup|"},
        {kViewShortcuts, "Group,Status,STARTUP,x", "Group|Status|STARTUP,x"},
        {kViewRegistry, "HKLM,\"SOFTWARE\\Q\",\"\",1", "HKLM|\"SOFTWARE\\Q\"|\"\"|1"},
        {kViewRegistry, "HKCU,\"SOFTWARE\\Q\",\"Tray\"", "HKCU|\"SOFTWARE\\Q\"|\"Tray\"|"},
        {kViewRegistry, "HKLM,,,", "HKLM|||"},
        // Quoted commas are split like any other: the viewer shows entries as stored.
        {kViewRegistry, "HKLM,\"A,B\",\"\",0", "HKLM|\"A|B\"|\"\",0"},
        {kViewFiles, "QLN,ODD.DLL", "QLN,ODD.DLL"},
        {kViewDrivers, "", ""},
    };
    for (const auto& row : rows) {
        CAPTURE(row.entry);
        CHECK(Cells(row.section, row.entry) == row.cells);
    }
}

TEST_CASE("only the twelve sections have a layout") {
    CHECK(FindViewSection(0) == nullptr);
    CHECK(FindViewSection(13) == nullptr);
    for (int section = kViewDeleteIni; section <= kViewDirectories; ++section) {
        const ViewSectionLayout* layout = FindViewSection(section);
        REQUIRE(layout);
        CHECK(layout->columnCount >= 1);
        CHECK(layout->columnCount <= kViewMaxColumns);
    }
    CHECK(FindViewSection(kViewDirectories)->list < 0);
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

TEST_CASE("the viewer shows the printer's own profile, its maker's, or the removal set") {
    const struct {
        const char* driver;
        bool single;
        const char* title;
        bool removalSet;
        const char* firstFile;
    } rows[] = {
        {"Quellan Laser Driver", false, "Extra Info - Multiple Printers", true, nullptr},
        {"QUELLAN LASER DRIVER", true, "Extra Info - Printer: Quellan Laser Driver", false, "qlsr.dll"},
        {"Quellan Photo Driver", true, "Extra Info - Mfg: Quellan", false, "qlmfg.dll"},
        // The maker's name must be followed by a blank to be its first word.
        {"QuellanPhoto", true, "Extra Info - EMPTY AND UNKNOWN SETTINGS!!!", true, nullptr},
        {"Partner Jet Driver", true, "Extra Info - EMPTY AND UNKNOWN SETTINGS!!!", true, nullptr},
    };
    for (const auto& row : rows) {
        CAPTURE(row.driver);
        UninstallDatabase db(3);
        const std::string script = kScript;
        REQUIRE(db.LoadScriptText(script.data(), script.size(), "C:\\Qunz__01.unm"));
        REQUIRE(db.BuildCandidates(false));
        db.Printers().push_back(Printer("Selected", row.driver, 0));
        db.Printers().push_back(Printer("Kept", "Quellan Laser Driver", 1));
        db.ComputeRemovalSet();

        UninstallProfile found;
        char title[kViewTitleCapacity];
        const UninstallProfile& shown = ChooseViewedProfile(db, row.single, found, title, sizeof title);
        CHECK(std::string(title) == row.title);
        CHECK((&shown == &db.Removal()) == row.removalSet);
        if (row.firstFile) {
            REQUIRE(shown.Files.Count() == 1);
            CHECK(std::string(shown.Files.At(0).Text()) == row.firstFile);
        }
    }
}

TEST_CASE("a single-profile view without a selected printer shows the removal set") {
    UninstallDatabase db(3);
    db.Printers().push_back(Printer("Kept", "Quellan Laser Driver", 1));
    UninstallProfile found;
    char title[kViewTitleCapacity];
    CHECK(&ChooseViewedProfile(db, true, found, title, sizeof title) == &db.Removal());
    CHECK(std::string(title) == "Extra Info - EMPTY AND UNKNOWN SETTINGS!!!");
}
