#pragma once
// Everything the tool knows about what may be removed: the profiles of all loaded uninstall scripts,
// the installed-printer list of the census, and three computed profiles. The candidate profile is what
// the scripts would remove, the keep profile what printers that stay (and the scripts' catch-all and
// ignored profiles) still need, and the removal profile the candidate minus the keep profile.
#include <cstddef>
#include <vector>

#include "InstalledPrinter.h"
#include "UninstallProfile.h"

class CCmdSwitches;
class ScriptReader;

// What became of one script for the loading log: why it contributes nothing (null when it was read),
// and how many of its lines the reader left out.
struct ScriptLoadNote {
    const char* failure = nullptr;
    int linesLeftOut = 0;
    // The Windows error of a script that is there and could not be read; 0 for an empty one.
    unsigned long error = 0;
};

// Registry roots a RegistryKeys entry can name ("HKLM", "HKCR", "HKCU", "HKU").
enum RegistryRoot { kRootLocalMachine, kRootClassesRoot, kRootCurrentUser, kRootUsers };

class UninstallDatabase {
public:
    // osFamily as COSInfo gives it: 1 Win32s, 2 Windows 9x/Me, 3 NT, 0 other.
    explicit UninstallDatabase(int osFamily);

    // Appends the full path of every file (not directory) in directory whose name matches fileName.
    // Leaves the current directory at the program's directory (Win32 only). Returns 0, or the
    // Windows error of a search that failed for another reason than finding no such file.
    static unsigned long FindScripts(TextList& list, const char* directory, const char* fileName);
    // Reads one script file and appends its profiles; false when the file cannot be read or has no
    // starter sections (Win32 only). note, when given, says which, or how many lines were left out.
    bool LoadScript(const char* path, ScriptLoadNote* note = nullptr);
    // The same for a script already read, or a file image in memory; path becomes each profile's
    // scriptPath.
    bool LoadScriptFromReader(const ScriptReader& reader, const char* path);
    bool LoadScriptText(const char* data, size_t size, const char* path);

    // Merges every profile that is not an ignored one into candidate, then applies the Vizora rule:
    // without the UNVIZ switch the "Vizora" profile is taken out of the candidates, with it the
    // candidates are that profile alone. True when at least one profile was merged.
    bool BuildCandidates(UninstallProfile& candidate, bool unviz);
    bool BuildCandidates(bool unviz) { return BuildCandidates(candidate_, unviz); }
    bool BuildCandidates(const CCmdSwitches& switches);

    // Copy of the first profile named name (ignoring case); false and an empty profile otherwise.
    bool FindProfileByName(UninstallProfile& out, const char* name) const;
    // Copy of the last manufacturer profile, in list order, whose first word equals the first word of
    // text (ignoring case); false and an empty profile otherwise.
    bool FindManufacturerProfile(UninstallProfile& out, const char* text) const;

    // Recomputes the counts, the keep and removal profiles and the Vizora-kept flag from the printer
    // list's flags and the candidate profile; may run any number of times. Releases Vizored printers
    // whose target printer is removed (clears their excluded flag).
    bool ComputeRemovalSet();
    // Printers that are not foreign, not deleted and offered.
    int CountSelectablePrinters() const;

    // Appends root,"subKey","valueName",1|0 to target's RegistryKeys list, unsorted. False without
    // change for an unknown root, an empty sub key, a sub key or value name holding a double quote,
    // or an entry that would not fit in one text (either could name another key or value).
    static bool AddRegistryEntry(UninstallProfile& target, int root, const char* subKey, const char* valueName,
                                 int tree);

    // Sorts and de-duplicates the profile list (by name) and every list of the keep and removal profiles.
    void Normalize();
    // Union of each of source's lists into target's list of the same kind; every list of target ends
    // sorted and unique. Name, flags, prefix and path of target stay.
    static void MergeProfile(UninstallProfile& target, const UninstallProfile& source);
    // Removes from each list of target every entry equal (ignoring case) to one of source's same list.
    static void SubtractProfile(UninstallProfile& target, const UninstallProfile& source);

    int IsWin9x() const { return win9x_; }
    int RebootNeeded() const { return rebootNeeded_; }
    void SetRebootNeeded(int needed) { rebootNeeded_ = needed; }
    int RemovedPrinterCount() const { return removedCount_; }
    int RemainingPrinterCount() const { return remainingCount_; }
    int VizoraKept() const { return vizoraKept_; }
    int OSFamily() const { return osFamily_; }

    UninstallProfile& Candidate() { return candidate_; }
    const UninstallProfile& Candidate() const { return candidate_; }
    UninstallProfile& Keep() { return keep_; }
    const UninstallProfile& Keep() const { return keep_; }
    UninstallProfile& Removal() { return removal_; }
    const UninstallProfile& Removal() const { return removal_; }
    std::vector<InstalledPrinter>& Printers() { return printers_; }
    const std::vector<InstalledPrinter>& Printers() const { return printers_; }
    std::vector<UninstallProfile>& Profiles() { return profiles_; }
    const std::vector<UninstallProfile>& Profiles() const { return profiles_; }

    // Name of the Vizora program file on this platform ("VIZORA.EXE" on Win32s, else "VIZORA32.EXE").
    const char* VizoraProgramName() const;

private:
    void SortProfiles(size_t sortedCount);
    void ReleaseLinkedPrinters();
    void AddGlobalCleanUp(UninstallProfile& basis) const;

    int win9x_;
    int rebootNeeded_ = 0;
    int removedCount_ = 0;
    int remainingCount_ = 0;
    UninstallProfile candidate_;
    UninstallProfile keep_;
    UninstallProfile removal_;
    std::vector<InstalledPrinter> printers_;
    int vizoraKept_ = 1;
    std::vector<UninstallProfile> profiles_;
    int osFamily_;
};
