#pragma once
// Removes duplicate Start-menu shortcuts that the installer may leave: of each pair of names, the
// second shortcut goes when the first one exists. The first of a pair is never touched.

// Deletes folder + duplicateName when folder + keptName exists (folder ends with a separator).
void DeleteDuplicateShortcut(const char* folder, const char* keptName, const char* duplicateName);

// Both pairs, relative to the Programs folder; does nothing when that folder is unknown.
void CleanDuplicateShortcuts(const char* keepA, const char* duplicateA, const char* keepB,
                             const char* duplicateB);
