#include "FileRemoval.h"

#include <cstring>

#include "script/BoundedText.h"
#include "script/FileSpec.h"
#include "script/UninstallDatabase.h"
#include "system/DeferredDelete.h"

namespace {
const char kStep[] = "files";
const char kTooLong[] = "path longer than 259 characters";
const char kSetupIni[] = "zreg32s.ini";
const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kCurrentVersionKeyName[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// CSIDL values as the shell defines them, kept as numbers: older headers lack some of them.
const int kProfileCsidl = 40;
struct ShellRow {
    int csidl;
    const char* what;
};
const ShellRow kProtectedShellFolders[] = {
    {38, "the Program Files directory"},  {42, "the Program Files directory"},
    {43, "the Common Files directory"},   {44, "the Common Files directory"},
    {kProfileCsidl, "a user profile"},    {11, "the Start Menu folder"},
    {22, "the common Start Menu folder"}, {2, "the Programs folder"},
    {23, "the common Programs folder"},
};

typedef DWORD(WINAPI* LongPathNameFn)(LPCSTR, LPSTR, DWORD);

// The spellings of a directory: its full path as written ("." and ".." resolved), with short (8.3)
// names and with long names, each where Windows gives it. GetFullPathNameA keeps each name as
// written, so "C:\PROGRA~1" and "C:\Program Files" only compare equal in one of the other two forms.
// Windows 95 and NT 4 lack GetLongPathNameA. Empty when there is no full path.
void DirectorySpellings(const char* directory, std::vector<TextItem>& out) {
    out.clear();
    char full[TextItem::kCapacity];
    DWORD length = GetFullPathNameA(directory, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return;
    out.push_back(TextItem(full));
    char other[TextItem::kCapacity];
    length = GetShortPathNameA(full, other, sizeof other);
    if (length > 0 && length < sizeof other) out.push_back(TextItem(other));
    static const LongPathNameFn longPathName = reinterpret_cast<LongPathNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetLongPathNameA")));
    if (!longPathName) return;
    length = longPathName(full, other, sizeof other);
    if (length > 0 && length < sizeof other) out.push_back(TextItem(other));
}

// "C:\Users\name\" gives "C:\Users\".
void ParentDirectory(const char* directory, TextItem& out) {
    TextItem bare(directory);
    int length = bare.Length();
    if (length > 0 && bare.Text()[length - 1] == '\\') bare.Buffer()[length - 1] = 0;
    FileSpec spec;
    spec.SetPath(bare.Text());
    out.Assign(spec.DirectoryPath());
}

void AddProtected(std::vector<ProtectedDirectory>& out, const char* path, const char* what) {
    if (!path || !*path) return;
    out.push_back(ProtectedDirectory{TextItem(path), what});
    std::vector<TextItem> spellings;
    DirectorySpellings(path, spellings);
    for (const TextItem& spelling : spellings) out.push_back(ProtectedDirectory{spelling, what});
}

// Windows 95 and NT 4 shells do not know the Program Files folders; the registry names them there.
// Returns the error of a read that failed (not of a value that is not there), or 0.
LONG AddProtectedFromRegistry(std::vector<ProtectedDirectory>& out) {
    HKEY key;
    LONG failure = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_READ, &key);
    if (failure != ERROR_SUCCESS) return failure == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : failure;
    const struct {
        const char* value;
        const char* what;
    } rows[] = {{"ProgramFilesDir", "the Program Files directory"},
                {"CommonFilesDir", "the Common Files directory"}};
    for (const auto& row : rows) {
        char data[TextItem::kCapacity];
        DWORD size = sizeof data - 1;
        DWORD type = 0;
        LONG result = RegQueryValueExA(key, row.value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND && failure == ERROR_SUCCESS)
            failure = result;
        if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
        data[size < sizeof data ? size : sizeof data - 1] = 0;
        AddProtected(out, data, row.what);
    }
    RegCloseKey(key);
    return failure;
}

// Refused in any of its spellings: the protected directories are listed in all of theirs.
bool OemDirectoryRefusedInAnySpelling(const char* directory, const std::vector<ProtectedDirectory>& guarded,
                                      TextItem& refusal) {
    // As written first: a relative path has full spellings, but they depend on the current directory.
    if (OemDirectoryRefused(directory, guarded, refusal)) return true;
    std::vector<TextItem> spellings;
    DirectorySpellings(directory, spellings);
    if (spellings.empty()) return OemDirectoryRefused("", guarded, refusal);
    for (const TextItem& spelling : spellings)
        if (OemDirectoryRefused(spelling.Text(), guarded, refusal)) return true;
    return false;
}

// zreg32s.ini in the Windows directory waits for zwininit.exe on Win32s, whether or not it could go now.
void ScheduleSetupIni(RemovalContext& ctx) {
    char windows[TextItem::kCapacity];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    TextItem path;
    if (length == 0 || length >= sizeof windows || !JoinPath(path, windows, kSetupIni)) return;
    if (ctx.dryRun) {
        if (GetFileAttributesA(path.Text()) != INVALID_FILE_ATTRIBUTES)
            ctx.Record(kStep, "file", path.Text(), kOutcomePresent);
        return;
    }
    DWORD error = QueueZwininitDelete(path.Text());
    if (error == ERROR_SUCCESS)
        ctx.Record(kStep, "file", path.Text(), kOutcomeDeferred, DeferMechanismName(kDeferZwininit));
    else
        ctx.Record(kStep, "file", path.Text(), kOutcomeFailed, DeferMechanismName(kDeferZwininit), error);
}
}  // namespace

int DeleteFileOrDefer(RemovalContext& ctx, const char* path, const char* step, const char* kind) {
    if (!path || !*path) return 1;
    if (strlen(path) >= static_cast<size_t>(TextItem::kCapacity)) {
        ctx.Record(step, kind, path, kOutcomeKept, kTooLong);
        return 1;
    }
    if (ctx.dryRun) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) return 1;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            ctx.Record(step, kind, path, kOutcomeKept, "a directory, not a file");
        else
            ctx.Record(step, kind, path, kOutcomePresent);
        return 1;
    }
    if (DeleteFileA(path)) {
        ctx.Record(step, kind, path, kOutcomeRemoved);
        return 1;
    }
    DWORD error = GetLastError();
    // Below 4 are ERROR_FILE_NOT_FOUND and ERROR_PATH_NOT_FOUND: nothing there counts as removed.
    if (error < 4) return 1;
    // Only a file that is there can wait for the restart; a name Windows refuses is no file in use.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ctx.Record(step, kind, path, kOutcomeFailed, "", error);
        return 1;
    }
    // DeleteFileA refuses a directory with ERROR_ACCESS_DENIED, as it refuses a file in use. A
    // directory named like a listed file is not that file: it is left alone, not scheduled for the
    // restart (where an empty one would go) with a restart asked for.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        ctx.Record(step, kind, path, kOutcomeKept, "a directory, not a file");
        return 1;
    }
    // A read-only file is refused the same way until its attribute is cleared. Should it still not go,
    // it waits for the restart without the attribute, which could only stand in the way there.
    if (error == ERROR_ACCESS_DENIED && (attributes & FILE_ATTRIBUTE_READONLY)) {
        DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
        if (SetFileAttributesA(path, writable ? writable : FILE_ATTRIBUTE_NORMAL)) {
            if (DeleteFileA(path)) {
                ctx.Record(step, kind, path, kOutcomeRemoved, "was read-only");
                return 1;
            }
            error = GetLastError();
        }
    }
    DeferMechanism mechanism = DeferMechanismFor(ctx.os.GetKind());
    DWORD scheduleError = ScheduleDelete(mechanism, path);
    if (scheduleError == ERROR_SUCCESS) {
        ctx.Record(step, kind, path, kOutcomeDeferred, DeferMechanismName(mechanism), error);
    } else if (mechanism == kDeferZwininit && scheduleError == ERROR_FILE_NOT_FOUND) {
        ctx.Record(step, kind, path, kOutcomeFailed, "no zwininit.exe beside the program", error);
    } else {
        ctx.Record(step, kind, path, kOutcomeFailed, DeferMechanismName(mechanism), scheduleError);
    }
    return 0;
}

