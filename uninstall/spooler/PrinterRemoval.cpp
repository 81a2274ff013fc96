#include "PrinterRemoval.h"

#include <winspool.h>

#include <cstring>
#include <vector>

#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"
#include "spooler/DefaultPrinter.h"
#include "spooler/RemovalPlanning.h"
#include "spooler/SpoolerQuery.h"

namespace {
const char kStep[] = "printers";
const DWORD kJobsPerPurge = 100;
const DWORD kUniqueIdSize = 32;
const DWORD kSubKeyNameSize = 256;
const UINT kNoPrinterLeftText = 159;
const UINT kNewDefaultText = 160;
const UINT kDefaultNotSetText = 157;
const char kPrintersKey9x[] = "System\\CurrentControlSet\\control\\Print\\Printers\\";
const char* const kPerUserKeys[] = {
    "Printers\\DevModes2",
    "Printers\\Settings",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts",
};

// The printer's UniqueID: Windows 9x keeps it in the printer's registry key, the others hand it out
// as printer data. It is a text within 32 bytes naming one key of HKEY_CLASSES_ROOT. One that is
// empty, not terminated within them, not a text (the bytes of a number would name whatever key they
// happen to spell) or a path to a key below another ("CLSID\{...}") names no key of its own, and
// false is returned for it as for a missing value.
bool ReadUniqueId(const COSInfo& os, HANDLE printer, const char* name, char (&id)[kUniqueIdSize]) {
    BYTE data[kUniqueIdSize] = {};
    LONG result = ERROR_FILE_NOT_FOUND;
    DWORD type = 0;
    if (os.IsWin9x()) {
        char path[TextItem::kCapacity];
        HKEY key = NULL;
        // A cut path could read another printer's data.
        if (FormatText(path, sizeof path, "%s%s\\PrinterDriverData", kPrintersKey9x, name) &&
            RegOpenKeyA(HKEY_LOCAL_MACHINE, path, &key) == ERROR_SUCCESS) {
            DWORD size = sizeof data;
            result = RegQueryValueExA(key, "UniqueID", NULL, &type, data, &size);
            RegCloseKey(key);
        }
    } else {
        DWORD needed = 0;
        result = static_cast<LONG>(
            GetPrinterDataA(printer, const_cast<char*>("UniqueID"), &type, data, sizeof data, &needed));
    }
    if (result != ERROR_SUCCESS || type != REG_SZ || data[0] == 0 || !memchr(data, 0, sizeof data) ||
        strchr(reinterpret_cast<const char*>(data), '\\'))
        return false;
    CopyText(id, sizeof id, reinterpret_cast<const char*>(data));
    return true;
}

void RemovePerUserValues(RemovalContext& ctx, const char* name) {
    for (const char* keyPath : kPerUserKeys) {
        HKEY key = NULL;
        if (RegOpenKeyA(HKEY_CURRENT_USER, keyPath, &key) != ERROR_SUCCESS) continue;
        char scope[TextItem::kCapacity];
        FormatText(scope, sizeof scope, "HKCU\\%s", keyPath);
        if (ctx.dryRun) {
            if (RegQueryValueExA(key, name, NULL, NULL, NULL, NULL) == ERROR_SUCCESS)
                ctx.Record(kStep, "registry-value", name, kOutcomePresent, "", 0, scope);
        } else {
            LONG result = RegDeleteValueA(key, name);
            if (result == ERROR_SUCCESS) {
                ctx.Record(kStep, "registry-value", name, kOutcomeRemoved, "", 0, scope);
            } else if (result != ERROR_FILE_NOT_FOUND) {
                ctx.Record(kStep, "registry-value", name, kOutcomeFailed, "",
                           static_cast<unsigned long>(result), scope);
            }
        }
        RegCloseKey(key);
    }
}

// The printer's keys under the 9x spooler, longer one first; the registry step deletes them later,
// each with everything under it (its step leaves a key with subkeys alone). Queued whether or not the
// printer could be deleted.
void QueueSpoolerKeys9x(RemovalContext& ctx, const char* name) {
    for (const char* format : {"%s%s\\PrinterDriverData", "%s%s"}) {
        char key[TextItem::kCapacity];
        // A cut key, or one whose printer name holds a double quote, could name another printer's
        // key: such a printer's keys are left alone.
        if (!FormatText(key, sizeof key, format, kPrintersKey9x, name) ||
            !UninstallDatabase::AddRegistryEntry(ctx.database.Removal(), kRootLocalMachine, key, "", 1)) {
            ctx.Record(kStep, "registry-key", name, kOutcomeKept,
                       "the printer's name does not fit a registry entry");
            return;
        }
    }
}

void RemoveConnection(RemovalContext& ctx, InstalledPrinter& p, bool* defaultDeleted) {
    const char* name = p.name.Text();
    if (ctx.dryRun) {
        ctx.Record(kStep, "connection", name, kOutcomePresent, "", 0, p.location.Text());
        if (p.isDefault) *defaultDeleted = true;
    } else if (DeletePrinterConnectionA(const_cast<char*>(name))) {
        if (p.isDefault) *defaultDeleted = true;
        p.deleted = 1;
        ctx.Record(kStep, "connection", name, kOutcomeRemoved, "", 0, p.location.Text());
    } else {
        ctx.Record(kStep, "connection", name, kOutcomeFailed, "", GetLastError(), p.location.Text());
    }
}

void RemoveLocalPrinter(RemovalContext& ctx, InstalledPrinter& p, bool* defaultDeleted) {
    const char* name = p.name.Text();
    PRINTER_DEFAULTSA access = {NULL, NULL, PRINTER_ALL_ACCESS};
    HANDLE printer = NULL;
    if (!OpenPrinterA(const_cast<char*>(name), &printer, &access)) {
        DWORD error = GetLastError();
        // Only a name the spooler does not know is a printer that is gone. One it cannot reach now
        // (busy, access refused) is still installed: its record, values and keys stay as they are.
        if (error != ERROR_INVALID_PRINTER_NAME) {
            ctx.Record(kStep, "printer", name, kOutcomeFailed, "cannot be opened", error);
            return;
        }
        // Gone; its per-user values and 9x keys are still cleaned up below.
        ctx.Record(kStep, "printer", name, kOutcomeNotPresent, "cannot be opened", error);
        if (!ctx.dryRun) p.deleted = 1;
    } else if (printer) {
        DWORD jobs = PurgePrintJobs(printer, ctx.dryRun);
        if (jobs) {
            char count[32];
            FormatText(count, sizeof count, "%lu jobs", static_cast<unsigned long>(jobs));
            ctx.Record(kStep, "job", name, ctx.dryRun ? kOutcomePresent : kOutcomeRemoved, count);
        }
        char id[kUniqueIdSize];
        if (ReadUniqueId(ctx.os, printer, name, id)) DeleteUniqueIdKey(ctx, id);
        const char* detail = p.isDefault ? "default printer" : "";
        if (ctx.dryRun) {
            ctx.Record(kStep, "printer", name, kOutcomePresent, detail);
            if (p.isDefault) *defaultDeleted = true;
        } else if (DeletePrinter(printer)) {
            if (p.isDefault) *defaultDeleted = true;
            p.deleted = 1;
            ctx.Record(kStep, "printer", name, kOutcomeRemoved, detail);
        } else {
            ctx.Record(kStep, "printer", name, kOutcomeFailed, detail, GetLastError());
        }
        ClosePrinter(printer);
    }
    if (ctx.os.IsNT()) RemovePerUserValues(ctx, name);
    if (ctx.os.IsWin9x()) QueueSpoolerKeys9x(ctx, name);
}

// The default printer was deleted: the last printer that stays, in census order, becomes the
// default, and the user is told which (or that none is left).
void ReassignDefault(RemovalContext& ctx, const TextItem& fallback) {
    if (fallback.IsEmpty()) {
        ctx.Record(kStep, "default-printer", "", kOutcomeNotPresent, "no printer stays");
        if (!ctx.dryRun) ctx.prompts.Show(kNoPrinterLeftText, MB_OK, NULL);
        return;
    }
    if (ctx.dryRun) {
        ctx.Record(kStep, "default-printer", fallback.Text(), kOutcomePresent,
                   "would become the default printer");
        return;
    }
    if (MakeDefaultPrinter(ctx.os, fallback.Text())) {
        for (InstalledPrinter& p : ctx.database.Printers())
            p.isDefault = p.name.EqualsNoCase(fallback.Text());
        ctx.Record(kStep, "default-printer", fallback.Text(), kOutcomeDone, "new default printer");
        ctx.prompts.Show(kNewDefaultText, MB_OK, fallback.Text());
    } else {
        // Naming it the new default would send the user looking for a default that is not there.
        ctx.Record(kStep, "default-printer", fallback.Text(), kOutcomeFailed,
                   "could not be made the default");
        ctx.prompts.Show(kDefaultNotSetText, MB_OK, fallback.Text());
    }
}
}  // namespace

