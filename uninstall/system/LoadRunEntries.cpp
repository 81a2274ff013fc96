#include "LoadRunEntries.h"

#include <cstring>

#include "EntryFields.h"
#include "LoadLine.h"
#include "resource.h"
#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"
#include "shell/StringRing.h"

namespace {
const char kStep[] = "load-run";
// Room for a load line far longer than Win32s' own 256 characters. A line that fills it may have
// been cut, and writing a cut line back would drop other programs from it.
const DWORD kLoadLineSize = 1024;

int RemoveRunValue(RemovalContext& ctx, const char* valueName) {
    CStringRing strings(ctx.module);
    TextItem runKey;
    // An empty key name would open HKEY_LOCAL_MACHINE itself; a cut one would open another key.
    if (!runKey.Assign(strings.GetText(IDS_RUN_KEY)) || runKey.IsEmpty()) {
        ctx.Record(kStep, "run-value", valueName, kOutcomeKept, "no Run key name", 0, runKey.Text());
        return 0;
    }
    TextItem scope("HKLM\\");
    scope.Append(runKey.Text());

    if (ctx.dryRun) {
        HKEY key = NULL;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, runKey.Text(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return 0;
        if (RegQueryValueExA(key, valueName, NULL, NULL, NULL, NULL) == ERROR_SUCCESS)
            ctx.Record(kStep, "run-value", valueName, kOutcomePresent, "", 0, scope.Text());
        RegCloseKey(key);
        return 0;
    }

    HKEY key = NULL;
    LONG result = RegOpenKeyA(HKEY_LOCAL_MACHINE, runKey.Text(), &key);
    if (result == ERROR_SUCCESS) {
        result = RegDeleteValueA(key, valueName);
        RegCloseKey(key);
    }
    if (result == ERROR_SUCCESS) {
        ctx.Record(kStep, "run-value", valueName, kOutcomeRemoved, "", 0, scope.Text());
        return 1;
    }
    if (result == ERROR_FILE_NOT_FOUND)
        ctx.Record(kStep, "run-value", valueName, kOutcomeNotPresent, "", 0, scope.Text());
    else
        ctx.Record(kStep, "run-value", valueName, kOutcomeFailed, "", static_cast<unsigned long>(result),
                   scope.Text());
    return 0;
}

int RemoveFromLoadLine(RemovalContext& ctx, const char* programName) {
    const char kScope[] = "win.ini [windows] load";
    // Write what the profile cache holds, so the line read is the one on disk.
    WriteProfileStringA(NULL, NULL, NULL);
    char line[kLoadLineSize];
    DWORD length = GetProfileStringA("windows", "Load", "", line, sizeof line);
    if (length >= sizeof line - 1) {
        ctx.Record(kStep, "load-entry", programName, kOutcomeKept, "load line too long", 0, kScope);
        return 0;
    }
    char program[TextItem::kCapacity];
    CopyText(program, sizeof program, programName);
    // Letter case does not matter to the load line; the line goes back in lower case.
    CharLowerA(line);
    CharLowerA(program);
    if (!RemoveLoadLineProgram(line, program)) {
        if (!ctx.dryRun) ctx.Record(kStep, "load-entry", programName, kOutcomeNotPresent, "", 0, kScope);
        return 0;
    }
    if (ctx.dryRun) {
        ctx.Record(kStep, "load-entry", programName, kOutcomePresent, "", 0, kScope);
        return 0;
    }
    BOOL written = WriteProfileStringA("windows", "load", line);
    DWORD error = written ? 0 : GetLastError();
    WriteProfileStringA(NULL, NULL, NULL);
    ctx.Record(kStep, "load-entry", programName, written ? kOutcomeRemoved : kOutcomeFailed, "", error,
               kScope);
    return written ? 1 : 0;
}
}  // namespace

int RemoveLoadRunEntry(RemovalContext& ctx, const char* valueName, const char* program) {
    if (ctx.os.IsWin32s()) return RemoveFromLoadLine(ctx, program);
    return RemoveRunValue(ctx, valueName);
}

void RemoveLoadRunEntriesStep(RemovalContext& ctx) {
    for (const TextItem& entry : ctx.database.Removal().DeleteLoadRun) {
        LoadRunFields fields;
        if (SplitLoadRunEntry(entry.Text(), fields))
            RemoveLoadRunEntry(ctx, fields.valueName.Text(), fields.program.Text());
        else
            ctx.Record(kStep, "run-value", entry.Text(), kOutcomeKept, "not a name,program entry");
    }
}
