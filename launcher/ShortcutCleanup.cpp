#include "ShortcutCleanup.h"

#include <windows.h>

#include "BoundedFormat.h"
#include "ProgramsFolder.h"

void DeleteDuplicateShortcut(const char* folder, const char* keptName, const char* duplicateName) {
    // An unset name would make the pair's test look at the folder itself.
    if (keptName[0] == '\0' || duplicateName[0] == '\0') return;
    char keptPath[MAX_PATH];
    char duplicatePath[MAX_PATH];
    if (!FormatBounded(keptPath, sizeof keptPath, "%s%s", folder, keptName)) return;
    if (!FormatBounded(duplicatePath, sizeof duplicatePath, "%s%s", folder, duplicateName)) return;
    // The result is ignored: a duplicate that cannot be deleted just stays.
    if (GetFileAttributesA(keptPath) != INVALID_FILE_ATTRIBUTES) DeleteFileA(duplicatePath);
}

void CleanDuplicateShortcuts(const char* keepA, const char* duplicateA, const char* keepB,
                             const char* duplicateB) {
    char folder[MAX_PATH];
    if (!GetProgramsFolder(folder)) return;
    DeleteDuplicateShortcut(folder, keepA, duplicateA);
    DeleteDuplicateShortcut(folder, keepB, duplicateB);
}
