#include "FileSweep.h"

#include <algorithm>
#include <cstring>

#include "script/FileSpec.h"

const char kRestartHelperName[] = "ZRESTART.EXE";

namespace {
const int kTreeDepth = 2;
const int kOemDepth = 3;

inline bool IsSlash(char c) {
    return c == '\\' || c == '/';
}

// The search directories and trees are searched for the name and extension only: a directory part
// written in the entry is dropped there.
void NameAndExtensionOf(const char* name, TextItem& out) {
    FileSpec spec;
    spec.SetPath(name);
    out.Assign(spec.NameAndExtension());
}

// Tried as a path, such a name fails with ERROR_INVALID_NAME, which would be taken for a file in
// use. A directory part only ever joins a listed name under the OEM directories, where it matches
// nothing, so only the name and extension are looked at.
bool CarriesNoFile(const char* nameAndExtension) {
    for (const char* p = nameAndExtension; *p; ++p)
        if (static_cast<unsigned char>(*p) < 32 || strchr("*?<>|\":/", *p)) return true;
    return false;
}

bool EntersDirectory(const DirectoryEntry& entry, int depth) {
    return entry.isDirectory && entry.name.Text()[0] != '.' && depth > 0;
}

// Tries the name in each search directory; 1 when a file had to be deferred.
int DeleteInDirectories(FileSweepOps& ops, const TextList& directories, const char* nameAndExtension) {
    int deferred = 0;
    for (const TextItem& directory : directories) {
        TextItem path;
        if (!JoinPath(path, directory.Text(), nameAndExtension)) {
            ops.RefuseLongPath(directory.Text(), nameAndExtension);
            continue;
        }
        if (ops.DeleteOrDefer(path.Text()) == 0) deferred = 1;
    }
    return deferred;
}

// One key a directory entry is matched against: the name as the path is formed from it, and its
// position in the step's name list (or kLateName).
struct IndexEntry {
    TextItem key;
    int position;
};
const int kLateName = -1;

struct KeyLess {
    bool operator()(const IndexEntry& a, const IndexEntry& b) const { return a.key.LessNoCase(b.key); }
    bool operator()(const IndexEntry& a, const char* b) const { return CompareNoCase(a.key.Text(), b) < 0; }
    bool operator()(const char* a, const IndexEntry& b) const { return CompareNoCase(a, b.key.Text()) < 0; }
};

// The whole name list matched in one walk per search root. The restart helper, when it may still go,
// is matched in the same walk but only noted: whether it goes depends on what the other names leave
// behind, which is known once the walk is over.
class OnePass {
public:
    OnePass(FileSweepOps& ops, const FileSearchPlaces& places) : ops_(ops), places_(places) {}

    int Run(const TextList& names, bool noteRestartHelper);
    // Deletes the noted restart helper files, and the OEM subdirectories that this leaves empty, as
    // a walk for that one name would have. 1 when one had to be deferred.
    int DeleteRestartHelper();
    // Tells the helper files that stay because a file waits for the restart: the dry run lists them.
    void KeepRestartHelper();

private:
    struct Noted {
        TextItem path;
        bool underOem;
    };

    // Only the OEM walks remove the subdirectories they leave empty.
    int Walk(const char* directory, const std::vector<IndexEntry>& index, int depth, bool oemWalk);
    int MatchFile(const char* directory, const char* entryName, const std::vector<IndexEntry>& index,
                  bool oemWalk);
    void RemoveEmptiedAncestors(const char* path);
    int OemLevel(const char* directory, const TextItem** root) const;

