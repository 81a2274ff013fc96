#include "OemPathCollection.h"

#include <cstring>
#include <vector>

#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"

namespace {
const char kStep[] = "oem-paths";
const char kKind[] = "oem-path";
const char kOemPathsKey[] = "SOFTWARE\\TOVARI QUELLAN\\OEM01\\OEMPaths";
const DWORD kBufferSize = TextItem::kCapacity;

// Reads value index into name, type and data. Data longer than the buffer is read again, whole, at
// the size RegEnumValueA reported. The data is terminated within its size.
LONG ReadValue(HKEY key, DWORD index, char (&name)[kBufferSize], DWORD* type, std::vector<char>& data) {
    data.assign(kBufferSize + 1, 0);
    DWORD nameSize = kBufferSize;
    DWORD dataSize = kBufferSize;
    LONG status = RegEnumValueA(key, index, name, &nameSize, nullptr, type,
                                reinterpret_cast<BYTE*>(data.data()), &dataSize);
    if (status == ERROR_MORE_DATA && dataSize > kBufferSize) {
        data.assign(dataSize + 1, 0);
        nameSize = kBufferSize;
        status = RegEnumValueA(key, index, name, &nameSize, nullptr, type,
                               reinterpret_cast<BYTE*>(data.data()), &dataSize);
    }
    if (status == ERROR_SUCCESS) data[dataSize < data.size() ? dataSize : data.size() - 1] = 0;
    // A name that did not fit may have been left unterminated.
    name[kBufferSize - 1] = 0;
    return status;
}
}  // namespace

void CollectOemPathsStep(RemovalContext& ctx) {
    TextList& paths = ctx.database.Removal().OemPaths;
    HKEY key = NULL;
    LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOemPathsKey, 0, KEY_ALL_ACCESS, &key);
    // Without the key there are no OEM paths; a key that cannot be opened may name some, whose files
    // then stay.
    if (opened != ERROR_SUCCESS && opened != ERROR_FILE_NOT_FOUND)
        ctx.Record(kStep, kKind, "HKLM\\SOFTWARE\\TOVARI QUELLAN\\OEM01\\OEMPaths", kOutcomeFailed,
                   "cannot be read", static_cast<unsigned long>(opened));
    if (opened == ERROR_SUCCESS) {
        bool lastFailed = false;
        for (DWORD index = 0;; ++index) {
            char name[kBufferSize] = "";
            DWORD type = REG_NONE;
            std::vector<char> data;
            LONG status = ReadValue(key, index, name, &type, data);
            if (status == ERROR_NO_MORE_ITEMS) break;
            if (status != ERROR_SUCCESS) {
                // The name is not to be trusted either: the value is named by its place.
                char which[32];
                FormatText(which, sizeof which, "value %lu", static_cast<unsigned long>(index));
                ctx.Record(kStep, kKind, which, kOutcomeFailed, "not readable",
                           static_cast<unsigned long>(status));
                // A value that grew between the two reads, or a name too long to read: the next one
                // may still be fine. A second failure in a row, or any other error, means the key
                // itself went bad, and a key that answers nothing else must not be read for ever.
                if (status == ERROR_MORE_DATA && !lastFailed) {
                    lastFailed = true;
                    continue;
                }
                break;
            }
            lastFailed = false;
            const char* path = data.data();
            if (type != REG_SZ && type != REG_EXPAND_SZ) {
                // The bytes of a number or a list would name whatever directory they happen to spell.
                ctx.Record(kStep, kKind, name, kOutcomeKept, "not a text value");
            } else if (strlen(path) >= TextItem::kCapacity) {
                ctx.Record(kStep, kKind, name, kOutcomeKept, "too long for a path");
            } else {
                paths.Append(path);
                ctx.Record(kStep, kKind, path, kOutcomeDone, "searched for files");
            }
        }
        RegCloseKey(key);
    }
    paths.Sort();
    paths.Unique();
}
