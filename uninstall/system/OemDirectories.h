#pragma once
// The maker's OEM path entries as directories for the files step. Each directory is walked three
// levels deep and every folder left empty is removed, so a directory that holds other programs'
// folders (a drive root, the Windows, system or Program Files directory, a user profile) must never
// be walked that way, nor one named in a form those directories cannot be recognised in.
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

// Whether directory must not be walked, with the reason in refusal (empty when it may be): it is
// empty, not a full path on a drive (a relative, network or device path), a drive root, one of the
// protected directories, or lies above one, which the walk would reach into (compared ignoring case
// and a trailing backslash).
bool OemDirectoryRefused(const char* directory, const std::vector<ProtectedDirectory>& protectedDirectories,
                         TextItem& refusal);

// Sorts so that a directory that lies inside another comes before it (descending order ignoring
// case: a path sorts after every path it begins with) and drops duplicates.
void OrderInnerFirst(TextList& directories);
