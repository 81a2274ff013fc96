#include "OemInfCleanup.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "BoundedFormat.h"
#include "LauncherText.h"

bool IsPackageInfFile(const char* path, unsigned lineNumber, const char* lineText) {
    FILE* file = std::fopen(path, "r");
    if (!file) return false;
    bool found = InfLineBeginsWith(file, lineNumber, lineText);
    std::fclose(file);
    return found;
}

// Clears read-only, hidden and system (the low three attribute bits), which would make DeleteFileA
// fail, and deletes the file; the precompiled copy beside it gets the same attributes and goes too.
static void DeleteInfAndPnf(const char* infPath, DWORD foundAttributes) {
    DWORD attributes = foundAttributes & ~static_cast<DWORD>(7);
    SetFileAttributesA(infPath, attributes);
    DeleteFileA(infPath);

    char pnfPath[MAX_PATH];
    size_t length = std::strlen(infPath);
    if (length < 3 || length >= sizeof pnfPath) return;
    std::memcpy(pnfPath, infPath, length - 3);
    std::memcpy(pnfPath + length - 3, "PNF", 4);
    if (GetFileAttributesA(pnfPath) == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(pnfPath, attributes);
    DeleteFileA(pnfPath);
}

void CleanOemInfFilesIn(const char* infDirectory, unsigned lineNumber, const char* lineText) {
    char pattern[MAX_PATH];
    if (!FormatBounded(pattern, sizeof pattern, "%soem*.inf", infDirectory)) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char path[MAX_PATH];
        if (!FormatBounded(path, sizeof path, "%s%s", infDirectory, found.cFileName)) continue;
        if (IsPackageInfFile(path, lineNumber, lineText)) DeleteInfAndPnf(path, found.dwFileAttributes);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void CleanOemInfFiles(unsigned lineNumber, const char* lineText) {
    char windowsDirectory[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
    if (length == 0 || length >= sizeof windowsDirectory) return;
    // Appended as it stands: the Windows directory never ends with a separator except at a root.
    char infDirectory[MAX_PATH];
    if (!FormatBounded(infDirectory, sizeof infDirectory, "%s\\inf\\", windowsDirectory)) return;
    CleanOemInfFilesIn(infDirectory, lineNumber, lineText);
}
