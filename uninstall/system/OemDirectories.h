#pragma once
// The maker's OEM path entries as directories for the files step. Each directory is walked three
// levels deep and every folder left empty is removed, so a directory that holds other programs'
// folders (a drive root, the Windows, system or Program Files directory, a user profile) must never
// be walked that way.
#include <vector>

#include "script/TextItem.h"
#include "script/TextList.h"

// The directory an OEM path entry stands for: its drive and directory parts. A last component
// without a trailing backslash counts as a file name and is dropped, so "C:\Maker\OEM01" stands
// for "C:\Maker\".
void OemSearchDirectory(const char* oemPath, TextItem& directory);

struct ProtectedDirectory {
    TextItem path;
    const char* what;  // "the Windows directory", ...
};

// Why directory (a full path) must not be walked, or null when it may be: it is empty, a drive or
// share root, or one of the protected directories (compared ignoring case and a trailing
// backslash). The reason points into protectedDirectories or a constant.
const char* OemDirectoryRefusal(const char* directory,
                                const std::vector<ProtectedDirectory>& protectedDirectories);

// Sorts so that a directory that lies inside another comes before it (descending order ignoring
// case: a path sorts after every path it begins with) and drops duplicates.
void OrderInnerFirst(TextList& directories);