    FileSweepOps& ops_;
    const FileSearchPlaces& places_;
    std::vector<Noted> noted_;
};

int OnePass::Run(const TextList& names, bool noteRestartHelper) {
    std::vector<IndexEntry> treeIndex;
    std::vector<IndexEntry> oemIndex;
    int deferred = 0;
    for (int i = 0; i < names.Count(); ++i) {
        const char* name = names.At(i).Text();
        IndexEntry entry{TextItem(), i};
        NameAndExtensionOf(name, entry.key);
        if (!entry.key.IsEmpty()) {
            deferred |= DeleteInDirectories(ops_, places_.directories, entry.key.Text());
            treeIndex.push_back(entry);
        }
        oemIndex.push_back(IndexEntry{TextItem(name), i});
    }
    if (noteRestartHelper) {
        // Last among equal keys: a Files entry of the same name is tried before the helper is noted.
        treeIndex.push_back(IndexEntry{TextItem(kRestartHelperName), kLateName});
        oemIndex.push_back(IndexEntry{TextItem(kRestartHelperName), kLateName});
    }
    std::stable_sort(treeIndex.begin(), treeIndex.end(), KeyLess());
    std::stable_sort(oemIndex.begin(), oemIndex.end(), KeyLess());

    for (const TextItem& tree : places_.trees) deferred |= Walk(tree.Text(), treeIndex, kTreeDepth, false);
    for (const TextItem& oem : places_.oemDirectories) {
        deferred |= Walk(oem.Text(), oemIndex, kOemDepth, true);
        ops_.RemoveEmptyDirectory(oem.Text());
    }
    return deferred;
}

int OnePass::Walk(const char* directory, const std::vector<IndexEntry>& index, int depth, bool oemWalk) {
    std::vector<DirectoryEntry> entries;
    if (!ops_.ListDirectory(directory, entries)) return 0;
    int deferred = 0;
    for (const DirectoryEntry& entry : entries) {
        if (!entry.isDirectory) {
            deferred |= MatchFile(directory, entry.name.Text(), index, oemWalk);
            continue;
        }
        if (!EntersDirectory(entry, depth)) continue;
        TextItem subdirectory;
        if (!JoinPath(subdirectory, directory, entry.name.Text())) {
            ops_.RefuseLongPath(directory, entry.name.Text());
            continue;
        }
        deferred |= Walk(subdirectory.Text(), index, depth - 1, oemWalk);
        if (oemWalk) ops_.RemoveEmptyDirectory(subdirectory.Text());
    }
    return deferred;
}

int OnePass::MatchFile(const char* directory, const char* entryName, const std::vector<IndexEntry>& index,
                       bool oemWalk) {
    auto range = std::equal_range(index.begin(), index.end(), entryName, KeyLess());
    int deferred = 0;
    for (auto match = range.first; match != range.second; ++match) {
        // The path is formed from the name as the entry writes it, as a walk for that name would.
        TextItem path;
        if (!JoinPath(path, directory, match->key.Text())) {
            ops_.RefuseLongPath(directory, match->key.Text());
            continue;
        }
        if (match->position == kLateName) {
            noted_.push_back(Noted{path, oemWalk});
            continue;
        }
        // Once the file is gone, a walk for a later name of the same key would not list it.
        if (ops_.DeleteOrDefer(path.Text()) != 0) break;
        deferred = 1;
    }
    return deferred;
}

int OnePass::DeleteRestartHelper() {
    int deferred = DeleteInDirectories(ops_, places_.directories, kRestartHelperName);
    for (const Noted& noted : noted_) {
        if (ops_.DeleteOrDefer(noted.path.Text()) == 0) {
            deferred = 1;
        } else if (noted.underOem) {
            RemoveEmptiedAncestors(noted.path.Text());
        }
    }
    return deferred;
}

void OnePass::KeepRestartHelper() {
    for (const TextItem& directory : places_.directories) {
        TextItem path;
        if (JoinPath(path, directory.Text(), kRestartHelperName)) ops_.KeepRestartHelper(path.Text());
    }
    for (const Noted& noted : noted_) ops_.KeepRestartHelper(noted.path.Text());
}

// Goes up from the file's directory while the directories are ones an OEM walk removes when empty
// (an OEM directory, or one to three levels below one); above a directory that stays, none can go.
void OnePass::RemoveEmptiedAncestors(const char* path) {
    TextItem directory(path);
    for (;;) {
        char* text = directory.Buffer();
        char* cut = strrchr(text, '\\');
        if (char* slash = strrchr(text, '/')) cut = (!cut || slash > cut) ? slash : cut;
        if (!cut) return;
        *cut = 0;
        const TextItem* root = nullptr;
        int level = OemLevel(text, &root);
        if (level < 0) return;
        // The OEM directory itself is removed under the spelling its walk uses.
        ops_.RemoveEmptyDirectory(level == 0 ? root->Text() : text);
    }
}

// How far below an OEM directory directory lies (0 for the OEM directory itself), when an OEM walk
// reaches it; -1 otherwise.
int OnePass::OemLevel(const char* directory, const TextItem** root) const {
    size_t length = strlen(directory);
    for (const TextItem& oem : places_.oemDirectories) {
        size_t bare = static_cast<size_t>(oem.Length());
        if (bare > 0 && IsSlash(oem.Text()[bare - 1])) --bare;
        if (length < bare || CompareNoCaseN(directory, oem.Text(), bare) != 0) continue;
        if (length > bare && !IsSlash(directory[bare])) continue;
        int level = 0;
        for (const char* p = directory + bare; *p; ++p)
            if (IsSlash(*p)) ++level;
        if (level <= kOemDepth) {
            *root = &oem;
            return level;
        }
    }
    return -1;
}
}  // namespace

bool JoinPath(TextItem& out, const char* directory, const char* name) {
    out.Clear();
    if (!directory) directory = "";
    if (!name) name = "";
    size_t directoryLength = strlen(directory);
    bool separator = directoryLength > 0 && !IsSlash(directory[directoryLength - 1]);
    if (directoryLength + (separator ? 1 : 0) + strlen(name) >= static_cast<size_t>(TextItem::kCapacity))
        return false;
    out.Assign(directory);
    if (separator) out.Append("\\");
    out.Append(name);
    return true;
}

