#include "UninstallDatabase.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "BoundedText.h"
#include "ScriptReader.h"
#include "shell/CmdSwitches.h"

namespace {
const int kStarterCapacity = 260;
const char* const kVizoraProfile = "Vizora";
const char* const kMakerKeys[] = {"SOFTWARE\\TOVARI QUELLAN\\OEM01", "SOFTWARE\\TOVARI QUELLAN\\QSR32_01",
                                  "SOFTWARE\\TOVARI QUELLAN\\Filters"};
const char* const kMakerKey = "SOFTWARE\\TOVARI QUELLAN";

const char* ProfileName(const UninstallProfile& profile) { return profile.name.Text(); }

bool ProfileLess(const UninstallProfile& a, const UninstallProfile& b) {
    return CompareNoCase(a.name.Text(), b.name.Text()) < 0;
}

bool ItemLess(const TextItem* a, const TextItem* b) { return CompareNoCase(a->Text(), b->Text()) < 0; }
bool ItemEqual(const TextItem* a, const TextItem* b) { return CompareNoCase(a->Text(), b->Text()) == 0; }

size_t FirstWordLength(const char* text) {
    const char* space = strchr(text, ' ');
    return space ? static_cast<size_t>(space - text) : strlen(text);
}

bool SameFirstWord(const char* a, const char* b) {
    size_t length = FirstWordLength(a);
    return length == FirstWordLength(b) && CompareNoCaseN(a, b, length) == 0;
}

// File name with extension of a path, after its last "\", "/" or drive colon.
const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return name;
}

bool HasScriptExtension(const char* path) {
    const char* dot = strrchr(FileNamePart(path), '.');
    return dot && EqualsNoCase(dot, ".unm");
}

using Run = std::vector<const TextItem*>;

// Merges two sorted runs without duplicates into one; of equal items the left run's is kept.
Run MergeUnique(const Run& left, const Run& right) {
    Run out;
    out.reserve(left.size() + right.size());
    size_t i = 0, j = 0;
    while (i < left.size() && j < right.size()) {
        int c = CompareNoCase(left[i]->Text(), right[j]->Text());
        if (c <= 0) {
            out.push_back(left[i++]);
            if (c == 0) ++j;
        } else {
            out.push_back(right[j++]);
        }
    }
    out.insert(out.end(), left.begin() + static_cast<long>(i), left.end());
    out.insert(out.end(), right.begin() + static_cast<long>(j), right.end());
    return out;
}

// A list as a sorted run without duplicates, keeping the first of equal items. Script lists are
// sorted already; any other list is sorted stably first.
Run SortedRun(const TextList& list) {
    Run run;
    run.reserve(static_cast<size_t>(list.Count()));
    for (const TextItem& item : list) run.push_back(&item);
    if (!std::is_sorted(run.begin(), run.end(), ItemLess)) std::stable_sort(run.begin(), run.end(), ItemLess);
    run.erase(std::unique(run.begin(), run.end(), ItemEqual), run.end());
    return run;
}

// Union of several profiles into target, with the result that merging them one after the other with
// MergeProfile would give (target's lists sorted beforehand): every list ends sorted and unique, and
// of entries equal ignoring case the one met first (target, then the sources in order) survives.
// Instead of re-sorting the growing target after every source, neighbouring runs are merged pairwise,
// the left one winning ties, until one run is left.
void UnionInto(UninstallProfile& target, const std::vector<const UninstallProfile*>& sources) {
    for (int kind = 0; kind < kProfileListCount; ++kind) {
        std::vector<Run> runs;
        runs.reserve(sources.size() + 1);
        runs.push_back(SortedRun(target.List(kind)));
        for (const UninstallProfile* source : sources)
            if (!source->List(kind).IsEmpty()) runs.push_back(SortedRun(source->List(kind)));
        while (runs.size() > 1) {
            std::vector<Run> next;
            next.reserve(runs.size() / 2 + 1);
            for (size_t i = 0; i + 1 < runs.size(); i += 2) next.push_back(MergeUnique(runs[i], runs[i + 1]));
            if (runs.size() % 2) next.push_back(std::move(runs.back()));
            runs.swap(next);
        }
        // Each surviving item is copied once, into storage of the final size.
        TextList merged;
        merged.Reserve(static_cast<int>(runs[0].size()));
        for (const TextItem* item : runs[0]) merged.Append(*item);
        target.List(kind) = std::move(merged);
    }
}

