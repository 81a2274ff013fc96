#include <doctest/doctest.h>

#include <string>

#include "script/UninstallDatabase.h"
#include "spooler/InboxComponents.h"
#include "spooler/RemovalPlanning.h"

namespace {
InstalledPrinter Printer(const char* name, const char* driver, int excluded, int foreign = 0,
                         int deleted = 0) {
    InstalledPrinter p;
    p.name.Assign(name);
    p.driver.Assign(driver);
    p.excluded = excluded;
    p.isForeign = foreign;
    p.deleted = deleted;
    return p;
}

std::string Join(const TextList& list) {
    std::string out;
    for (const TextItem& item : list) out += std::string(item.Text()) + "|";
    return out;
}
}  // namespace

TEST_CASE("inbox components and Windows services are recognised ignoring case, and nothing else is") {
    struct Case {
        const char* name;
        bool monitor;
        bool processor;
        bool service;
    };
    const Case cases[] = {
        {"Local Port", true, false, false},
        {"standard tcp/ip port", true, false, false},
        {"MICROSOFT SHARED FAX MONITOR", true, false, false},
        {"winprint", false, true, false},
        {"spooler", false, false, true},
        {"RPCSS", false, false, true},
        {"LanmanWorkstation", false, false, true},
        {"Quellan Port", false, false, false},
        {"Local Port ", false, false, false},
        {"WinPrint2", false, false, false},
        {"Spooler2", false, false, false},
        {"", false, false, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        CHECK(IsInboxMonitor(c.name) == c.monitor);
        CHECK(IsInboxPrintProcessor(c.name) == c.processor);
        CHECK(IsWindowsService(c.name) == c.service);
    }
    CHECK_FALSE(IsInboxMonitor(nullptr));
    CHECK_FALSE(IsInboxPrintProcessor(nullptr));
    CHECK_FALSE(IsWindowsService(nullptr));
}

TEST_CASE("drivers to remove: the profile's list and the drivers only leaving printers use") {
    UninstallDatabase db(3);
    db.Removal().Drivers.Append("Quellan Fax 1");
    std::vector<InstalledPrinter>& printers = db.Printers();
    printers.push_back(Printer("Office", "Quellan Laser 5", 0));
    printers.push_back(Printer("Shared A", "Quellan Color 2", 0));
    printers.push_back(Printer("Shared B", "QUELLAN COLOR 2", 1));  // stays: keeps the shared driver
    printers.push_back(Printer("Other maker", "Foreign Jet", 0, 1));
    printers.push_back(Printer("Gone", "Quellan Old", 0, 0, 1));  // deleted already: its driver goes
    printers.push_back(Printer("Office copy", "quellan laser 5", 0));

    TextList names;
    DriverNamesToRemove(db, names);
    CHECK(Join(names) == "Quellan Fax 1|Quellan Laser 5|Quellan Old|");
}

TEST_CASE("the printer that holds a driver, and printers named to leave") {
    std::vector<InstalledPrinter> printers;
    printers.push_back(Printer("Leaving", "Quellan Laser 5", 0));
    printers.push_back(Printer("Kept", "quellan laser 5", 1));
    printers.push_back(Printer("Only leaving", "Quellan Color 2", 0));

    const InstalledPrinter* holder = RemainingPrinterWithDriver(printers, "QUELLAN LASER 5", true);
    REQUIRE(holder);
    CHECK(std::string(holder->name.Text()) == "Kept");
    // After the printer step a printer whose deletion failed still holds its driver.
    holder = RemainingPrinterWithDriver(printers, "Quellan Color 2", false);
    REQUIRE(holder);
    CHECK(std::string(holder->name.Text()) == "Only leaving");
    CHECK_FALSE(RemainingPrinterWithDriver(printers, "Quellan Color 2", true));

    CHECK(PrinterNamedLeaves(printers, "leaving"));
    CHECK_FALSE(PrinterNamedLeaves(printers, "Kept"));
    // A printer the census never listed is not deleted by the printer step.
    CHECK_FALSE(PrinterNamedLeaves(printers, "Unlisted"));
}
