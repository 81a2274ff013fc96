#include "RegistryTree.h"

namespace {
void Note(LONG* error, LONG result) {
    if (error && *error == ERROR_SUCCESS) *error = result;
}

// Works on each subkey by its name under an open parent, so no path grows with the depth of the
// tree and none can outgrow a buffer.
int DeleteSubtree(HKEY parent, const char* name, LONG* error) {
    HKEY key = NULL;
    LONG result = RegOpenKeyA(parent, name, &key);
    if (result != ERROR_SUCCESS) {
        Note(error, result);
        return 0;
    }
    char child[MAX_PATH + 1];
    for (DWORD index = 0;; ++index) {
        result = RegEnumKeyA(key, index, child, sizeof child);
        if (result != ERROR_SUCCESS) break;
        // A deleted subkey's place is taken by the next one, so the same index is read again.
        if (DeleteSubtree(key, child, error)) --index;
    }
    RegCloseKey(key);
    if (result != ERROR_NO_MORE_ITEMS) {
        Note(error, result);
        return 0;
    }
    result = RegDeleteKeyA(parent, name);
    Note(error, result);
    return result == ERROR_SUCCESS;
}
}  // namespace

int DeleteKeyTree(HKEY root, const char* path, LONG* error) {
    if (error) *error = ERROR_SUCCESS;
    if (!path || !*path) {
        Note(error, ERROR_INVALID_PARAMETER);
        return 0;
    }
    return DeleteSubtree(root, path, error);
}
