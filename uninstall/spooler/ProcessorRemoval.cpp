#include "ProcessorRemoval.h"

#include <winspool.h>

#include <vector>

#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"
#include "spooler/InboxComponents.h"
#include "spooler/KeptFiles.h"
#include "spooler/RemovalPlanning.h"
#include "spooler/SpoolerQuery.h"

namespace {
const char kStep[] = "processors";
const char kStandardProcessor[] = "WinPrint";
const char kStandardDatatype[] = "RAW";
const char kProcessorsKey9x[] =
    "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Print Processors\\";
const char kEnvironmentsKeyNT[] = "System\\CurrentControlSet\\control\\Print\\Environments\\";

void DeleteProcessorKey(const COSInfo& os, const char* environment, const char* processor) {
    char key[TextItem::kCapacity];
    int fits = 0;
    if (os.IsWin9x()) {
        fits = FormatText(key, sizeof key, "%s%s", kProcessorsKey9x, processor);
    } else if (os.IsNT()) {
        const char* env = EnvironmentKeyNameNT(environment);
        fits = FormatText(key, sizeof key, "%s%s\\Print Processors\\%s", kEnvironmentsKeyNT, env, processor);
    }
    // Its result is ignored; a cut key could name another processor's key and is not deleted.
    if (fits && *processor) RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
}

// What a removal would do to the processor, found without changing anything: the local printers
// that would be moved (those the printer step deletes first are not), and the processor itself.
void PlanProcessor(RemovalContext& ctx, const char* processor, const char* scope) {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (EnumLocalPrinters(buffer, &count)) {
        const PRINTER_INFO_2A* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) {
            const char* name = printers[i].pPrinterName;
            if (!name || !EqualsNoCase(printers[i].pPrintProcessor, processor)) continue;
            if (PrinterNamedLeaves(ctx.database.Printers(), name)) continue;
            ctx.Record(kStep, "printer-processor", name, kOutcomePresent, "would move to WinPrint", 0,
                       processor);
        }
    }
    ctx.Record(kStep, "processor", processor, kOutcomePresent, "", 0, scope);
}

void RemoveProcessor(RemovalContext& ctx, const char* server, const char* environment,
                     const char* processor) {
    const char* scope = EnvironmentScope(environment);
    TextItem stuck;
    if (!ReleasePrintProcessor(ctx, processor, &stuck)) {
        char detail[TextItem::kCapacity + 16] = "the printers using it cannot be listed";
        if (!stuck.IsEmpty()) FormatText(detail, sizeof detail, "in use by %s", stuck.Text());
        ctx.Record(kStep, "processor", processor, kOutcomeKept, detail, 0, scope);
        KeepProcessorFile(ctx, processor);
        return;
    }
    if (DeletePrintProcessorA(const_cast<char*>(server), const_cast<char*>(environment),
                              const_cast<char*>(processor))) {
        ctx.Record(kStep, "processor", processor, kOutcomeRemoved, "", 0, scope);
    } else {
        ctx.Record(kStep, "processor", processor, kOutcomeFailed, "", GetLastError(), scope);
    }
    DeleteProcessorKey(ctx.os, environment, processor);
}
}  // namespace

int SetPrinterProcessor(const char* printerName, const char* processor, const char* datatype) {
    PRINTER_DEFAULTSA access = {NULL, NULL, PRINTER_ALL_ACCESS};
    HANDLE printer = NULL;
    if (!OpenPrinterA(const_cast<char*>(printerName), &printer, &access)) return 0;
    int result = 0;
    std::vector<BYTE> buffer;
    if (ReadPrinterInfo2(printer, buffer)) {
        PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
        info->pPrintProcessor = const_cast<char*>(processor);
        info->pDatatype = const_cast<char*>(datatype);
        result = SetPrinterA(printer, 2, buffer.data(), 0);
    }
    DWORD error = GetLastError();
    ClosePrinter(printer);
    SetLastError(error);
    return result;
}

int ReleasePrintProcessor(RemovalContext& ctx, const char* processor, TextItem* stuck) {
    int result = 1;
    std::vector<BYTE> buffer;
    DWORD count = 0;
    DWORD error = 0;
    if (!EnumLocalPrinters(buffer, &count, &error)) {
        // Without the list, a printer may still use the processor.
        if (!error) return 1;
        ctx.Record(kStep, "printer-processor", "", kOutcomeFailed, "the printers cannot be listed", error,
                   processor);
        if (stuck) stuck->Clear();
        return 0;
    }
    const PRINTER_INFO_2A* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        const char* name = printers[i].pPrinterName;
        if (!name || !EqualsNoCase(printers[i].pPrintProcessor, processor)) continue;
        if (SetPrinterProcessor(name, kStandardProcessor, kStandardDatatype)) {
            ctx.Record(kStep, "printer-processor", name, kOutcomeDone, "moved to WinPrint", 0, processor);
        } else {
            ctx.Record(kStep, "printer-processor", name, kOutcomeFailed, "", GetLastError(), processor);
            if (stuck && result) *stuck = name;
            result = 0;
        }
    }
    return result;
}

void RemovePrintProcessorsStep(RemovalContext& ctx, const char* server, const char* environment) {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    DWORD error = 0;
    bool listed = QuerySized(
        buffer,
        [server, environment, &count](BYTE* data, DWORD size, DWORD* needed) {
            return EnumPrintProcessorsA(const_cast<char*>(server), const_cast<char*>(environment), 1, data,
                                        size, needed, &count);
        },
        &error);
    const TextList& wanted = ctx.database.Removal().PrintProcessors;
    const char* scope = EnvironmentScope(environment);
    if (!listed) {
        // An environment the spooler does not know has no processors. Otherwise the wanted ones may
        // be installed and in use, and their DLLs stay.
        if (!error || error == ERROR_INVALID_ENVIRONMENT) return;
        ctx.Record(kStep, "processor", "", kOutcomeFailed, "the print processors cannot be listed", error,
                   scope);
        for (const TextItem& processor : wanted) KeepProcessorFile(ctx, processor.Text());
        return;
    }
    count = RecordsIn<PRINTPROCESSOR_INFO_1A>(buffer, count);
    const PRINTPROCESSOR_INFO_1A* installed = reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        const char* processor = installed[i].pName;
        if (!processor || !wanted.Contains(processor)) continue;
        if (IsInboxPrintProcessor(processor)) {
            ctx.Record(kStep, "processor", processor, kOutcomeKept, "inbox component", 0, scope);
        } else if (ctx.dryRun) {
            PlanProcessor(ctx, processor, scope);
        } else {
            RemoveProcessor(ctx, server, environment, processor);
        }
    }
}
