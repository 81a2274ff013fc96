#pragma once
// What the profile viewer lists: its sections with their columns, how one entry splits into a
// section's columns, and which profile it shows under which title. Pure, so every layout and choice
// can be checked without a window.
#include <cstddef>
#include <vector>

#include "script/InstalledPrinter.h"
#include "script/TextItem.h"

class UninstallDatabase;
struct UninstallProfile;

// The sections, numbered as the viewer's section buttons carry them.
enum ViewSection {
    kViewDeleteIni = 1,
    kViewDeleteLoadRun,
    kViewDrivers,
    kViewFiles,
    kViewHooks,
    kViewMonitors,
    kViewRegistry,
    kViewPrintProcessors,
    kViewServices,
    kViewShortcuts,
    kViewUnSelfRegister,
    kViewDirectories,
};

const int kViewMaxColumns = 4;
// Room for the longest title: a prefix and a 259-character profile name.
const size_t kViewTitleCapacity = 300;

struct ViewSectionLayout {
    int section;
    int list;  // the ProfileListKind shown; -1 for the directories, which come from no profile
    int columnCount;
    const char* columns[kViewMaxColumns];
    // The last column holds the rest of the entry, commas included; otherwise it ends at the next
    // comma and what follows is not shown.
    bool lastTakesRest;
};

// The layout of a section, or null for a number outside 1 to 12.
const ViewSectionLayout* FindViewSection(int section);

// Splits entry at its commas exactly as stored (quotes stay) into the layout's columns; fields the
// entry lacks are empty.
void SplitViewRow(const ViewSectionLayout& layout, const char* entry, TextItem cells[kViewMaxColumns]);

// The locations the Directories section lists, in its order; each shows under LocationLabel().
extern const int kViewDirectoryLocations[];
extern const int kViewDirectoryCount;

// The printer a single-profile view belongs to: the last record that is to be removed (excluded 0)
// among the maker's printers still installed; -1 when there is none.
int FindViewedPrinter(const std::vector<InstalledPrinter>& printers);

// Picks the profile the viewer shows, once the removal set is computed, and writes the window title.
// With singleProfile: the profile named like the viewed printer's driver ("Printer: name"), else the
// manufacturer profile of the driver's first word ("Mfg: name"), copied into found; else the removal
// profile ("EMPTY AND UNKNOWN SETTINGS!!!"). Without: the removal profile ("Multiple Printers").
const UninstallProfile& ChooseViewedProfile(const UninstallDatabase& db, bool singleProfile,
                                            UninstallProfile& found, char* title, size_t capacity);