// Printer-to-profile matching over a fixed profile list: by driver name first, then by the first word
// of the driver name among manufacturer profiles. Indexes are built once per computation.
class ProfileMatcher {
public:
    explicit ProfileMatcher(const std::vector<UninstallProfile>& profiles) : profiles_(profiles) {
        sortedUnique_ = true;
        for (size_t i = 1; i < profiles.size() && sortedUnique_; ++i)
            sortedUnique_ = CompareNoCase(profiles[i - 1].name.Text(), profiles[i].name.Text()) < 0;
        for (size_t i = 0; i < profiles.size(); ++i)
            if (profiles[i].isManufacturer) makers_.push_back(i);
        // By first word, and among equal words by list position, so the last of a run is the last match.
        std::stable_sort(makers_.begin(), makers_.end(), [this](size_t a, size_t b) { return WordLess(a, b); });
    }

    // Index of the profile a printer with this driver uses, or -1.
    long Match(const char* driver) const {
        long byName = FindByName(driver);
        return byName >= 0 ? byName : FindMaker(driver);
    }

    long FindByName(const char* name) const {
        if (!sortedUnique_) {
            for (size_t i = 0; i < profiles_.size(); ++i)
                if (profiles_[i].name.EqualsNoCase(name)) return static_cast<long>(i);
            return -1;
        }
        auto it = std::lower_bound(profiles_.begin(), profiles_.end(), name,
                                   [](const UninstallProfile& p, const char* n) {
                                       return CompareNoCase(p.name.Text(), n) < 0;
                                   });
        return (it != profiles_.end() && it->name.EqualsNoCase(name)) ? static_cast<long>(it - profiles_.begin())
                                                                      : -1;
    }

    long FindMaker(const char* driver) const {
        auto it = std::upper_bound(makers_.begin(), makers_.end(), driver,
                                   [this](const char* d, size_t i) { return CompareWords(d, Name(i)) < 0; });
        if (it == makers_.begin()) return -1;
        --it;
        return SameFirstWord(Name(*it), driver) ? static_cast<long>(*it) : -1;
    }

private:
    const char* Name(size_t index) const { return profiles_[index].name.Text(); }

    static int CompareWords(const char* a, const char* b) {
        size_t la = FirstWordLength(a), lb = FirstWordLength(b);
        int c = CompareNoCaseN(a, b, la < lb ? la : lb);
        if (c != 0) return c;
        return la < lb ? -1 : (la > lb ? 1 : 0);
    }
    bool WordLess(size_t a, size_t b) const { return CompareWords(Name(a), Name(b)) < 0; }

    const std::vector<UninstallProfile>& profiles_;
    bool sortedUnique_;
    std::vector<size_t> makers_;
};
}  // namespace

UninstallDatabase::UninstallDatabase(int osFamily) : win9x_(osFamily == 2 ? 1 : 0), osFamily_(osFamily) {}

const char* UninstallDatabase::VizoraProgramName() const { return osFamily_ == 1 ? "VIZORA.EXE" : "VIZORA32.EXE"; }

bool UninstallDatabase::LoadScriptText(const char* data, size_t size, const char* path) {
    ScriptReader reader;
    if (!reader.LoadFromMemory(data, size)) return false;
    return LoadScriptFromReader(reader, path);
}

bool UninstallDatabase::LoadScriptFromReader(const ScriptReader& reader, const char* path) {
    size_t sortedCount = profiles_.size();
    try {
        int mfgs = reader.SectionEntryCount("UnPrinterMfgs");
        int drivers = reader.SectionEntryCount("UnPrinterDrivers");
        int ignored = reader.SectionEntryCount("Unx_Ignore");
        int catchAll = reader.SectionEntryCount("Unz_CatchAll");
        if (mfgs == 0 && drivers == 0 && ignored == 0 && catchAll == 0) throw "no starter sections";

        // Starter lines come through a 260-byte multi-string; lines beyond it are left out.
        char starters[kStarterCapacity];
        if (mfgs > 0) {
            // Manufacturer lines keep their "=" and value; driver lines are their key alone.
            starters[0] = 0;
            reader.GetSectionLines("UnPrinterMfgs", starters, sizeof starters);
            for (const char* line = starters; *line; line += strlen(line) + 1) {
                profiles_.push_back(MakeProfile(line, reader));
                profiles_.back().isManufacturer = 1;
                profiles_.back().scriptPath.Assign(path);
            }
        }
        const struct {
            const char* section;
            int count;
            int UninstallProfile::*flag;
        } driverSections[] = {
            {"UnPrinterDrivers", drivers, nullptr},
            {"Unz_CatchAll", catchAll, &UninstallProfile::isCatchAll},
            {"Unx_Ignore", ignored, &UninstallProfile::isIgnore},
        };
        for (const auto& kind : driverSections) {
            if (kind.count == 0) continue;
            starters[0] = 0;
            reader.GetSectionKeys(kind.section, starters, sizeof starters);
            for (const char* key = starters; *key; key += strlen(key) + 1) {
                profiles_.push_back(MakeProfile(key, reader));
                UninstallProfile& profile = profiles_.back();
                if (kind.flag) profile.*kind.flag = 1;
                profile.scriptPath.Assign(path);
                profile.Drivers.Append(profile.name);
            }
        }
    } catch (const char*) {
        // "no starter sections": the script contributes nothing; the message is not shown.
        return false;
    }
    SortProfiles(sortedCount);
    return true;
}

