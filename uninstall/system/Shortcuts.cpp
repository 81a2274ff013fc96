#include "Shortcuts.h"

#include <vector>

#include "EntryFields.h"
#include "FileRemoval.h"
#include "ProgmanCommands.h"
#include "ProgramManager.h"
#include "ShortcutNames.h"
#include "script/FileSpec.h"
#include "script/Locations.h"
#include "script/UninstallDatabase.h"

namespace {
const char kStep[] = "shortcuts";

struct FolderRow {
    int location;
    bool inGroup;  // the shortcut lies in the group's subfolder
};

const FolderRow kOrdinaryFolders[] = {{kLocPrograms, true}, {kLocCommonPrograms, true}};
const FolderRow kStartupFolders[] = {
    {kLocPrograms, true},    {kLocCommonPrograms, true}, {kLocStartup, false},
    {kLocAltStartup, false}, {kLocCommonStartup, false}, {kLocCommonAltStartup, false},
};

// A shell folder, ending in a backslash. False when the shell has no such folder here (Win32s, or
// a common folder on a system without them): paths in it would be taken relative to whatever the
// current directory is, and a file there that happens to share the name is not the maker's.
bool ResolveFolder(int location, TextItem& folder) {
    FileSpec spec;
    spec.ResolveLocation(location);
    folder.Assign(spec.DirectoryPath());
    return !folder.IsEmpty();
}

bool IsFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDirectory(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class ShortcutRemoval {
public:
    explicit ShortcutRemoval(RemovalContext& ctx) : ctx_(ctx) {}

    void RemoveShortcut(const ShortcutFields& entry, const char* object) {
        if (ctx_.os.IsWin32s()) {
            RemoveProgmanItem(entry, object);
            return;
        }
        TextList names;
        ShortcutFileNames(entry.description.Text(), names);
        bool startup = entry.IsStartup();
        const FolderRow* rows = startup ? kStartupFolders : kOrdinaryFolders;
        int rowCount = startup ? sizeof kStartupFolders / sizeof *kStartupFolders
                               : sizeof kOrdinaryFolders / sizeof *kOrdinaryFolders;
        bool found = false;
        TextList tried;
        for (int row = 0; row < rowCount; ++row) {
            TextItem folder;
            if (!ResolveFolder(rows[row].location, folder)) continue;
            if (rows[row].inGroup && !(folder.Append(entry.group.Text()) && AppendBackslash(folder)))
                continue;
            for (const TextItem& name : names) {
                TextItem path(folder);
                // "X.lnk" and "X.LNK" name one file; it is looked at once.
                if (!path.Append(name.Text()) || tried.Contains(path.Text())) continue;
                tried.Append(path);
                if (IsDirectory(path.Text())) {
                    // Named like the shortcut, but a folder: what it holds is not the maker's to take.
                    found = true;
                    ctx_.Record(kStep, "shortcut", path.Text(), kOutcomeKept, "a folder, not a shortcut");
                    continue;
                }
                if (!IsFile(path.Text())) continue;
                found = true;
                RemoveFile(path.Text());
            }
        }
        if (!found && !ctx_.dryRun) ctx_.Record(kStep, "shortcut", object, kOutcomeNotPresent);
    }

    // The group folder of the running system's Programs menu, removed only when it is empty.
    void RemoveGroup(const ShortcutFields& entry) {
        TextItem path;
        if (!ResolveFolder(ctx_.os.IsNT() ? kLocCommonPrograms : kLocPrograms, path)) {
            ctx_.Record(kStep, "group", entry.group.Text(), kOutcomeKept, "no Programs folder");
            return;
        }
        TextItem folder;
        if (!path.Append(entry.group.Text()) || !folder.Assign(path.Text()) || !AppendBackslash(folder)) {
            ctx_.Record(kStep, "group", entry.group.Text(), kOutcomeKept, "path too long");
            return;
        }
        if (!IsDirectory(path.Text())) {
            if (!ctx_.dryRun) ctx_.Record(kStep, "group", path.Text(), kOutcomeNotPresent);
            return;
        }
        if (ctx_.dryRun) {
            if (WouldBeEmpty(folder))
                ctx_.Record(kStep, "group", path.Text(), kOutcomePresent);
            else
                ctx_.Record(kStep, "group", path.Text(), kOutcomeKept, "holds other items");
            return;
        }
        if (RemoveDirectoryA(path.Text())) {
            ctx_.Record(kStep, "group", path.Text(), kOutcomeRemoved);
            return;
        }
        DWORD error = GetLastError();
        if (error == ERROR_DIR_NOT_EMPTY)
            ctx_.Record(kStep, "group", path.Text(), kOutcomeKept, "holds other items");
        else
            ctx_.Record(kStep, "group", path.Text(), kOutcomeFailed, "", error);
    }

private:
    // The file step's deletion records the shortcut: removed, deferred when in use, or present in a
    // dry run.
    void RemoveFile(const char* path) {
        if (ctx_.dryRun) planned_.Append(path);
        DeleteFileOrDefer(ctx_, path, kStep, "shortcut");
    }

    void RemoveProgmanItem(const ShortcutFields& entry, const char* object) {
        char command[kProgmanCommandSize];
        if (!FormatShowGroupCommand(command, entry.group.Text()) ||
            !FormatDeleteItemCommand(command, entry.description.Text())) {
            ctx_.Record(kStep, "shortcut", object, kOutcomeKept,
                        "name does not fit a Program Manager command");
            return;
        }
        // Program Manager cannot be asked whether it holds the item without changing it.
        if (ctx_.dryRun) {
            ctx_.Record(kStep, "shortcut", object, kOutcomePresent, "Program Manager item, not checked");
            return;
        }
        if (DeleteProgmanItem(entry.group.Text(), entry.description.Text()))
            ctx_.Record(kStep, "shortcut", object, kOutcomeRemoved, "Program Manager");
        else
            ctx_.Record(kStep, "shortcut", object, kOutcomeFailed,
                        "Program Manager did not accept the commands");
    }

    // True when everything in folder (ending in a backslash) is a file this dry run would remove.
    bool WouldBeEmpty(const TextItem& folder) const {
        TextItem pattern(folder);
        if (!pattern.Append("*.*")) return false;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern.Text(), &found);
        if (search == INVALID_HANDLE_VALUE) return true;
        bool empty = true;
        do {
            if (found.cFileName[0] == '.' &&
                (found.cFileName[1] == 0 || (found.cFileName[1] == '.' && found.cFileName[2] == 0)))
                continue;
            TextItem path(folder);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !path.Append(found.cFileName) ||
                !planned_.Contains(path.Text()))
                empty = false;
        } while (empty && FindNextFileA(search, &found));
        FindClose(search);
        return empty;
    }

