#include <windows.h>

#include <cstring>

#include "BoundedText.h"
#include "ScriptReader.h"
#include "UninstallDatabase.h"

namespace {
// The directory of the running program, without a trailing backslash.
void ProgramDirectory(char* directory, size_t capacity) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        CopyText(directory, capacity, "");
        return;
    }
    char* slash = strrchr(path, '\\');
    if (slash) *slash = 0;
    CopyText(directory, capacity, path);
}

// directory "\" name; false when the joined path would not fit in a path buffer.
bool JoinPath(char* path, size_t capacity, const char* directory, const char* name) {
    size_t length = strlen(directory);
    bool hasSlash = length > 0 && (directory[length - 1] == '\\' || directory[length - 1] == '/');
    return FormatText(path, capacity, hasSlash ? "%s%s" : "%s\\%s", directory, name) != 0;
}
}  // namespace

void UninstallDatabase::FindScripts(TextList& list, const char* directory, const char* fileName) {
    if (!directory || !*directory || !fileName || !*fileName) return;
    SetCurrentDirectoryA(directory);
    // The search names the directory itself: were the directory change to fail, a bare name would
    // search whatever directory happened to be current and report its files under this one.
    char pattern[MAX_PATH];
    if (JoinPath(pattern, sizeof pattern, directory, fileName)) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern, &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                char path[MAX_PATH];
                // A path that would be cut could name another file; it is left out.
                if (JoinPath(path, sizeof path, directory, found.cFileName)) list.Append(path);
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
    }
    char programDirectory[MAX_PATH];
    ProgramDirectory(programDirectory, sizeof programDirectory);
    if (programDirectory[0]) SetCurrentDirectoryA(programDirectory);
}

bool UninstallDatabase::LoadScript(const char* path) {
    // A script that cannot be read ("failed to open file") contributes nothing and is not reported:
    // the loading sequence goes on with the next one.
    ScriptReader reader;
    if (!reader.Load(path)) return false;
    return LoadScriptFromReader(reader, path);
}
