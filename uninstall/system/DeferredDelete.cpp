#include "DeferredDelete.h"

#include <cstring>

#include "script/FileSpec.h"
#include "shell/OSInfo.h"
#include "system/FileSweep.h"
#include "system/WininitText.h"

namespace {
const char kRenameHeader[] = "[RENAME]\r\n";

DWORD LastErrorOr(DWORD fallback) {
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

DWORD WriteAll(HANDLE file, const char* text) {
    DWORD length = static_cast<DWORD>(strlen(text));
    DWORD written = 0;
    if (!WriteFile(file, text, length, &written, nullptr)) return LastErrorOr(ERROR_WRITE_FAULT);
    return written == length ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

// The path as WININIT.INI should name it: the short form when the file system gives one that fits.
void WininitPathOf(const char* path, TextItem& out) {
    char shortPath[TextItem::kCapacity];
    DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
    out.Assign(length > 0 && length < sizeof shortPath ? shortPath : path);
}
}  // namespace

DeferMechanism DeferMechanismFor(int osKind) {
    switch (osKind) {
        case COSInfo::kKindWin32s:
        case COSInfo::kKindNT3:
            return kDeferZwininit;
        case COSInfo::kKindWin95:
        case COSInfo::kKindWin98:
        case COSInfo::kKindWinMe:
            return kDeferWininit;
        default:
            return kDeferMoveFileEx;
    }
}

const char* DeferMechanismName(DeferMechanism mechanism) {
    switch (mechanism) {
        case kDeferWininit:
            return "WININIT.INI";
        case kDeferZwininit:
            return "zwininit.ini";
        case kDeferMoveFileEx:
            break;
    }
    return "MoveFileEx";
}

DWORD ScheduleDelete(DeferMechanism mechanism, const char* path) {
    switch (mechanism) {
        case kDeferWininit:
            return QueueWininitDelete(path);
        case kDeferZwininit:
            return QueueZwininitDelete(path);
        case kDeferMoveFileEx:
            break;
    }
    if (!MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return LastErrorOr(ERROR_GEN_FAILURE);
    return ERROR_SUCCESS;
}

DWORD QueueWininitDelete(const char* path) {
    char windows[TextItem::kCapacity];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return LastErrorOr(ERROR_PATH_NOT_FOUND);
    TextItem wininit;
    if (!JoinPath(wininit, windows, "WININIT.INI")) return ERROR_FILENAME_EXCED_RANGE;

    // The line is made before the file is touched, so a refused path leaves the file as it was.
    TextItem written;
    WininitPathOf(path, written);
    char line[TextItem::kCapacity];
    if (!FormatWininitLine(line, sizeof line, written.Text())) return ERROR_FILENAME_EXCED_RANGE;

    HANDLE file = CreateFileA(wininit.Text(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastErrorOr(ERROR_OPEN_FAILED);

    WininitTail tail;
    char chunk[512];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) tail.Feed(chunk, got);

    DWORD result = ERROR_SUCCESS;
    if (SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        result = GetLastError();
    if (result == ERROR_SUCCESS && !tail.LineEnded()) result = WriteAll(file, "\r\n");
    if (result == ERROR_SUCCESS && !tail.InRenameSection()) result = WriteAll(file, kRenameHeader);
    if (result == ERROR_SUCCESS) result = WriteAll(file, line);
    CloseHandle(file);
    return result;
}

DWORD QueueZwininitDelete(const char* path) {
    char program[TextItem::kCapacity];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) return LastErrorOr(ERROR_INSUFFICIENT_BUFFER);
    FileSpec spec;
    spec.SetPath(program);
    TextItem directory(spec.DirectoryPath());
    TextItem helper;
    TextItem list;
    if (!JoinPath(helper, directory.Text(), "zwininit.exe") ||
        !JoinPath(list, directory.Text(), "zwininit.ini"))
        return ERROR_FILENAME_EXCED_RANGE;

    HANDLE file = CreateFileA(helper.Text(), GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastErrorOr(ERROR_FILE_NOT_FOUND);
    CloseHandle(file);

    if (strchr(path, '=')) return ERROR_INVALID_NAME;
    if (!WritePrivateProfileStringA("RENAME", path, "NUL", list.Text()))
        return LastErrorOr(ERROR_WRITE_FAULT);
    return ERROR_SUCCESS;
}