void UninstallDatabase::SortProfiles(size_t sortedCount) {
    // Stable sort then unique: of profiles with the same name the one loaded first survives. A prefix
    // that is already sorted is merged with the sorted rest, which gives the same order as sorting the
    // whole list without moving every profile log n times per script.
    if (sortedCount > profiles_.size() ||
        !std::is_sorted(profiles_.begin(), profiles_.begin() + static_cast<long>(sortedCount), ProfileLess))
        sortedCount = 0;
    auto middle = profiles_.begin() + static_cast<long>(sortedCount);
    std::stable_sort(middle, profiles_.end(), ProfileLess);
    std::inplace_merge(profiles_.begin(), middle, profiles_.end(), ProfileLess);
    UniqueRecordsByKey(profiles_, ProfileName);
}

void UninstallDatabase::Normalize() {
    SortProfiles(profiles_.size());
    for (int kind = 0; kind < kProfileListCount; ++kind) {
        keep_.List(kind).Sort();
        keep_.List(kind).Unique();
        removal_.List(kind).Sort();
        removal_.List(kind).Unique();
    }
}

void UninstallDatabase::MergeProfile(UninstallProfile& target, const UninstallProfile& source) {
    for (int kind = 0; kind < kProfileListCount; ++kind) {
        TextList copy = source.List(kind);
        target.List(kind).Union(copy);
    }
}

void UninstallDatabase::SubtractProfile(UninstallProfile& target, const UninstallProfile& source) {
    for (int kind = 0; kind < kProfileListCount; ++kind) target.List(kind).Difference(source.List(kind));
}

bool UninstallDatabase::BuildCandidates(const CCmdSwitches& switches) {
    return BuildCandidates(candidate_, switches.Has("UNVIZ"));
}

bool UninstallDatabase::BuildCandidates(UninstallProfile& candidate, bool unviz) {
    Normalize();
    candidate.Clear();
    std::vector<const UninstallProfile*> sources;
    for (const UninstallProfile& profile : profiles_)
        if (!profile.isIgnore) sources.push_back(&profile);
    UnionInto(candidate, sources);

    ProfileMatcher matcher(profiles_);
    long vizora = matcher.FindByName(kVizoraProfile);
    if (vizora >= 0) {
        const UninstallProfile& profile = profiles_[static_cast<size_t>(vizora)];
        if (unviz) candidate = profile;
        else SubtractProfile(candidate, profile);
    }
    return !sources.empty();
}

bool UninstallDatabase::FindProfileByName(UninstallProfile& out, const char* name) const {
    out.Clear();
    for (const UninstallProfile& profile : profiles_) {
        if (profile.name.EqualsNoCase(name)) {
            out = profile;
            return true;
        }
    }
    return false;
}

bool UninstallDatabase::FindManufacturerProfile(UninstallProfile& out, const char* text) const {
    out.Clear();
    const UninstallProfile* match = nullptr;
    for (const UninstallProfile& profile : profiles_)
        if (profile.isManufacturer && SameFirstWord(profile.name.Text(), text ? text : "")) match = &profile;
    if (!match) return false;
    out = *match;
    return true;
}

