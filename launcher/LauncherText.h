#pragma once
// The launcher's reading of text it does not control: the switches of its string table and the lines
// of the INF files in the Windows INF directory. Plain C library only, so it builds natively as well.
#include <cstdio>

// Longest line kept of an INF file, line end and terminator included.
const int kInfLineSize = 260;

// "_YES_" exactly gives 1; any other text gives the decimal number at its start (leading blanks and a
// sign allowed, 0 when there is none, clamped to the range of a long), seen as unsigned.
unsigned ParseConfigSwitch(const char* text);

// True when line number lineNumber (counted from 1) of the open text file exists and begins with
// lineText (case-sensitive). Only the first kInfLineSize - 1 characters of a line are compared, and a
// longer line still counts as one line. Line 0 and an empty lineText match nothing.
bool InfLineBeginsWith(FILE* file, unsigned lineNumber, const char* lineText);