bool MachineFileOps::ListDirectory(const char* directory, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    TextItem pattern;
    if (!JoinPath(pattern, directory, "*.*")) {
        RefuseLongPath(directory, "*.*");
        return false;
    }
    ++listings_;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.Text(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
        DirectoryEntry entry;
        entry.name.Assign(data.cFileName);
        entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back(entry);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return true;
}

void MachineFileOps::RemoveEmptyDirectory(const char* directory) {
    if (ctx_.dryRun) return;
    if (RemoveDirectoryA(directory)) ctx_.Record(kStep, "directory", directory, kOutcomeRemoved);
}

void MachineFileOps::RefuseLongPath(const char* directory, const char* name) {
    char detail[2 * TextItem::kCapacity];
    FormatText(detail, sizeof detail, "%s: %s", kTooLong, name);
    ctx_.Record(kStep, "file", directory, kOutcomeKept, detail);
}

void MachineFileOps::KeepRestartHelper(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        ctx_.Record(kStep, "file", path, kOutcomeKept, "a file waits for the restart");
}

long CollectProtectedDirectories(std::vector<ProtectedDirectory>& out) {
    out.clear();
    char path[TextItem::kCapacity];
    UINT length = GetWindowsDirectoryA(path, sizeof path);
    if (length > 0 && length < sizeof path) AddProtected(out, path, "the Windows directory");
    length = GetSystemDirectoryA(path, sizeof path);
    if (length > 0 && length < sizeof path) AddProtected(out, path, "the system directory");
    for (const ShellRow& row : kProtectedShellFolders) {
        TextItem folder;
        ShellFolderPath(row.csidl, folder);
        AddProtected(out, folder.Text(), row.what);
        if (row.csidl == kProfileCsidl && !folder.IsEmpty()) {
            TextItem profiles;
            ParentDirectory(folder.Text(), profiles);
            AddProtected(out, profiles.Text(), "the folder of the user profiles");
        }
    }
    return AddProtectedFromRegistry(out);
}

void BuildFileSearchPlaces(RemovalContext& ctx, FileSearchPlaces& places) {
    places.directories = ctx.searchDirectories;
    places.trees = ctx.searchTrees;
    places.oemDirectories.Clear();
    std::vector<ProtectedDirectory> protectedDirectories;
    long unread = CollectProtectedDirectories(protectedDirectories);
    if (unread)
        ctx.Record(kStep, "oem-path", kCurrentVersionKeyName, kOutcomeFailed,
                   "the Program Files directories it names cannot be guarded",
                   static_cast<unsigned long>(unread));
    for (const TextItem& oemPath : ctx.database.Removal().OemPaths) {
        TextItem directory;
        OemSearchDirectory(oemPath.Text(), directory);
        TextItem refusal;
        if (OemDirectoryRefusedInAnySpelling(directory.Text(), protectedDirectories, refusal)) {
            ctx.Record(kStep, "oem-path", oemPath.Text(), kOutcomeKept, refusal.Text());
            continue;
        }
        places.oemDirectories.Append(directory);
    }
    OrderInnerFirst(places.oemDirectories);
}

void RemoveFilesStep(RemovalContext& ctx) {
    UninstallDatabase& database = ctx.database;
    TextList names, refused;
    FileNamesOf(database.Removal().Files, names, &refused);
    for (const TextItem& name : refused)
        ctx.Record(kStep, "file", name.Text(), kOutcomeKept, "not a file name");
    FileSearchPlaces places;
    BuildFileSearchPlaces(ctx, places);

    bool noPrinterStays = database.RemainingPrinterCount() == 0;
    FilesStepRules rules;
    rules.restartHelperAllowed = noPrinterStays && !ctx.os.IsWin32s();
    rules.rebootAlreadyNeeded = database.RebootNeeded() != 0;
    MachineFileOps ops(ctx);
    if (RemoveFilesInOnePass(ops, places, names, rules)) database.SetRebootNeeded(1);

    if (noPrinterStays && ctx.os.IsWin32s() && names.Contains(kSetupIni)) ScheduleSetupIni(ctx);
}
