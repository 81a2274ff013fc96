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
// false is returned for it as for a missing value. *error receives the error of a read that failed
// (not for a value that is not there or too long to name a key).
bool ReadUniqueId(const COSInfo& os, HANDLE printer, const char* name, char (&id)[kUniqueIdSize],
                  LONG* error) {
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
    *error = result == ERROR_FILE_NOT_FOUND || result == ERROR_SUCCESS || result == ERROR_MORE_DATA
                 ? ERROR_SUCCESS
                 : result;
    if (result != ERROR_SUCCESS || type != REG_SZ || data[0] == 0 || !memchr(data, 0, sizeof data) ||
        strchr(reinterpret_cast<const char*>(data), '\\'))
        return false;
    CopyText(id, sizeof id, reinterpret_cast<const char*>(data));
    return true;
}

void RemovePerUserValues(RemovalContext& ctx, const char* name) {
    for (const char* keyPath : kPerUserKeys) {
        char scope[TextItem::kCapacity];
        FormatText(scope, sizeof scope, "HKCU\\%s", keyPath);
        HKEY key = NULL;
        LONG opened = RegOpenKeyA(HKEY_CURRENT_USER, keyPath, &key);
        if (opened != ERROR_SUCCESS) {
            // A key that is not there holds no value; one that cannot be opened may.
            if (opened != ERROR_FILE_NOT_FOUND && !ctx.dryRun)
                ctx.Record(kStep, "registry-value", name, kOutcomeFailed, "key cannot be opened",
                           static_cast<unsigned long>(opened), scope);
            continue;
        }
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
// each with everything under it (its step leaves a key with subkeys alone). Queued for a printer
// that is gone, or in a plan, for every printer that leaves.
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

void PurgeJobs(RemovalContext& ctx, HANDLE printer, const char* name) {
    DWORD error = 0;
    DWORD jobs = PurgePrintJobs(printer, ctx.dryRun, &error);
    if (jobs) {
        char count[32];
        FormatText(count, sizeof count, "%lu jobs", static_cast<unsigned long>(jobs));
        ctx.Record(kStep, "job", name, ctx.dryRun ? kOutcomePresent : kOutcomeRemoved, count);
    }
    if (error) ctx.Record(kStep, "job", name, kOutcomeFailed, "not all jobs could be cancelled", error);
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
        PurgeJobs(ctx, printer, name);
        // Read while the printer can still be asked; the key it names goes only with the printer,
        // because a printer that stays keeps its settings there.
        char id[kUniqueIdSize];
        LONG idError = ERROR_SUCCESS;
        bool hasId = ReadUniqueId(ctx.os, printer, name, id, &idError);
        if (idError != ERROR_SUCCESS)
            ctx.Record(kStep, "uniqueid-key", name, kOutcomeFailed, "the printer's UniqueID cannot be read",
                       static_cast<unsigned long>(idError), "HKCR");
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
        if (hasId && (p.deleted || ctx.dryRun)) DeleteUniqueIdKey(ctx, id);
    }
    if (ctx.os.IsNT() && (p.deleted || ctx.dryRun)) RemovePerUserValues(ctx, name);
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

DWORD PurgePrintJobs(HANDLE printer, bool dryRun, DWORD* error) {
    DWORD ignored = 0;
    if (!error) error = &ignored;
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (!QuerySized(
            buffer,
            [printer, &count](BYTE* data, DWORD size, DWORD* needed) {
                return EnumJobsA(printer, 0, kJobsPerPurge, 1, data, size, needed, &count);
            },
            error))
        return 0;
    count = RecordsIn<JOB_INFO_1A>(buffer, count);
    if (dryRun) return count;
    const JOB_INFO_1A* jobs = reinterpret_cast<const JOB_INFO_1A*>(buffer.data());
    DWORD purged = 0;
    for (DWORD i = 0; i < count; ++i) {
        // A cancelled job may be gone before the delete reaches it: either call taking it is enough.
        bool cancelled = SetJobA(printer, jobs[i].JobId, 0, NULL, JOB_CONTROL_CANCEL) != FALSE;
        DWORD cancelError = cancelled ? 0 : GetLastError();
        bool deleted = SetJobA(printer, jobs[i].JobId, 0, NULL, JOB_CONTROL_DELETE) != FALSE;
        if (cancelled || deleted)
            ++purged;
        else if (!*error)
            *error = cancelError;
    }
    return purged;
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
    UninstallDatabase& database = ctx.database;
    bool defaultDeleted = false;
    TextList gone9x;
    for (InstalledPrinter& p : database.Printers()) {
        if (!PrinterLeaves(p)) continue;
        if (!p.location.IsEmpty()) {
            // A connection to another computer's printer: its jobs and keys belong to that computer.
            RemoveConnection(ctx, p, &defaultDeleted);
        } else {
            RemoveLocalPrinter(ctx, p, &defaultDeleted);
            if (ctx.os.IsWin9x() && (p.deleted || ctx.dryRun)) gone9x.Append(p.name);
        }
    }
    if (defaultDeleted) {
        // A printer that failed to go is still there and can take over too.
        TextItem fallback;
        for (const InstalledPrinter& p : database.Printers())
            if (PrinterRemains(p, ctx.dryRun)) fallback = p.name;
        ReassignDefault(ctx, fallback);
    }

    // A printer that failed to go stays; without it among the printers that stay, the later steps
    // would take its driver's files, its monitor and processor and the maker's keys from it.
    bool stayed = false;
    for (InstalledPrinter& p : database.Printers()) {
        if (!ctx.dryRun && PrinterLeaves(p)) {
            p.excluded = 1;
            stayed = true;
        }
    }
    if (stayed) database.ComputeRemovalSet();
    for (const TextItem& name : gone9x) QueueSpoolerKeys9x(ctx, name.Text());
}