DWORD PurgePrintJobs(HANDLE printer, bool dryRun) {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (!QuerySized(buffer, [printer, &count](BYTE* data, DWORD size, DWORD* needed) {
            return EnumJobsA(printer, 0, kJobsPerPurge, 1, data, size, needed, &count);
        }))
        return 0;
    count = RecordsIn<JOB_INFO_1A>(buffer, count);
    if (dryRun) return count;
    const JOB_INFO_1A* jobs = reinterpret_cast<const JOB_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        SetJobA(printer, jobs[i].JobId, 0, NULL, JOB_CONTROL_CANCEL);
        SetJobA(printer, jobs[i].JobId, 0, NULL, JOB_CONTROL_DELETE);
    }
    return count;
}

void DeleteUniqueIdKey(RemovalContext& ctx, const char* id) {
    // An empty name would open HKEY_CLASSES_ROOT itself and empty it.
    if (!id || !*id) return;
    HKEY key = NULL;
    bool opened = RegOpenKeyA(HKEY_CLASSES_ROOT, id, &key) == ERROR_SUCCESS;
    if (ctx.dryRun) {
        ctx.Record(kStep, "uniqueid-key", id, opened ? kOutcomePresent : kOutcomeNotPresent, "", 0, "HKCR");
        if (opened) RegCloseKey(key);
        return;
    }
    if (opened) {
        char subKey[kSubKeyNameSize];
        while (RegEnumKeyA(key, 0, subKey, sizeof subKey) == ERROR_SUCCESS) {
            // On the NT family a subkey with subkeys of its own cannot be deleted; index 0 would
            // name it again for ever.
            if (RegDeleteKeyA(key, subKey) != ERROR_SUCCESS) break;
        }
        RegCloseKey(key);
    }
    HKEY root = NULL;
    LONG result = RegOpenKeyA(HKEY_CLASSES_ROOT, NULL, &root);
    if (result == ERROR_SUCCESS) {
        result = RegDeleteKeyA(root, id);
        RegCloseKey(root);
    }
    if (result == ERROR_SUCCESS) {
        ctx.Record(kStep, "uniqueid-key", id, kOutcomeRemoved, "", 0, "HKCR");
    } else if (result == ERROR_FILE_NOT_FOUND) {
        ctx.Record(kStep, "uniqueid-key", id, kOutcomeNotPresent, "", 0, "HKCR");
    } else {
        ctx.Record(kStep, "uniqueid-key", id, kOutcomeFailed, "", static_cast<unsigned long>(result), "HKCR");
    }
}

void RemovePrintersStep(RemovalContext& ctx) {
    TextItem fallback;
    bool defaultDeleted = false;
    for (InstalledPrinter& p : ctx.database.Printers()) {
        if (!PrinterLeaves(p)) {
            fallback = p.name;
            continue;
        }
        if (!p.location.IsEmpty()) {
            // A connection to another computer's printer: its jobs and keys belong to that computer.
            RemoveConnection(ctx, p, &defaultDeleted);
        } else {
            RemoveLocalPrinter(ctx, p, &defaultDeleted);
        }
    }
    if (defaultDeleted) ReassignDefault(ctx, fallback);
}
