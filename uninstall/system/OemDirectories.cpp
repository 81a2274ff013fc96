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

// "C:\A" holds "C:\A\B" and everything below it, but not "C:\AB".
bool Holds(const char* outer, const char* inner) {
    size_t length = LengthWithoutSlash(outer);
    return length > 0 && LengthWithoutSlash(inner) > length && CompareNoCaseN(outer, inner, length) == 0 &&
           IsSlash(inner[length]);
}
}  // namespace

void OemSearchDirectory(const char* oemPath, TextItem& directory) {
    FileSpec spec;
    spec.SetPath(oemPath);
    directory.Assign(spec.DirectoryPath());
}

bool OemDirectoryRefused(const char* directory, const std::vector<ProtectedDirectory>& protectedDirectories,
                         TextItem& refusal) {
    refusal.Clear();
    if (!directory || !*directory) {
        refusal.Assign("names no directory");
    } else if (IsRoot(directory)) {
        refusal.Assign("a drive or share root");
    } else {
        for (const ProtectedDirectory& guarded : protectedDirectories)
            if (refusal.IsEmpty() && SameDirectory(directory, guarded.path.Text()))
                refusal.Assign(guarded.what);
        for (const ProtectedDirectory& guarded : protectedDirectories) {
            if (refusal.IsEmpty() && Holds(directory, guarded.path.Text())) {
                refusal.Assign("holds ");
                refusal.Append(guarded.what);
            }
        }
    }
    return !refusal.IsEmpty();
}

void OrderInnerFirst(TextList& directories) {
    directories.Sort();
    directories.Unique();
    directories.Reverse();
}