void FileNamesOf(const TextList& files, TextList& names, TextList* refused) {
    names.Clear();
    if (refused) refused->Clear();
    for (const TextItem& entry : files) {
        TextItem name(entry);
        if (char* equals = strchr(name.Buffer(), '=')) *equals = 0;
        if (name.IsEmpty()) continue;
        TextItem nameAndExtension;
        NameAndExtensionOf(name.Text(), nameAndExtension);
        if (!CarriesNoFile(nameAndExtension.Text()))
            names.Append(name);
        else if (refused)
            refused->Append(name);
    }
    names.Sort();
    names.Unique();
    if (refused) {
        refused->Sort();
        refused->Unique();
    }
}

void KeepFiles(TextList& files, const TextList& kept) {
    TextList keys;
    for (const TextItem& path : kept) {
        TextItem key;
        NameAndExtensionOf(path.Text(), key);
        if (!key.IsEmpty()) keys.Append(key);
    }
    if (keys.IsEmpty()) return;
    TextList left;
    for (const TextItem& entry : files) {
        TextItem name(entry);
        if (char* equals = strchr(name.Buffer(), '=')) *equals = 0;
        TextItem key;
        NameAndExtensionOf(name.Text(), key);
        if (!keys.Contains(key.Text())) left.Append(entry);
    }
    files = left;
}

int DeleteMatchingFiles(FileSweepOps& ops, const char* directory, const char* name, int depth,
                        bool removeSubdirectories) {
    std::vector<DirectoryEntry> entries;
    if (!ops.ListDirectory(directory, entries)) return 0;
    int deferred = 0;
    for (const DirectoryEntry& entry : entries) {
        if (!entry.isDirectory) {
            if (!entry.name.EqualsNoCase(name)) continue;
            TextItem path;
            if (!JoinPath(path, directory, name)) {
                ops.RefuseLongPath(directory, name);
                continue;
            }
            if (ops.DeleteOrDefer(path.Text()) == 0) deferred = 1;
            continue;
        }
        if (!EntersDirectory(entry, depth)) continue;
        TextItem subdirectory;
        if (!JoinPath(subdirectory, directory, entry.name.Text())) {
            ops.RefuseLongPath(directory, entry.name.Text());
            continue;
        }
        deferred |= DeleteMatchingFiles(ops, subdirectory.Text(), name, depth - 1, removeSubdirectories);
        if (removeSubdirectories) ops.RemoveEmptyDirectory(subdirectory.Text());
    }
    return deferred;
}

int RemoveFileEverywhere(FileSweepOps& ops, const FileSearchPlaces& places, const char* name) {
    int deferred = 0;
    TextItem nameAndExtension;
    NameAndExtensionOf(name, nameAndExtension);
    if (!nameAndExtension.IsEmpty()) {
        deferred |= DeleteInDirectories(ops, places.directories, nameAndExtension.Text());
        for (const TextItem& tree : places.trees)
            deferred |= DeleteMatchingFiles(ops, tree.Text(), nameAndExtension.Text(), kTreeDepth, false);
    }
    for (const TextItem& oem : places.oemDirectories) {
        deferred |= DeleteMatchingFiles(ops, oem.Text(), name, kOemDepth, true);
        ops.RemoveEmptyDirectory(oem.Text());
    }
    return deferred;
}

int RemoveFilesOneAtATime(FileSweepOps& ops, const FileSearchPlaces& places, const TextList& names,
                          const FilesStepRules& rules) {
    int deferred = 0;
    for (const TextItem& name : names) deferred |= RemoveFileEverywhere(ops, places, name.Text());
    if (rules.restartHelperAllowed && !rules.rebootAlreadyNeeded && !deferred)
        deferred = RemoveFileEverywhere(ops, places, kRestartHelperName);
    return deferred;
}

int RemoveFilesInOnePass(FileSweepOps& ops, const FileSearchPlaces& places, const TextList& names,
                         const FilesStepRules& rules) {
    bool helperMayGo = rules.restartHelperAllowed && !rules.rebootAlreadyNeeded;
    if (names.IsEmpty()) {
        if (!helperMayGo) return 0;
        TextList helper;
        helper.Append(kRestartHelperName);
        return OnePass(ops, places).Run(helper, false);
    }
    // A Files entry of the helper's name has had its turn with the other names.
    bool noteHelper = helperMayGo && !names.Contains(kRestartHelperName);
    OnePass pass(ops, places);
    int deferred = pass.Run(names, noteHelper);
    if (noteHelper && !deferred)
        deferred = pass.DeleteRestartHelper();
    else if (noteHelper)
        pass.KeepRestartHelper();
    return deferred;
}
