#pragma once
// A path split into drive, directory, name and extension, and the numbered well-known locations
// that every part of the tool uses to name directories. The splitting and joining compile without
// <windows.h>; ResolveLocation, SearchFile and Exists are the Windows side (FileSpec.cpp).
#include <cstddef>

#include "TextItem.h"

// Raised by a caller when a location cannot be resolved. Nothing catches it: it ends the program.
class CFileSpecException {
public:
    explicit CFileSpecException(int code = 1) : code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

class FileSpec {
public:
    void Clear();

    // Splits a path by the platform's rules: a drive when the second character is ':', the
    // directory up to the last '\' or '/', the extension from the last '.' after the directory.
    void SetPath(const char* path);

    // Clears the record and fills it with a well-known location (Locations.h). Always true;
    // numbers without a location, and locations the platform cannot answer, leave it empty.
    bool ResolveLocation(int location);

    // Joins into result and returns it: ':' after a bare drive letter, '\' after a directory that
    // lacks one, '.' before an extension that lacks one.
    const char* FullPath();
    const char* DirectoryPath();
    const char* NameAndExtension();

    // Looks for name and extension along searchPath (null: the platform's default order); on success
    // the record takes the found path, otherwise it is left unchanged.
    bool SearchFile(const char* searchPath);
    // True when a file (not a directory) is at FullPath. No access is asked, so a file that another
    // program holds open without sharing counts as well.
    bool Exists();

    // Appends "name\" to the directory (an empty name changes nothing); returns FullPath.
    const char* AppendSubdirectory(const char* name);

    TextItem drive;
    TextItem directory;
    TextItem fileName;
    TextItem extension;
    TextItem result;
};

// True for a path that names one place whatever the current directory and drive: a drive letter
// with ':' and a slash, or a UNC path ("\\server\share").
bool IsFullPath(const char* path);

// A shell folder (CSIDL value) as a path ending in a backslash; empty on Win32s, when the shell cannot
// answer, or when the path leaves no room for the backslash (Windows only, FileSpec.cpp).
void ShellFolderPath(int csidl, TextItem& out);

// Appends '\' unless the text is empty or already ends with one. Returns 0 when it did not fit.
int AppendBackslash(char* text, size_t capacity);
int AppendBackslash(TextItem& text);
