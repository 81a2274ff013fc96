#pragma once
// Finding and removing one key line of an INI file, on the file's text in memory. The text need not
// be terminated and may hold any bytes; no scan leaves [text, text + length).
//
// A key counts only where the profile functions would read it: as the whole key of a line (after
// leading blanks, followed by "=", a blank or the line end) inside a section of the given name.
// A key behind ";", a key that merely begins with the name, or the name inside a value is not it,
// so removing an entry never takes another program's line with it.
#include <cstddef>

// Longest section header ("[" + section + "]") and key compared. Longer ones are refused rather
// than cut: a cut name could match another section or key.
const size_t kIniNameLimit = 63;

// A line of the text: bytes [start, end), its line end (LF or CR LF) included.
struct IniLine {
    size_t start = 0;
    size_t end = 0;
};

// Finds the first line that holds key in a section named section (both ignoring case); every
// section of that name is searched. False when there is none, or when section or key is empty or
// too long.
bool FindIniEntry(const char* text, size_t length, const char* section, const char* key,
                  IniLine* line = nullptr);

// Removes the line FindIniEntry finds, moving the rest of the text up; *length becomes the new
// length. Returns 1 when a line was removed, 0 when nothing changed.
int RemoveIniEntryLine(char* text, size_t* length, const char* section, const char* key);
