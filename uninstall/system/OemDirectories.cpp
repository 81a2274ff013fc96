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

// "C:\" and the like: a full path on a drive, which is all an installer writes here. Any other
// form names a directory through something the protected directories are not listed under: the
// current directory ("Maker\", "\Maker\", "C:Maker\"), a share ("\\server\share\", which may
// also be this computer's own "\\localhost\C$\Windows") or a device path ("\\?\C:\Windows").
bool IsDrivePath(const char* path) {
    unsigned char drive = static_cast<unsigned char>(path[0]);
    return ((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) && path[1] == ':' &&
           IsSlash(path[2]);
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
    } else if (!IsDrivePath(directory)) {
        refusal.Assign("not a full path on a drive");
    } else if (LengthWithoutSlash(directory) == 2) {
        refusal.Assign("a drive root");
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
