#pragma once
// Removing the DeleteIni entries from INI files of the Windows directory.
#include "spooler/RemovalContext.h"

// Whether the INI file at path holds key in a section named section, as IniText.h matches it. The
// file is read as text, not through the profile functions; a file that cannot be opened or is
// empty holds nothing. *error (when given) receives the Windows error of a file that cannot be read.
bool FindIniEntryInFile(const char* path, const char* section, const char* key, DWORD* error = NULL);
// Removes the key's line from the file, rewriting the file in place from that line on. Returns 1
// when the file was rewritten; 0 when the key was not found or the file could not be opened or
// written (*error, when given, receives the Windows error, or 0 when there was nothing to remove).
int RemoveIniEntryFromFile(const char* path, const char* section, const char* key, DWORD* error = NULL);

void RemoveIniEntriesStep(RemovalContext& ctx);
