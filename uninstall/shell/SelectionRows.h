#pragma once
// What the printer selection page shows for each census record, and how a row's selection is
// written back into the records. Pure, so the rules can be checked without a window.
#include <vector>

#include "script/InstalledPrinter.h"

// Row image flags; the image lists hold all eight combinations in this bit order.
enum { kRowImageDefault = 1, kRowImageNetwork = 2, kRowImageVizored = 4 };

// A printer gets a row when it is the maker's, still installed and not filtered out by the switches.
inline bool IsListedPrinter(const InstalledPrinter& printer) {
    return !printer.isForeign && !printer.deleted && printer.offered;
}

// Index into both image lists: default, plus network (has a location), plus Vizored.
int PrinterRowImage(const InstalledPrinter& printer);

// Position of the first record whose name equals name ignoring case, or -1.
int FindPrinterByName(const std::vector<InstalledPrinter>& printers, const char* name);

// The record a row stands for: the row's item data (its census position) when that record still
// carries the row's name, else the first record of that name ignoring case; -1 when none has it.
int FindRowRecord(const std::vector<InstalledPrinter>& printers, long long itemData, const char* rowName);

// Writes one row's selection into its record: a selected row is to be removed (excluded 0), an
// unselected one kept (excluded 1). Returns the record's position, or -1 when no record has the
// row's name (nothing changes then).
int MarkRowSelection(std::vector<InstalledPrinter>& printers, long long itemData, const char* rowName,
                     bool selected);
