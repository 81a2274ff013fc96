#pragma once
// Finding the removal profile's files in the search locations and deleting them. The walks reach the
// machine only through FileSweepOps, so the same code runs on Windows (FileRemoval.cpp) and on an
// in-memory tree in the unit tests.
//
// Two forms give the same deletions, deferrals and directory removals:
// - one name at a time (DeleteMatchingFiles, RemoveFileEverywhere, RemoveFilesOneAtATime): every
//   directory is listed once per name; kept as the reference the one-pass form is measured against;
// - one pass (RemoveFilesInOnePass): every directory is listed once per search root, and each entry
//   is matched against all names at once. The files step uses this one.
#include <vector>

#include "script/TextItem.h"
#include "script/TextList.h"

// Deleted by the files step when no printer of the maker stays, nothing had to wait for a restart and
// this is not Win32s.
extern const char kRestartHelperName[];

struct DirectoryEntry {
    TextItem name;
    bool isDirectory = false;
};

class FileSweepOps {
public:
    virtual ~FileSweepOps() {}
    // Every entry of the directory, "." and ".." included; false when it cannot be listed.
    virtual bool ListDirectory(const char* directory, std::vector<DirectoryEntry>& entries) = 0;
    // 1 when the file is gone (deleted now, or not there), 0 when it stays until the next restart.
    virtual int DeleteOrDefer(const char* path) = 0;
    // Removes the directory if it is empty; a failure is ignored.
    virtual void RemoveEmptyDirectory(const char* directory) = 0;
    // directory joined with name does not fit 260 bytes: nothing is done with it.
    virtual void RefuseLongPath(const char* directory, const char* name) = 0;
    // The restart helper at path, if it is there, stays because a file waits for the restart.
    virtual void KeepRestartHelper(const char* /*path*/) {}
};

// directory, a backslash unless it is empty or ends with one, and name. False, with out empty, when
// the path would not fit a TextItem: a cut path could name another file.
bool JoinPath(TextItem& out, const char* directory, const char* name);

// Where the files step looks; every path ends with a backslash.
struct FileSearchPlaces {
    TextList directories;  // the file's name is tried in each, without listing
    TextList trees;        // listed two levels deep
    // Listed three levels deep; subdirectories left empty and the directory itself are removed.
    // A directory that lies inside another comes first (FileRemoval.cpp orders them), so the outer
    // walk sees what the inner one emptied.
    TextList oemDirectories;
};

// The file names of Files entries: each cut at its first "=", empty names dropped, sorted, and
// duplicates ignoring case dropped ("A.DLL" and "A.DLL=1" name one file). A name whose name and
// extension no file can carry (wildcards, characters Windows refuses in file names) goes to refused
// instead (sorted the same way), when given.
void FileNamesOf(const TextList& files, TextList& names, TextList* refused = nullptr);

// Takes out of a Files list every entry that names one of the files of kept (paths or names,
// compared by name and extension ignoring case): the files of a component the spooler keeps.
void KeepFiles(TextList& files, const TextList& kept);

// Deletes every file called name in directory and, while depth is above 0, in its subdirectories
// (those whose names begin with "." are never entered). With removeSubdirectories, each
// subdirectory walked is removed afterwards if it is empty. 1 when a file had to be deferred.
int DeleteMatchingFiles(FileSweepOps& ops, const char* directory, const char* name, int depth,
                        bool removeSubdirectories);
// The name in every search location: its name and extension in the directories and trees, the name
// as written under the OEM directories. 1 when a file had to be deferred.
int RemoveFileEverywhere(FileSweepOps& ops, const FileSearchPlaces& places, const char* name);

struct FilesStepRules {
    // No printer of the maker stays and this is not Win32s: kRestartHelperName goes as well when
    // nothing had to be deferred.
    bool restartHelperAllowed = false;
    // The reboot-needed flag as the step finds it (the services step sets it on Windows 9x).
    bool rebootAlreadyNeeded = false;
};

// The whole step over prepared names (FileNamesOf); 1 when a file had to be deferred.
int RemoveFilesOneAtATime(FileSweepOps& ops, const FileSearchPlaces& places, const TextList& names,
                          const FilesStepRules& rules);
int RemoveFilesInOnePass(FileSweepOps& ops, const FileSearchPlaces& places, const TextList& names,
                         const FilesStepRules& rules);