    RemovalContext& ctx_;
    TextList planned_;  // dry run: the shortcut files it found and would remove
};
}  // namespace

void RemoveShortcutsStep(RemovalContext& ctx) {
    // Descending order, and every group folder after all shortcuts: a folder is looked at only once
    // its shortcuts are gone. (Descending order alone does not ensure that: a quoted entry
    // '"Group","Item"' sorts before the bare group name.)
    TextList entries = ctx.database.Removal().Shortcuts;
    entries.Sort();
    entries.Unique();
    entries.Reverse();
    ShortcutRemoval removal(ctx);
    std::vector<ShortcutFields> groups;
    for (const TextItem& entry : entries) {
        ShortcutFields fields;
        if (!SplitShortcutEntry(entry.Text(), fields)) {
            ctx.Record(kStep, "shortcut", entry.Text(), kOutcomeKept, "not a group,shortcut entry");
            continue;
        }
        if (!fields.GroupStaysInPrograms()) {
            ctx.Record(kStep, fields.IsGroup() ? "group" : "shortcut", entry.Text(), kOutcomeKept,
                       "the group is not a folder under Programs");
            continue;
        }
        if (fields.IsGroup()) {
            groups.push_back(fields);
            continue;
        }
        TextItem object(fields.group);
        object.Append("\\");
        object.Append(fields.description.Text());
        removal.RemoveShortcut(fields, object.Text());
    }
    for (const ShortcutFields& group : groups) removal.RemoveGroup(group);
}
