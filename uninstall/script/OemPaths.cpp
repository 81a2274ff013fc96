#include "OemPaths.h"

#include <windows.h>

#include "FileSpec.h"

namespace {
const char kOemPathsKey[] = "SOFTWARE\\TOVARI QUELLAN\\OEM\\OEMPaths";

bool CanOpenForReading(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// The directory's path joined with the file name; false when the value names no directory or the
// joined path would not fit (a cut path names some other file).
bool JoinDirectory(const char* directory, const char* fileName, TextItem& path) {
    if (!directory[0]) return false;
    return path.Assign(directory) && AppendBackslash(path) && path.Append(fileName);
}
}  // namespace

bool FindInOemPaths(const char* fileName, TextItem& fullPath) {
    fullPath.Clear();
    if (!fileName || !fileName[0]) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOemPathsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;

    bool found = false;
    bool lastTooLong = false;
    for (DWORD index = 0; !found; ++index) {
        char name[256];
        char data[TextItem::kCapacity + 1];  // one spare byte to terminate data stored without a NUL
        DWORD nameSize = 256;  // both capacities are reset before every call: the call overwrites them
        DWORD dataSize = TextItem::kCapacity;
        LONG status = RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(data), &dataSize);
        // Longer than any path: the buffers were not filled. Two in a row mean a key that went bad,
        // which must not be read for ever.
        if (status == ERROR_MORE_DATA && !lastTooLong) {
            lastTooLong = true;
            continue;
        }
        if (status != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS, or a key that went bad
        lastTooLong = false;
        data[dataSize < TextItem::kCapacity ? dataSize : TextItem::kCapacity] = 0;

        TextItem path;
        if (JoinDirectory(data, fileName, path) && CanOpenForReading(path.Text())) {
            fullPath = path;
            found = true;
        }
    }
    RegCloseKey(key);
    return found;
}
