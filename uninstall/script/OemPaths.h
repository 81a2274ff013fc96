#pragma once
// Looking a file up in the maker's OEM path directories (values under HKEY_LOCAL_MACHINE
// "SOFTWARE\TOVARI QUELLAN\OEM\OEMPaths", each a directory).
#include "TextItem.h"

// True and the file's full path when one of the directories holds the file, in enumeration order;
// false when the key is absent or empty or no directory holds it (fullPath is then empty).
bool FindInOemPaths(const char* fileName, TextItem& fullPath);
