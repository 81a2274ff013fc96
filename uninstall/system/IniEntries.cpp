#include "IniEntries.h"

#include <vector>

#include "EntryFields.h"
#include "IniText.h"
#include "script/FileSpec.h"
#include "script/Locations.h"
#include "script/UninstallDatabase.h"

namespace {
const char kStep[] = "ini";
// INI files are small; anything larger is not one the maker's installers wrote.
const DWORD kLargestIniFile = 16 * 1024 * 1024;

class IniFile {
public:
    // Opens an existing file and reads all of it; access GENERIC_READ, or with GENERIC_WRITE for an
    // edit, while others may still read it.
    IniFile(const char* path, DWORD access) {
        handle_ =
            CreateFileA(path, access, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (handle_ == INVALID_HANDLE_VALUE) {
            error_ = GetLastError();
            return;
        }
        DWORD size = GetFileSize(handle_, NULL);
        if (size == INVALID_FILE_SIZE || size > kLargestIniFile) {
            error_ = size == INVALID_FILE_SIZE ? GetLastError() : ERROR_FILE_TOO_LARGE;
            return;
        }
        text_.resize(size);
        DWORD read = 0;
        if (size > 0 && !ReadFile(handle_, text_.data(), size, &read, NULL)) error_ = GetLastError();
        text_.resize(read);
    }
    ~IniFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    bool IsRead() const { return handle_ != INVALID_HANDLE_VALUE && error_ == 0; }
    DWORD Error() const { return error_; }
    std::vector<char>& Text() { return text_; }

    // Writes text[from, length) at offset from and ends the file there.
    bool WriteTail(size_t from, size_t length) {
        DWORD count = static_cast<DWORD>(length - from);
        DWORD written = 0;
        bool ok =
            SetFilePointer(handle_, static_cast<LONG>(from), NULL, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
            (count == 0 ||
             (WriteFile(handle_, text_.data() + from, count, &written, NULL) && written == count)) &&
            SetEndOfFile(handle_);
        if (!ok) error_ = GetLastError();
        return ok;
    }

private:
    HANDLE handle_;
    DWORD error_ = 0;
    std::vector<char> text_;
};

// The profile functions keep INI files in a cache and write it back later; Windows 9x does not look
// at the file again while it holds it. This step edits the files themselves, so what the cache holds
// is written out before a file is read (the printers step has just written win.ini through it), and
// dropped after the file is rewritten. win.ini is also cached apart, for the functions without a
// file name.
void FlushProfileCache(const char* path) {
    WritePrivateProfileStringA(NULL, NULL, NULL, path);
    WriteProfileStringA(NULL, NULL, NULL);
}

void SetError(DWORD* error, DWORD value) {
    if (error) *error = value;
}

// The file of a DeleteIni entry: only its name and extension count, taken in the Windows directory.
// False when the joined path would not fit (a cut path would name another file).
bool IniFilePath(const char* fileField, TextItem& path) {
    FileSpec windows;
    windows.ResolveLocation(kLocWindowsDir);
    FileSpec file;
    file.SetPath(fileField);
    TextItem name(file.NameAndExtension());
    path.Assign(windows.DirectoryPath());
    return !path.IsEmpty() && !name.IsEmpty() && path.Append(name.Text());
}
}  // namespace

bool FindIniEntryInFile(const char* path, const char* section, const char* key, DWORD* error) {
    IniFile file(path, GENERIC_READ);
    SetError(error, file.Error());
    if (!file.IsRead()) return false;
    return FindIniEntry(file.Text().data(), file.Text().size(), section, key);
}

int RemoveIniEntryFromFile(const char* path, const char* section, const char* key, DWORD* error) {
    IniFile file(path, GENERIC_READ | GENERIC_WRITE);
    SetError(error, file.Error());
    if (!file.IsRead()) return 0;
    IniLine line;
    if (!FindIniEntry(file.Text().data(), file.Text().size(), section, key, &line)) return 0;
    size_t length = file.Text().size();
    RemoveIniEntryLine(file.Text().data(), &length, section, key);
    if (!file.WriteTail(line.start, length)) {
        SetError(error, file.Error());
        return 0;
    }
    return 1;
}

void RemoveIniEntriesStep(RemovalContext& ctx) {
    for (const TextItem& entry : ctx.database.Removal().DeleteIni) {
        IniEntryFields fields;
        TextItem path;
        if (!SplitIniEntry(entry.Text(), fields)) {
            ctx.Record(kStep, "ini-entry", entry.Text(), kOutcomeKept, "not a file,section,key entry");
            continue;
        }
        TextItem object("[");
        object.Append(fields.section.Text());
        object.Append("] ");
        object.Append(fields.key.Text());
        if (fields.section.Length() + 2 > static_cast<int>(kIniNameLimit) ||
            fields.key.Length() > static_cast<int>(kIniNameLimit)) {
            ctx.Record(kStep, "ini-entry", object.Text(), kOutcomeKept, "section or key name too long", 0,
                       fields.file.Text());
            continue;
        }
        if (!IniFilePath(fields.file.Text(), path)) {
            ctx.Record(kStep, "ini-entry", object.Text(), kOutcomeKept, "no usable file path", 0,
                       fields.file.Text());
            continue;
        }
        DWORD error = 0;
        FlushProfileCache(path.Text());
        bool found = FindIniEntryInFile(path.Text(), fields.section.Text(), fields.key.Text(), &error);
        // Someone protected the file; Windows would refuse the edit, and one that runs with more
        // rights (Wine as root) must not make it anyway.
        DWORD attributes = GetFileAttributesA(path.Text());
        if (found && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            ctx.Record(kStep, "ini-entry", object.Text(), kOutcomeKept, "the file is read-only", 0,
                       path.Text());
            continue;
        }
        if (ctx.dryRun) {
            if (found) ctx.Record(kStep, "ini-entry", object.Text(), kOutcomePresent, "", 0, path.Text());
            continue;
        }
        if (!found) {
            bool missing = error == 0 || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
            ctx.Record(kStep, "ini-entry", object.Text(), missing ? kOutcomeNotPresent : kOutcomeFailed, "",
                       missing ? 0 : error, path.Text());
            continue;
        }
        if (RemoveIniEntryFromFile(path.Text(), fields.section.Text(), fields.key.Text(), &error)) {
            FlushProfileCache(path.Text());
            ctx.Record(kStep, "ini-entry", object.Text(), kOutcomeRemoved, "", 0, path.Text());
        } else {
            ctx.Record(kStep, "ini-entry", object.Text(), kOutcomeFailed, "", error, path.Text());
        }
    }
}
