#include "RegistryEntries.h"

#include <string>
#include <vector>

#include "EntryFields.h"
#include "RegistryTree.h"
#include "script/UninstallDatabase.h"

namespace {
const char kStep[] = "registry";
const char kProgramGroupsKey[] = "SOFTWARE\\TOVARI QUELLAN\\OEM01\\ProgramGroups";

HKEY RootKey(int root) {
    switch (root) {
        case kRootClassesRoot:
            return HKEY_CLASSES_ROOT;
        case kRootCurrentUser:
            return HKEY_CURRENT_USER;
        case kRootUsers:
            return HKEY_USERS;
        default:
            return HKEY_LOCAL_MACHINE;
    }
}

const char* RootName(int root) {
    static const char* const kNames[] = {"HKLM", "HKCR", "HKCU", "HKU"};
    return kNames[root];
}

// Carries out the step's entries and remembers the keys it removed, or in a dry run would remove,
// so that a dry run judges a key by the subkeys the earlier entries would leave: entries run in
// descending order, a subkey's before its parent's.
class RegistryRemoval {
public:
    explicit RegistryRemoval(RemovalContext& ctx) : ctx_(ctx) {}

    void DeleteKey(int root, const char* subKey) {
        std::string path = Path(root, subKey);
        HKEY key = NULL;
        LONG result = RegOpenKeyExA(RootKey(root), subKey, 0, KEY_READ, &key);
        if (result != ERROR_SUCCESS) {
            if (!ctx_.dryRun) {
                bool missing = result == ERROR_FILE_NOT_FOUND;
                Record("registry-key", path, missing ? kOutcomeNotPresent : kOutcomeFailed, "",
                       missing ? 0 : result);
            }
            return;
        }
        LONG listError = ERROR_SUCCESS;
        bool subkeysLeft = HasSubkeysLeft(key, path, &listError);
        RegCloseKey(key);
        if (ctx_.dryRun && IsGone(path)) return;
        // The key alone: its subkeys hold what other entries, or printers that stay, keep. Windows 9x's
        // RegDeleteKeyA would take them with it (the NT family refuses), so such a key is not handed
        // to it on any family.
        if (subkeysLeft) {
            Record("registry-key", path, kOutcomeKept,
                   listError == ERROR_SUCCESS ? "has subkeys" : "its subkeys cannot be listed", listError);
            return;
        }
        if (ctx_.dryRun) {
            Record("registry-key", path, kOutcomePresent);
            gone_.push_back(path);
            return;
        }
        result = RegDeleteKeyA(RootKey(root), subKey);
        if (result == ERROR_SUCCESS) {
            Record("registry-key", path, kOutcomeRemoved);
            gone_.push_back(path);
        } else {
            Record("registry-key", path, kOutcomeFailed, "", result);
        }
    }

    void DeleteTree(int root, const char* subKey) {
        std::string path = Path(root, subKey);
        HKEY key = NULL;
        LONG result = RegOpenKeyExA(RootKey(root), subKey, 0, KEY_READ, &key);
        if (result == ERROR_SUCCESS) RegCloseKey(key);
        if (ctx_.dryRun) {
            if (result != ERROR_SUCCESS || IsGone(path)) return;
            Record("registry-tree", path, kOutcomePresent);
            gone_.push_back(path);
            return;
        }
        if (result == ERROR_FILE_NOT_FOUND) {
            Record("registry-tree", path, kOutcomeNotPresent);
            return;
        }
        if (DeleteKeyTree(RootKey(root), subKey, &result)) {
            Record("registry-tree", path, kOutcomeRemoved);
            gone_.push_back(path);
        } else {
            Record("registry-tree", path, kOutcomeFailed, "", result);
        }
    }