void UninstallDatabase::ReleaseLinkedPrinters() {
    // Printers that stand for another printer, by the name they stand for.
    std::vector<size_t> linked;
    for (size_t i = 0; i < printers_.size(); ++i)
        if (!printers_[i].vizoredName.IsEmpty()) linked.push_back(i);
    auto byTarget = [this](size_t a, size_t b) {
        return CompareNoCase(printers_[a].vizoredName.Text(), printers_[b].vizoredName.Text()) < 0;
    };
    std::sort(linked.begin(), linked.end(), byTarget);

    // One pass in list order: a printer released here acts as a removed printer itself only when it
    // stands later in the list.
    for (const InstalledPrinter& p : printers_) {
        if (p.isForeign || p.deleted || p.excluded) continue;
        const char* name = p.name.Text();
        auto first = std::lower_bound(linked.begin(), linked.end(), name, [this](size_t i, const char* n) {
            return CompareNoCase(printers_[i].vizoredName.Text(), n) < 0;
        });
        for (auto it = first; it != linked.end() && printers_[*it].vizoredName.EqualsNoCase(name); ++it)
            printers_[*it].excluded = 0;
    }
}

void UninstallDatabase::AddGlobalCleanUp(UninstallProfile& basis) const {
    for (const UninstallProfile& profile : profiles_)
        if (profile.name.EqualsNoCase(kVizoraProfile)) {
            MergeProfile(basis, profile);
            break;
        }
    for (const UninstallProfile& profile : profiles_)
        if (HasScriptExtension(profile.scriptPath.Text())) basis.Files.Append(FileNamePart(profile.scriptPath.Text()));
    for (const char* key : kMakerKeys) AddRegistryEntry(basis, kRootLocalMachine, key, "", 1);
    AddRegistryEntry(basis, kRootLocalMachine, kMakerKey, "", 0);
}

bool UninstallDatabase::ComputeRemovalSet() {
    keep_.Clear();
    removal_.Clear();
    removedCount_ = 0;
    remainingCount_ = 0;

    ReleaseLinkedPrinters();

    // Profiles of the printers that stay, each once, in the order first met.
    ProfileMatcher matcher(profiles_);
    std::vector<const UninstallProfile*> keepSources;
    std::vector<char> kept(profiles_.size(), 0);
    for (const InstalledPrinter& printer : printers_) {
        if (printer.isForeign || printer.deleted) continue;
        if (!printer.excluded) {
            ++removedCount_;
            continue;
        }
        ++remainingCount_;
        long match = matcher.Match(printer.driver.Text());
        if (match >= 0 && !kept[static_cast<size_t>(match)]) {
            kept[static_cast<size_t>(match)] = 1;
            keepSources.push_back(&profiles_[static_cast<size_t>(match)]);
        }
    }
    // Entries of catch-all and ignored profiles are never removed. Merging a profile a second time
    // changes nothing, so those already kept for a printer are not added again.
    for (size_t i = 0; i < profiles_.size(); ++i)
        if ((profiles_[i].isIgnore || profiles_[i].isCatchAll) && !kept[i]) {
            kept[i] = 1;
            keepSources.push_back(&profiles_[i]);
        }
    UnionInto(keep_, keepSources);

    // The removal basis is the candidate profile, with the global clean-up when no printer of the maker
    // stays; the candidate profile itself is not changed.
    removal_ = candidate_;
    if (remainingCount_ == 0) AddGlobalCleanUp(removal_);
    SubtractProfile(removal_, keep_);

    vizoraKept_ = removal_.Files.Contains(VizoraProgramName()) ? 0 : 1;
    Normalize();
    return true;
}

int UninstallDatabase::CountSelectablePrinters() const {
    int count = 0;
    for (const InstalledPrinter& printer : printers_)
        if (!printer.isForeign && !printer.deleted && printer.offered) ++count;
    return count;
}

bool UninstallDatabase::AddRegistryEntry(UninstallProfile& target, int root, const char* subKey,
                                         const char* valueName, int tree) {
    static const char* const kRootNames[] = {"HKLM", "HKCR", "HKCU", "HKU"};
    if (root < kRootLocalMachine || root > kRootUsers || !subKey || !*subKey) return false;
    // The fields go between double quotes, and a quote of their own would end one early: the entry
    // would name another key or value.
    if (strchr(subKey, '"') || (valueName && strchr(valueName, '"'))) return false;
    char entry[TextItem::kCapacity];
    if (!FormatText(entry, sizeof entry, "%s,\"%s\",\"%s\",%s", kRootNames[root], subKey, valueName ? valueName : "",
                    tree ? "1" : "0"))
        return false;
    target.RegistryKeys.Append(entry);
    return true;
}
