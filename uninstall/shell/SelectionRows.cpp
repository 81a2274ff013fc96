#include "SelectionRows.h"

int PrinterRowImage(const InstalledPrinter& printer) {
    int image = 0;
    if (printer.isDefault) image |= kRowImageDefault;
    if (!printer.location.IsEmpty()) image |= kRowImageNetwork;
    if (!printer.vizoredName.IsEmpty()) image |= kRowImageVizored;
    return image;
}

int FindPrinterByName(const std::vector<InstalledPrinter>& printers, const char* name) {
    for (size_t i = 0; i < printers.size(); ++i)
        if (printers[i].name.EqualsNoCase(name)) return static_cast<int>(i);
    return -1;
}

int FindRowRecord(const std::vector<InstalledPrinter>& printers, long long itemData, const char* rowName) {
    // By name alone, two printers whose names differ only in letter case would both resolve to the
    // first record, and the second one's choice would be lost; the item data tells them apart.
    if (itemData >= 0 && itemData < static_cast<long long>(printers.size()) &&
        printers[static_cast<size_t>(itemData)].name.EqualsNoCase(rowName))
        return static_cast<int>(itemData);
    return FindPrinterByName(printers, rowName);
}

int MarkRowSelection(std::vector<InstalledPrinter>& printers, long long itemData, const char* rowName,
                     bool selected) {
    int index = FindRowRecord(printers, itemData, rowName);
    if (index >= 0) printers[static_cast<size_t>(index)].excluded = selected ? 0 : 1;
    return index;
}