    void DeleteValue(int root, const char* subKey, const char* valueName) {
        std::string path = Path(root, subKey);
        HKEY key = NULL;
        if (ctx_.dryRun) {
            if (IsGone(path) ||
                RegOpenKeyExA(RootKey(root), subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
                return;
            if (RegQueryValueExA(key, valueName, NULL, NULL, NULL, NULL) == ERROR_SUCCESS)
                ctx_.Record(kStep, "registry-value", valueName, kOutcomePresent, "", 0, path.c_str());
            RegCloseKey(key);
            return;
        }
        LONG result = RegOpenKeyExA(RootKey(root), subKey, 0, KEY_ALL_ACCESS, &key);
        if (result == ERROR_SUCCESS) {
            result = RegDeleteValueA(key, valueName);
            RegCloseKey(key);
        }
        ActionOutcome outcome = result == ERROR_SUCCESS          ? kOutcomeRemoved
                                : result == ERROR_FILE_NOT_FOUND ? kOutcomeNotPresent
                                                                 : kOutcomeFailed;
        ctx_.Record(kStep, "registry-value", valueName, outcome, "",
                    outcome == kOutcomeFailed ? static_cast<unsigned long>(result) : 0, path.c_str());
    }

private:
    static std::string Path(int root, const char* subKey) {
        return std::string(RootName(root)) + "\\" + subKey;
    }

    // True for a key removed earlier in this step, or lying under one.
    bool IsGone(const std::string& path) const {
        for (const std::string& gone : gone_) {
            if (path.size() < gone.size() || CompareNoCaseN(path.c_str(), gone.c_str(), gone.size()) != 0)
                continue;
            if (path.size() == gone.size() || path[gone.size()] == '\\') return true;
        }
        return false;
    }

    // A key whose subkeys cannot be listed may hold any: it counts as having some, and *error
    // receives why.
    bool HasSubkeysLeft(HKEY key, const std::string& path, LONG* error) const {
        char name[MAX_PATH + 1];
        for (DWORD index = 0;; ++index) {
            LONG result = RegEnumKeyA(key, index, name, sizeof name);
            if (result == ERROR_NO_MORE_ITEMS) return false;
            if (result != ERROR_SUCCESS) {
                *error = result;
                return true;
            }
            if (!IsGone(path + "\\" + name)) return true;
        }
    }

    void Record(const char* kind, const std::string& path, ActionOutcome outcome, const char* detail = "",
                LONG error = 0) {
        ctx_.Record(kStep, kind, path.c_str(), outcome, detail, static_cast<unsigned long>(error));
    }

    RemovalContext& ctx_;
    std::vector<std::string> gone_;
};
}  // namespace

void RemoveRegistryEntriesStep(RemovalContext& ctx) {
    RegistryRemoval removal(ctx);
    removal.DeleteKey(kRootLocalMachine, kProgramGroupsKey);

    // Descending order: a subkey's entries come before its parent key's.
    TextList entries = ctx.database.Removal().RegistryKeys;
    entries.Sort();
    entries.Unique();
    entries.Reverse();
    for (const TextItem& entry : entries) {
        RegistryEntryFields fields;
        if (!SplitRegistryEntry(entry.Text(), fields)) {
            ctx.Record(kStep, "registry-key", entry.Text(), kOutcomeKept, "not a root,key,value entry");
            continue;
        }
        int root = RegistryRootFromName(fields.root.Text());
        if (root < 0) {
            ctx.Record(kStep, "registry-key", entry.Text(), kOutcomeKept, "root not recognised");
            continue;
        }
        // An empty subkey names the root itself: as a tree it would take the whole hive.
        if (fields.subKey.IsEmpty()) {
            ctx.Record(kStep, "registry-key", entry.Text(), kOutcomeKept, "no subkey");
            continue;
        }
        switch (fields.Form()) {
            case kRegistryValue:
                removal.DeleteValue(root, fields.subKey.Text(), fields.valueName.Text());
                break;
            case kRegistryTree:
                removal.DeleteTree(root, fields.subKey.Text());
                break;
            case kRegistryKey:
                removal.DeleteKey(root, fields.subKey.Text());
                break;
        }
    }
}
