#pragma once
// The load line of win.ini's [windows] section on Win32s: program names separated by spaces, each
// started at log-on.

// Removes program from line, in place. Only the first occurrence of program is looked at: it counts
// when it stands at the start of the line or after a space and is followed by a space or the line
// end; then it goes with the one space after it. Later occurrences are never examined, so
// "xabc.exe abc.exe" keeps abc.exe. The comparison is exact: the caller lower-cases both texts.
// Returns 1 when the line changed.
int RemoveLoadLineProgram(char* line, const char* program);
