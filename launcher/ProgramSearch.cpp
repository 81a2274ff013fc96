#include "ProgramSearch.h"

#include <windows.h>

#include <cstring>

#include "BoundedFormat.h"
#include "RunAndWait.h"

static bool FileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

static bool IsDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

static bool HoldsCompanion(const ProgramSearch& search, const char* directory) {
    char companionPath[MAX_PATH];
    return FormatBounded(companionPath, sizeof companionPath, "%s\\%s", directory, search.companion) &&
           FileExists(companionPath);
}

void FindProgramInTree(ProgramSearch& search, const char* directory, char* result) {
    if (search.visits > search.visitLimit) return;
    char pattern[MAX_PATH];
    if (!FormatBounded(pattern, sizeof pattern, "%s\\*.*", directory)) return;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(pattern, &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        ++search.visits;
        if (IsDotEntry(found.cFileName)) continue;
        char entryPath[MAX_PATH];
        if (!FormatBounded(entryPath, sizeof entryPath, "%s\\%s", directory, found.cFileName)) continue;
        if (std::strcmp(found.cFileName, search.program) == 0 && HoldsCompanion(search, directory)) {
            std::memcpy(result, entryPath, std::strlen(entryPath) + 1);
        } else if (GetFileAttributesA(entryPath) & FILE_ATTRIBUTE_DIRECTORY) {
            // A failing call (all bits set) also lands here; its listing is then simply empty.
            FindProgramInTree(search, entryPath, result);
        }
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
}

void FindAndRunInstaller(const char* directory, const char* program, const char* companion,
                         unsigned long visitLimit) {
    ProgramSearch search = {program, companion, visitLimit, 0};
    char installer[MAX_PATH] = "";
    FindProgramInTree(search, directory, installer);
    if (installer[0] != '\0' && FileExists(installer)) RunAndWait(installer);
}
