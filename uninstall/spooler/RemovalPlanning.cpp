#include "RemovalPlanning.h"

#include "script/TextList.h"
#include "script/UninstallDatabase.h"

bool PrinterNamedLeaves(const std::vector<InstalledPrinter>& printers, const char* name) {
    for (const InstalledPrinter& p : printers) {
        if (PrinterLeaves(p) && p.name.EqualsNoCase(name)) return true;
    }
    return false;
}

const InstalledPrinter* RemainingPrinterWithDriver(const std::vector<InstalledPrinter>& printers,
                                                   const char* driver, bool planning) {
    for (const InstalledPrinter& p : printers) {
        if (PrinterRemains(p, planning) && p.driver.EqualsNoCase(driver)) return &p;
    }
    return nullptr;
}

void DriverNamesToRemove(const UninstallDatabase& database, TextList& names) {
    names = database.Removal().Drivers;
    const std::vector<InstalledPrinter>& printers = database.Printers();
    for (const InstalledPrinter& p : printers) {
        if (p.excluded || p.isForeign) continue;
        bool usedByExcluded = false;
        for (const InstalledPrinter& other : printers) {
            if (other.excluded && other.driver.EqualsNoCase(p.driver.Text())) {
                usedByExcluded = true;
                break;
            }
        }
        if (!usedByExcluded) names.Append(p.driver);
    }
    names.Sort();
    names.Unique();
}
