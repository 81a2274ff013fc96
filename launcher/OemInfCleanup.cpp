#include "OemInfCleanup.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "BoundedFormat.h"

// Reads one line into line (cut to its first MAX_PATH - 1 characters); false at the end of the file.
// The rest of an overlong line is skipped, so that line numbers count the lines of the file and a
// piece of a long line is never taken for the line that identifies the package.
static bool ReadLine(FILE* file, char* line) {
    if (!std::fgets(line, MAX_PATH, file)) return false;
    if (!std::strchr(line, '\n')) {
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') {
        }
    }
    return true;
}

bool IsPackageInfFile(const char* path, unsigned lineNumber, const char* lineText) {
    // An empty text would match every INF file on the machine, other makers' included.
    size_t textLength = std::strlen(lineText);
    if (lineNumber == 0 || textLength == 0) return false;
    FILE* file = std::fopen(path, "r");
    if (!file) return false;
    char line[MAX_PATH];
    unsigned linesRead = 0;
    bool found = false;
    while (linesRead < lineNumber && ReadLine(file, line)) {
        if (++linesRead == lineNumber) found = std::strncmp(line, lineText, textLength) == 0;
    }
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
