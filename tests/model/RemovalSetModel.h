#pragma once
// A deliberately plain model of the uninstall database's set computations, written step by step as the
// behaviour is described: insertion sort, a merge that walks both lists, a difference that compares
// every pair, and a merge-then-sort-then-unique after every profile. It is slow on purpose; the tests
// compare the real database with it, and the benchmarks use it as the baseline.
#include <string>
#include <utility>
#include <vector>

namespace model {

using List = std::vector<std::string>;

inline int Compare(const std::string& a, const std::string& b) {
    size_t i = 0;
    for (;; ++i) {
        unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}
inline bool Equal(const std::string& a, const std::string& b) { return Compare(a, b) == 0; }

// Stable: an item moves left only past items that are greater.
template <class T, class Less>
void InsertionSort(std::vector<T>& items, Less less) {
    for (size_t i = 1; i < items.size(); ++i) {
        T item = std::move(items[i]);
        size_t j = i;
        while (j > 0 && less(item, items[j - 1])) {
            items[j] = std::move(items[j - 1]);
            --j;
        }
        items[j] = std::move(item);
    }
}

inline void Sort(List& list) {
    InsertionSort(list, [](const std::string& a, const std::string& b) { return Compare(a, b) < 0; });
}

inline void Unique(List& list) {
    List out;
    for (const std::string& item : list)
        if (out.empty() || !Equal(out.back(), item)) out.push_back(item);
    list = out;
}

// A source item goes before the first target item that is greater than it.
inline void Merge(List& target, List& source) {
    List out;
    size_t t = 0, s = 0;
    while (t < target.size() || s < source.size()) {
        if (s < source.size() && (t == target.size() || Compare(source[s], target[t]) < 0))
            out.push_back(source[s++]);
        else
            out.push_back(target[t++]);
    }
    target = out;
    source.clear();
}

inline void Difference(List& target, const List& source) {
    if (target.empty() || source.empty()) return;
    List out;
    for (const std::string& item : target) {
        bool found = false;
        for (const std::string& other : source)
            if (Equal(item, other)) found = true;
        if (!found) out.push_back(item);
    }
    target = out;
}

const int kLists = 12;
const int kFiles = 7;
const int kRegistryKeys = 11;

struct Profile {
    std::string name;
    int isManufacturer = 0, isCatchAll = 0, isIgnore = 0;
    std::string scriptPath;
    List lists[kLists];
};

struct Printer {
    std::string name, driver, vizoredName;
    int isForeign = 0, deleted = 0, excluded = 0;
};

inline void MergeProfile(Profile& target, const Profile& source) {
    for (int k = 0; k < kLists; ++k) {
        List copy = source.lists[k];
        Merge(target.lists[k], copy);
        Sort(target.lists[k]);
        Unique(target.lists[k]);
    }
}

inline void SubtractProfile(Profile& target, const Profile& source) {
    for (int k = 0; k < kLists; ++k) Difference(target.lists[k], source.lists[k]);
}

inline std::string FirstWord(const std::string& text) { return text.substr(0, text.find(' ')); }

inline std::string FileName(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

struct Database {
    int osFamily = 3;
    Profile candidate, keep, removal;
    std::vector<Profile> profiles;
    std::vector<Printer> printers;
    int removedCount = 0, remainingCount = 0, vizoraKept = 1;

    void Normalize() {
        InsertionSort(profiles, [](const Profile& a, const Profile& b) { return Compare(a.name, b.name) < 0; });
        std::vector<Profile> unique;
        for (const Profile& p : profiles)
            if (unique.empty() || !Equal(unique.back().name, p.name)) unique.push_back(p);
        profiles = unique;
        for (int k = 0; k < kLists; ++k) {
            Sort(keep.lists[k]);
            Unique(keep.lists[k]);
            Sort(removal.lists[k]);
            Unique(removal.lists[k]);
        }
    }

    const Profile* FindProfileByName(const std::string& name) const {
        for (const Profile& p : profiles)
            if (Equal(p.name, name)) return &p;
        return nullptr;
    }

    const Profile* FindManufacturerProfile(const std::string& driver) const {
        const Profile* match = nullptr;
        for (const Profile& p : profiles)
            if (p.isManufacturer && Equal(FirstWord(p.name), FirstWord(driver))) match = &p;
        return match;
    }

    bool BuildCandidates(bool unviz) {
        Normalize();
        candidate = Profile();
        bool merged = false;
        for (const Profile& p : profiles)
            if (!p.isIgnore) {
                MergeProfile(candidate, p);
                merged = true;
            }
        if (const Profile* vizora = FindProfileByName("Vizora")) {
            if (unviz) candidate = *vizora;
            else SubtractProfile(candidate, *vizora);
        }
        return merged;
    }

    void ComputeRemovalSet() {
        keep = Profile();
        removal = Profile();
        removedCount = remainingCount = 0;
        for (Printer& p : printers) {
            if (p.isForeign || p.deleted || p.excluded) continue;
            for (Printer& q : printers)
                if (!q.vizoredName.empty() && Equal(q.vizoredName, p.name)) q.excluded = 0;
        }
        for (const Printer& p : printers) {
            if (p.isForeign || p.deleted) continue;
            const Profile* match = FindProfileByName(p.driver);
            if (!match) match = FindManufacturerProfile(p.driver);
            if (p.excluded) {
                ++remainingCount;
                if (match) MergeProfile(keep, *match);
            } else {
                ++removedCount;
            }
        }
        Profile basis = candidate;
        if (remainingCount == 0) {
            if (const Profile* vizora = FindProfileByName("Vizora")) MergeProfile(basis, *vizora);
            for (const Profile& p : profiles) {
                std::string name = FileName(p.scriptPath);
                size_t dot = name.rfind('.');
                if (dot != std::string::npos && Equal(name.substr(dot), ".unm")) basis.lists[kFiles].push_back(name);
            }
            const char* keys[] = {"SOFTWARE\\TOVARI QUELLAN\\OEM01", "SOFTWARE\\TOVARI QUELLAN\\QSR32_01",
                                  "SOFTWARE\\TOVARI QUELLAN\\Filters"};
            for (const char* key : keys) basis.lists[kRegistryKeys].push_back("HKLM,\"" + std::string(key) + "\",\"\",1");
            basis.lists[kRegistryKeys].push_back("HKLM,\"SOFTWARE\\TOVARI QUELLAN\",\"\",0");
        }
        for (const Profile& p : profiles)
            if (p.isIgnore || p.isCatchAll) MergeProfile(keep, p);
        removal = basis;
        SubtractProfile(removal, keep);
        vizoraKept = 1;
        std::string program = osFamily == 1 ? "VIZORA.EXE" : "VIZORA32.EXE";
        for (const std::string& file : removal.lists[kFiles])
            if (Equal(file, program)) vizoraKept = 0;
        Normalize();
    }
};

}  // namespace model
