#pragma once
// Removes the copies of this package's INF file that an earlier installation left in the Windows INF
// directory, so that the installer about to run does not pick up a stale one.

// True when line number lineNumber (counted from 1) of the text file exists and begins with lineText
// (case-sensitive). Line 0 and an empty lineText match no file.
bool IsPackageInfFile(const char* path, unsigned lineNumber, const char* lineText);

// Deletes every oem*.inf of infDirectory (which ends with a separator) that IsPackageInfFile accepts,
// read-only, hidden or system ones included, together with its precompiled .PNF file.
void CleanOemInfFilesIn(const char* infDirectory, unsigned lineNumber, const char* lineText);

// The same for the Windows directory's "inf" folder.
void CleanOemInfFiles(unsigned lineNumber, const char* lineText);
