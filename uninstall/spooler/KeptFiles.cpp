#include "KeptFiles.h"

#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"
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

void KeepDriverFiles(RemovalContext& ctx, const DRIVER_INFO_2A& driver) {
    TextList files;
    for (const char* path : {driver.pDriverPath, driver.pDataFile, driver.pConfigFile})
        if (path && *path) files.Append(path);
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
