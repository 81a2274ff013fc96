#pragma once
// Finds the package's installer: the program that lies in a directory together with the companion
// file (a copy of the uninstall tool), somewhere in a directory tree.

struct ProgramSearch {
    const char* program;       // file name of the installer, matched case-sensitively
    const char* companion;     // file that must lie in the installer's directory
    unsigned long visitLimit;  // no listing starts once more entries than this have been visited
    unsigned long visits;      // directory entries visited so far, "." and ".." included
};

// Searches directory and its subdirectories depth-first, in the order the file system lists them.
// Every find overwrites result (MAX_PATH bytes) with "directory\program", so the last find wins; the
// limit is tested only when a listing starts, so a listing in progress always completes. Paths that
// do not fit into MAX_PATH are skipped.
void FindProgramInTree(ProgramSearch& search, const char* directory, char* result);

// Searches the tree below directory with a fresh visit counter and, when an installer is found,
// runs it and waits for it to end.
void FindAndRunInstaller(const char* directory, const char* program, const char* companion,
                         unsigned long visitLimit);
