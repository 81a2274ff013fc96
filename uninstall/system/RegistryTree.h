#pragma once
// Deleting a registry key with every subkey under it.
#include <windows.h>

// Deletes root\path and all its subkeys, depth first. A subkey that cannot be deleted is stepped
// over, and the key above it then stays on the NT family, where a key with subkeys cannot be
// deleted. Nonzero when root\path is gone; an empty path (root itself) is refused. *error (when
// given) receives the first Windows error met.
int DeleteKeyTree(HKEY root, const char* path, LONG* error = NULL);
