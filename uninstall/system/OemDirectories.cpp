#include "OemDirectories.h"

#include <cstring>

#include "script/FileSpec.h"

namespace {
inline bool IsSlash(char c) {
    return c == '\\' || c == '/';
}

size_t LengthWithoutSlash(const char* path) {
    size_t length = strlen(path);
    while (length > 0 && IsSlash(path[length - 1])) --length;
    return length;
}

bool IsRoot(const char* path) {
    size_t length = LengthWithoutSlash(path);
    if (length == 0) return true;                    // "\": the current drive's root
    if (length == 2 && path[1] == ':') return true;  // "C:\"
    if (!(IsSlash(path[0]) && IsSlash(path[1]))) return false;
    // "\\server\share": a share's root has at most two components after the leading slashes.
    int components = 0;
    bool inComponent = false;
    for (size_t i = 2; i < length; ++i) {
        if (IsSlash(path[i])) {
            inComponent = false;
        } else if (!inComponent) {
            inComponent = true;
            ++components;
        }
    }
    return components <= 2;
}

bool SameDirectory(const char* a, const char* b) {
    size_t length = LengthWithoutSlash(a);
    return length > 0 && length == LengthWithoutSlash(b) && CompareNoCaseN(a, b, length) == 0;
}
}  // namespace

void OemSearchDirectory(const char* oemPath, TextItem& directory) {
    FileSpec spec;
    spec.SetPath(oemPath);
    directory.Assign(spec.DirectoryPath());
}

const char* OemDirectoryRefusal(const char* directory,
                                const std::vector<ProtectedDirectory>& protectedDirectories) {
    if (!directory || !*directory) return "names no directory";
    if (IsRoot(directory)) return "a drive or share root";
    for (const ProtectedDirectory& guarded : protectedDirectories)
        if (SameDirectory(directory, guarded.path.Text())) return guarded.what;
    return nullptr;
}

void OrderInnerFirst(TextList& directories) {
    directories.Sort();
    directories.Unique();
    directories.Reverse();
}
