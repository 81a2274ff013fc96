#include <windows.h>

#include <cstring>

#include "BoundedText.h"
#include "FileSpec.h"
#include "Locations.h"
#include "ScriptReader.h"
#include "UninstallDatabase.h"

namespace {
// directory "\" name; false when the joined path would not fit in a path buffer.
bool JoinPath(char* path, size_t capacity, const char* directory, const char* name) {
    size_t length = strlen(directory);
    bool hasSlash = length > 0 && (directory[length - 1] == '\\' || directory[length - 1] == '/');
    return FormatText(path, capacity, hasSlash ? "%s%s" : "%s\\%s", directory, name) != 0;
}
}  // namespace

unsigned long UninstallDatabase::FindScripts(TextList& list, const char* directory, const char* fileName) {
    if (!directory || !*directory || !fileName || !*fileName) return 0;
    SetCurrentDirectoryA(directory);
    // The search names the directory itself: were the directory change to fail, a bare name would
    // search whatever directory happened to be current and report its files under this one.
    char pattern[MAX_PATH];
    unsigned long error = 0;
    if (JoinPath(pattern, sizeof pattern, directory, fileName)) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern, &found);
        if (search == INVALID_HANDLE_VALUE) {
            // No such file, or no such directory (the driver directory's "3" on many systems), is an
            // answer; a refused search is not.
            error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES)
                error = 0;
        } else {
            do {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                char path[MAX_PATH];
                // A path that would be cut could name another file; it is left out.
                if (JoinPath(path, sizeof path, directory, found.cFileName)) list.Append(path);
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
    }
    // With its closing backslash: for a program at a drive root "C:" alone would name the drive's
    // current directory, which is the directory just searched.
    FileSpec program;
    program.ResolveLocation(kLocProgramDir);
    if (!program.directory.IsEmpty()) SetCurrentDirectoryA(program.DirectoryPath());
    return error;
}

bool UninstallDatabase::LoadScript(const char* path, ScriptLoadNote* note) {
    // A script that cannot be read ("failed to open file") contributes nothing; the loading sequence
    // goes on with the next one.
    ScriptLoadNote ignored;
    if (!note) note = &ignored;
    *note = ScriptLoadNote();
    ScriptReader reader;
    if (!reader.Load(path)) {
        note->failure = "cannot be read";
        note->error = reader.LoadError();
        return false;
    }
    note->linesLeftOut = reader.LeftOutLines();
    if (!LoadScriptFromReader(reader, path)) {
        note->failure = "no starter sections";
        return false;
    }
    return true;
}
