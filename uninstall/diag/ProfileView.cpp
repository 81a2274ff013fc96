#include "ProfileView.h"

#include "script/BoundedText.h"
#include "script/Locations.h"
#include "script/Tokens.h"
#include "script/UninstallDatabase.h"

namespace {
const ViewSectionLayout kSections[] = {
    {kViewDeleteIni, kDeleteIni, 3, {"file", "section", "entry"}, false},
    {kViewDeleteLoadRun, kDeleteLoadRun, 2, {"Display", "File Name"}, false},
    {kViewDrivers, kDrivers, 1, {"driver"}, true},
    {kViewFiles, kFiles, 1, {"file"}, true},
    {kViewHooks, kHooks, 2, {"file", "export"}, true},
    {kViewMonitors, kMonitors, 1, {"Monitor Name"}, true},
    {kViewRegistry, kRegistryKeys, 4, {"Base Key", "Sub Key", "Value Name", "Deltree"}, true},
    {kViewPrintProcessors, kPrintProcessors, 1, {"Print Processor Name"}, true},
    {kViewServices, kServices, 1, {"NT Service Name"}, true},
    {kViewShortcuts, kShortcuts, 3, {"Program Group", "Shortcut Description", "Special Location"}, true},
    {kViewUnSelfRegister, kUnSelfRegister, 2, {"FileName", "Function Export"}, true},
    {kViewDirectories, -1, 2, {"Dir Variable", "Dir Location"}, true},
};

const char kTitlePrinter[] = "Extra Info - Printer: %s";
const char kTitleManufacturer[] = "Extra Info - Mfg: %s";
const char kTitleUnknown[] = "Extra Info - EMPTY AND UNKNOWN SETTINGS!!!";
const char kTitleMultiple[] = "Extra Info - Multiple Printers";
}  // namespace

const int kViewDirectoryLocations[] = {kLocWindowsDir,       kLocSystemDir,       kLocColorDir,
                                       kLocPrintProcDir,     kLocPrintProcDirW40, kLocPrintDriverDir,
                                       kLocPrintDriverDirW40};
const int kViewDirectoryCount = sizeof(kViewDirectoryLocations) / sizeof(kViewDirectoryLocations[0]);

const ViewSectionLayout* FindViewSection(int section) {
    for (const ViewSectionLayout& layout : kSections)
        if (layout.section == section) return &layout;
    return nullptr;
}

void SplitViewRow(const ViewSectionLayout& layout, const char* entry, TextItem cells[kViewMaxColumns]) {
    for (int i = 0; i < kViewMaxColumns; ++i) cells[i].Clear();
    TextItem text(entry);
    char* field = text.Buffer();
    for (int column = 0; column < layout.columnCount && field; ++column) {
        const bool last = column == layout.columnCount - 1;
        char* rest = (!last || !layout.lastTakesRest) ? NextToken(field, ',') : nullptr;
        cells[column].Assign(field);
        field = rest;
    }
}

int FindViewedPrinter(const std::vector<InstalledPrinter>& printers) {
    int found = -1;
    for (size_t i = 0; i < printers.size(); ++i) {
        const InstalledPrinter& p = printers[i];
        // Another maker's printer or one already removed keeps excluded 0 without being selected.
        if (!p.isForeign && !p.deleted && !p.excluded) found = static_cast<int>(i);
    }
    return found;
}

const UninstallProfile& ChooseViewedProfile(const UninstallDatabase& db, bool singleProfile,
                                            UninstallProfile& found, char* title, size_t capacity) {
    if (!singleProfile) {
        CopyText(title, capacity, kTitleMultiple);
        return db.Removal();
    }
    const int printer = FindViewedPrinter(db.Printers());
    if (printer >= 0) {
        const char* driver = db.Printers()[static_cast<size_t>(printer)].driver.Text();
        if (db.FindProfileByName(found, driver)) {
            FormatText(title, capacity, kTitlePrinter, found.name.Text());
            return found;
        }
        if (db.FindManufacturerProfile(found, driver)) {
            FormatText(title, capacity, kTitleManufacturer, found.name.Text());
            return found;
        }
    }
    CopyText(title, capacity, kTitleUnknown);
    return db.Removal();
}
