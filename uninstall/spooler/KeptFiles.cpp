#include "KeptFiles.h"

#include <cstring>
#include <vector>

#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"
#include "spooler/SpoolerQuery.h"
#include "system/FileSweep.h"

namespace {
const char kMonitorsKey[] = "System\\CurrentControlSet\\Control\\Print\\Monitors";
const char kEnvironmentsKey[] = "System\\CurrentControlSet\\Control\\Print\\Environments";
const DWORD kSubKeyNameSize = 256;

// Adds the "Driver" value of HKLM\<parent>\<name> to files, when there is one.
void AddDriverValue(const char* parent, const char* name, TextList& files) {
    char path[TextItem::kCapacity];
    // A cut path could name another component's key.
    if (!*name || !FormatText(path, sizeof path, "%s\\%s", parent, name)) return;
    HKEY key = NULL;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, path, &key) != ERROR_SUCCESS) return;
    char file[TextItem::kCapacity] = "";
    DWORD type = 0, size = sizeof file - 1;
    if (RegQueryValueExA(key, "Driver", NULL, &type, reinterpret_cast<BYTE*>(file), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        file[size < sizeof file ? size : sizeof file - 1] = 0;
        files.Append(file);
    }
    RegCloseKey(key);
}

void Keep(RemovalContext& ctx, const TextList& files) {
    KeepFiles(ctx.database.Removal().Files, files);
}
}  // namespace

void KeepDriverFiles(RemovalContext& ctx, const char* environment, const DRIVER_INFO_2A& driver) {
    TextList files;
    for (const char* path : {driver.pDriverPath, driver.pDataFile, driver.pConfigFile})
        if (path && *path) files.Append(path);
    // The help and dependent files are listed at level 3 only; a spooler that cannot list it still
    // keeps the three files above.
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (driver.pName && EnumDrivers(environment, buffer, &count, nullptr, 3)) {
        const DRIVER_INFO_3A* drivers = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
        const char* begin = reinterpret_cast<const char*>(buffer.data());
        const char* end = begin + buffer.size();
        for (DWORD i = 0; i < count; ++i) {
            const DRIVER_INFO_3A& d = drivers[i];
            if (!d.pName || d.cVersion != driver.cVersion || !TextItem(d.pName).EqualsNoCase(driver.pName))
                continue;
            if (d.pHelpFile && *d.pHelpFile) files.Append(d.pHelpFile);
            // Names that each end in a zero, the last followed by another zero; read only within the
            // answer, and a name without its zero there is no name.
            const char* name = d.pDependentFiles;
            while (name && name >= begin && name < end && *name) {
                size_t length = strnlen(name, static_cast<size_t>(end - name));
                if (name + length == end) break;
                files.Append(name);
                name += length + 1;
            }
        }
    }
    Keep(ctx, files);
}

void KeepMonitorFile(RemovalContext& ctx, const char* monitor) {
    TextList files;
    AddDriverValue(kMonitorsKey, monitor, files);
    Keep(ctx, files);
}

void KeepProcessorFile(RemovalContext& ctx, const char* processor) {
    HKEY environments = NULL;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kEnvironmentsKey, &environments) != ERROR_SUCCESS) return;
    TextList files;
    char environment[kSubKeyNameSize];
    for (DWORD index = 0; RegEnumKeyA(environments, index, environment, sizeof environment) == ERROR_SUCCESS;
         ++index) {
        char parent[TextItem::kCapacity];
        if (FormatText(parent, sizeof parent, "%s\\%s\\Print Processors", kEnvironmentsKey, environment))
            AddDriverValue(parent, processor, files);
    }
    RegCloseKey(environments);
    Keep(ctx, files);
}
