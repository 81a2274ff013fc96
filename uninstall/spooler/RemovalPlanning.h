#pragma once
// What the spooler steps decide from the census records rather than from the spooler: which
// printers leave with this removal, which ones are still there after the printer step, and which
// drivers go with the printers that leave. A dry run has deleted nothing, so it plans from the
// records as the printer step would leave them instead of from the machine.
#include <vector>

#include "script/InstalledPrinter.h"

class TextList;
class UninstallDatabase;

// The printer step deletes this printer (it was chosen, is the maker's and is not gone yet).
inline bool PrinterLeaves(const InstalledPrinter& p) {
    return !p.excluded && !p.isForeign && !p.deleted;
}

// The printer is still installed once the printer step has run. A removal asks after that step, so
// every record not marked deleted is still there (a printer whose deletion failed included); a
// plan asks before it, and only the printers that are not to leave will still be there.
inline bool PrinterRemains(const InstalledPrinter& p, bool planning) {
    return !p.deleted && (!planning || p.excluded || p.isForeign);
}

// True when a record named name (ignoring case) leaves. A printer without a record stays: the
// printer step deletes only what the census listed.
bool PrinterNamedLeaves(const std::vector<InstalledPrinter>& printers, const char* name);
// The first record that remains and uses driver (ignoring case), or null.
const InstalledPrinter* RemainingPrinterWithDriver(const std::vector<InstalledPrinter>& printers,
                                                   const char* driver, bool planning);

// The drivers to delete, sorted and unique ignoring case: every entry of the removal profile's
// Drivers list, and the driver of every record that is neither excluded nor foreign unless an
// excluded record uses the same driver.
void DriverNamesToRemove(const UninstallDatabase& database, TextList& names);
