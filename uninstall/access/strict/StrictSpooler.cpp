// The spooler functions of the strict QSPOOL01.DLL used by the tests. Each one passes the call to
// Wine's spooler and adds what Windows does and Wine does not (see StrictConfig.h): job queues,
// print-server printers, refusal to delete a driver in use, refusal of a datatype that the standard
// print processor does not know, removal of print processors, and the failures a test asks for.
// Every call is written to the journal (StrictJournal.cpp).
#include <windows.h>
#include <winspool.h>

#include "PrinterRecords.h"
#include "StrictState.h"

namespace {

void ZeroOut(LPDWORD a, LPDWORD b = nullptr) {
    if (a) *a = 0;
    if (b) *b = 0;
}

// Finishes a BOOL call: journal line with the result, and the error left for the caller.
BOOL Finish(const StrictCall& call, JournalLine& line, BOOL ok, DWORD error) {
    line.Result(ok ? 1 : 0, !ok, error);
    call.Log(line);
    if (!ok) SetLastError(error);
    return ok;
}

BOOL Fail(const StrictCall& call, JournalLine& line, DWORD error) {
    return Finish(call, line, FALSE, error);
}

DWORD ErrorIf(BOOL ok) {
    return ok ? 0 : GetLastError();
}

// Passes a query to Wine unless the configuration injects a failure into it; a failed query
// reports no sizes.
template <class WineCall>
BOOL QueryOrFail(const char* function, long level, LPDWORD needed, LPDWORD returned, DWORD* error,
                 WineCall wine) {
    if (InjectFailure(function, "", level, error)) {
        ZeroOut(needed, returned);
        return FALSE;
    }
    BOOL ok = wine();
    *error = ErrorIf(ok);
    return ok;
}

// Finishes a query like Finish, with what it returned written after the result.
template <class Outputs>
BOOL FinishQuery(const StrictCall& call, JournalLine& line, BOOL ok, DWORD error, Outputs outputs) {
    line.Result(ok ? 1 : 0, !ok, error);
    outputs();
    call.Log(line);
    if (!ok) SetLastError(error);
    return ok;
}

void LogSizes(JournalLine& line, LPDWORD needed, LPDWORD returned) {
    line.Number("needed", needed ? *needed : 0).Number("returned", returned ? *returned : 0);
}

bool IsEmpty(LPCSTR text) {
    return text == nullptr || *text == '\0';
}

// Wine leaves cJobs at 0; the simulated queue tells how many jobs a printer holds.
void PatchJobCounts(BYTE* buffer, DWORD count) {
    PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer);
    for (DWORD i = 0; i < count; ++i) {
        if (info[i].pPrinterName != nullptr) {
            info[i].cJobs = static_cast<DWORD>(QueueOf(info[i].pPrinterName)->size());
        }
    }
}

bool HasServerPrinters() {
    for (const ServerPrinter& p : ServerPrinters()) {
        if (!p.removed) return true;
    }
    return false;
}

// Wine's printers followed by the print-server printers, as Windows lists connections after the
// local printers.
BOOL EnumWithServerPrinters(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                            LPDWORD returned) {
    DWORD wineNeeded = 0, wineCount = 0;
    std::vector<BYTE> wine;
    if (!EnumPrintersA(flags, name, level, nullptr, 0, &wineNeeded, &wineCount)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return FALSE;
        wine.resize(wineNeeded);
        if (!EnumPrintersA(flags, name, level, wine.data(), wineNeeded, &wineNeeded, &wineCount))
            return FALSE;
    }
    std::vector<PrinterRecord> records = ReadPrinterRecords(wine.data(), wineCount, level);
    for (const ServerPrinter& p : ServerPrinters()) {
        if (!p.removed) records.push_back(RecordOfServerPrinter(p));
    }
    for (PrinterRecord& r : records) r.jobs = static_cast<DWORD>(QueueOf(r.name)->size());
    if (returned) *returned = 0;
    if (!PackPrinterRecords(records, level, buffer, size, needed)) return FALSE;
    if (returned) *returned = static_cast<DWORD>(records.size());
    return TRUE;
}

bool DriverInUse(LPCSTR driver) {
    std::string wanted = driver != nullptr ? driver : "";
    for (const ServerPrinter& p : ServerPrinters()) {
        if (!p.removed && EqualNoCase(p.config.driver, wanted)) return true;
    }
    DWORD needed = 0, count = 0;
    if (EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count) || needed == 0)
        return false;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count)) return false;
    for (const PrinterRecord& r : ReadPrinterRecords(buffer.data(), count, 2)) {
        if (EqualNoCase(r.driver, wanted)) return true;
    }
    return false;
}

// The spooler checks a printer's datatype against its print processor; Wine takes any pair. Only the
// standard processor's datatypes are known here: other processors keep whatever they are given.
bool DatatypeRefused(const PRINTER_INFO_2A& info) {
    static const char* const kWinPrintDatatypes[] = {
        "RAW",          "RAW [FF appended]", "RAW [FF auto]", "NT EMF 1.003", "NT EMF 1.006",
        "NT EMF 1.007", "NT EMF 1.008",      "TEXT",          "XPS2GDI",
    };
    if (IsEmpty(info.pDatatype) || IsEmpty(info.pPrintProcessor) ||
        !EqualNoCase(info.pPrintProcessor, "WinPrint"))
        return false;
    for (const char* datatype : kWinPrintDatatypes) {
        if (EqualNoCase(datatype, info.pDatatype)) return false;
    }
    return true;
}

std::string PrintProcessorsKey(const std::string& environment) {
    return "System\\CurrentControlSet\\Control\\Print\\Environments\\" + environment + "\\Print Processors";
}

// Wine's DeletePrintProcessorA removes nothing; its processors are the subkeys that
// EnumPrintProcessorsA lists, so deleting the subkey removes the processor.
DWORD RemovePrintProcessorKey(LPCSTR environment, LPCSTR processor) {
    std::string env = IsEmpty(environment) ? NativeEnvironment() : environment;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PrintProcessorsKey(env).c_str(), 0, KEY_ALL_ACCESS, &key) != 0) {
        return ERROR_INVALID_ENVIRONMENT;
    }
    LONG result = IsEmpty(processor) ? ERROR_FILE_NOT_FOUND : RegDeleteKeyA(key, processor);
    RegCloseKey(key);
    if (result == ERROR_FILE_NOT_FOUND) return ERROR_UNKNOWN_PRINTPROCESSOR;
    return static_cast<DWORD>(result);
}

}  // namespace

extern "C" {

BOOL WINAPI StEnumPrintersA(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                            LPDWORD returned) {
    StrictCall call;
    JournalLine line("EnumPrintersA");
    line.Number("flags", flags).Text("name", name).Number("level", level).Number("size", size);
    DWORD error = 0;
    BOOL ok = QueryOrFail("EnumPrintersA", static_cast<long>(level), needed, returned, &error, [&] {
        if ((flags & PRINTER_ENUM_CONNECTIONS) && IsEmpty(name) && IsPrinterLevelPacked(level) && HasServerPrinters())
            return EnumWithServerPrinters(flags, name, level, buffer, size, needed, returned);
        BOOL listed = EnumPrintersA(flags, name, level, buffer, size, needed, returned);
        if (listed && level == 2 && buffer != nullptr && returned != nullptr) PatchJobCounts(buffer, *returned);
        return listed;
    });
    return FinishQuery(call, line, ok, error, [&] { LogSizes(line, needed, returned); });
}

BOOL WINAPI StOpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
    StrictCall call;
    JournalLine line("OpenPrinterA");
    line.Text("name", name).Number("access", defaults ? defaults->DesiredAccess : 0);
    DWORD error = 0;
    if (InjectFailure("OpenPrinterA", name ? name : "", -1, &error)) {
        if (printer) *printer = nullptr;
        return Fail(call, line, error);
    }
    ServerPrinter* server = name ? FindServerPrinter(name) : nullptr;
    if (server != nullptr && printer != nullptr) {
        *printer = OpenServerPrinterHandle(server);
        return Finish(call, line, TRUE, 0);
    }
    BOOL ok = OpenPrinterA(name, printer, defaults);
    error = ErrorIf(ok);
    if (ok && printer != nullptr) RememberPrinterHandle(*printer, name);
    return Finish(call, line, ok, error);
}

BOOL WINAPI StClosePrinter(HANDLE printer) {
    StrictCall call;
    JournalLine line("ClosePrinter");
    LogPrinter(line, printer);
    DWORD error = 0;
    if (InjectFailure("ClosePrinter", PrinterNameOfHandle(printer), -1, &error))
        return Fail(call, line, error);
    BOOL ok = TRUE;
    if (!IsServerPrinterHandle(printer)) {
        ok = ClosePrinter(printer);
        error = ErrorIf(ok);
    }
    ForgetPrinterHandle(printer);
    return Finish(call, line, ok, error);
}

BOOL WINAPI StGetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    StrictCall call;
    JournalLine line("GetPrinterA");
    LogPrinter(line, printer).Number("level", level).Number("size", size);
    DWORD error = 0;
    BOOL ok;
    if (InjectFailure("GetPrinterA", PrinterNameOfHandle(printer), static_cast<long>(level), &error)) {
        ZeroOut(needed);
        ok = FALSE;
    } else if (IsServerPrinterHandle(printer)) {
        ServerPrinter* server = ServerPrinterOfHandle(printer);
        if (server == nullptr) {
            ok = FALSE;
            error = ERROR_INVALID_HANDLE;
        } else if (!IsPrinterLevelPacked(level)) {
            ok = FALSE;
            error = ERROR_INVALID_LEVEL;
        } else {
            PrinterRecord record = RecordOfServerPrinter(*server);
            record.jobs = static_cast<DWORD>(QueueOf(record.name)->size());
            ok = PackPrinterRecords({record}, level, buffer, size, needed);
            error = ErrorIf(ok);
        }
    } else {
        ok = GetPrinterA(printer, level, buffer, size, needed);
        error = ErrorIf(ok);
        if (ok && level == 2 && buffer != nullptr) PatchJobCounts(buffer, 1);
    }
    line.Result(ok ? 1 : 0, !ok, error).Number("needed", needed ? *needed : 0);
    call.Log(line);
    if (!ok) SetLastError(error);
    return ok;
}

BOOL WINAPI StSetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD command) {
    StrictCall call;
    JournalLine line("SetPrinterA");
    LogPrinter(line, printer).Number("level", level).Number("command", command);
    if (level == 2 && buffer != nullptr) {
        const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer);
        line.Number("attributes", info->Attributes)
            .Text("processor", info->pPrintProcessor)
            .Text("datatype", info->pDatatype);
    }
    std::string name = PrinterNameOfHandle(printer);
    DWORD error = 0;
    if (InjectFailure("SetPrinterA", name, static_cast<long>(level), &error)) return Fail(call, line, error);
    if (level == 2 && buffer != nullptr && DatatypeRefused(*reinterpret_cast<const PRINTER_INFO_2A*>(buffer)))
        return Fail(call, line, ERROR_INVALID_DATATYPE);
    if (level == 0 && command == PRINTER_CONTROL_PURGE) {
        ClearQueue(name);
        return Finish(call, line, TRUE, 0);
    }
    if (IsServerPrinterHandle(printer)) {
        ServerPrinter* server = ServerPrinterOfHandle(printer);
        if (server == nullptr) return Fail(call, line, ERROR_INVALID_HANDLE);
        if (level == 2 && buffer != nullptr) {
            const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer);
            server->config.attributes = info->Attributes & ~static_cast<DWORD>(PRINTER_ATTRIBUTE_NETWORK);
            if (info->pPrintProcessor) server->printProcessor = info->pPrintProcessor;
            if (info->pDatatype) server->datatype = info->pDatatype;
        }
        return Finish(call, line, TRUE, 0);
    }
    BOOL ok = SetPrinterA(printer, level, buffer, command);
    return Finish(call, line, ok, ErrorIf(ok));
}

DWORD WINAPI StGetPrinterDataA(HANDLE printer, LPSTR value, LPDWORD type, LPBYTE data, DWORD size,
                               LPDWORD needed) {
    StrictCall call;
    JournalLine line("GetPrinterDataA");
    LogPrinter(line, printer).Text("value", value).Number("size", size);
    DWORD result = 0;
    if (InjectFailure("GetPrinterDataA", PrinterNameOfHandle(printer), -1, &result)) {
        SetLastError(result);
    } else {
        if (IsServerPrinterHandle(printer)) {
            ServerPrinter* server = ServerPrinterOfHandle(printer);
            result = server == nullptr ? ERROR_INVALID_HANDLE : ERROR_FILE_NOT_FOUND;
            for (size_t i = 0; server != nullptr && i < server->config.data.size(); ++i) {
                const auto& entry = server->config.data[i];
                if (value == nullptr || !EqualNoCase(entry.first, value)) continue;
                DWORD bytes = static_cast<DWORD>(entry.second.size() + 1);
                if (type) *type = REG_SZ;
                if (needed) *needed = bytes;
                result = ERROR_MORE_DATA;
                if (data != nullptr && size >= bytes) {
                    CopyMemory(data, entry.second.c_str(), bytes);
                    result = ERROR_SUCCESS;
                }
                break;
            }
        } else {
            result = GetPrinterDataA(printer, value, type, data, size, needed);
        }
    }
    line.Result(static_cast<long>(result), false, 0);
    call.Log(line);
    return result;
}

BOOL WINAPI StGetPrinterDriverA(HANDLE printer, LPSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                                LPDWORD needed) {
    StrictCall call;
    JournalLine line("GetPrinterDriverA");
    LogPrinter(line, printer).Text("env", environment).Number("level", level).Number("size", size);
    DWORD error = 0;
    BOOL ok;
    if (InjectFailure("GetPrinterDriverA", PrinterNameOfHandle(printer), static_cast<long>(level), &error)) {
        ZeroOut(needed);
        ok = FALSE;
    } else if (IsServerPrinterHandle(printer)) {
        // A print-server printer's driver is not installed here.
        ZeroOut(needed);
        ok = FALSE;
        error = ERROR_UNKNOWN_PRINTER_DRIVER;
    } else {
        ok = GetPrinterDriverA(printer, environment, level, buffer, size, needed);
        error = ErrorIf(ok);
    }
    line.Result(ok ? 1 : 0, !ok, error).Number("needed", needed ? *needed : 0);
    call.Log(line);
    if (!ok) SetLastError(error);
    return ok;
}

BOOL WINAPI StEnumJobsA(HANDLE printer, DWORD firstJob, DWORD jobCount, DWORD level, LPBYTE buffer,
                        DWORD size, LPDWORD needed, LPDWORD returned) {
    StrictCall call;
    JournalLine line("EnumJobsA");
    LogPrinter(line, printer).Number("first", firstJob).Number("count", jobCount).Number("level", level);
    line.Number("size", size);
    std::string name = PrinterNameOfHandle(printer);
    DWORD error = 0;
    BOOL ok = FALSE;
    ZeroOut(needed, returned);
    if (InjectFailure("EnumJobsA", name, static_cast<long>(level), &error)) {
        ok = FALSE;
    } else if (!IsKnownPrinterHandle(printer) || name.empty()) {
        error = ERROR_INVALID_HANDLE;
    } else if (level != 1) {
        error = ERROR_INVALID_LEVEL;
    } else {
        const std::vector<SimulatedJob>& queue = *QueueOf(name);
        std::vector<SimulatedJob> window;
        for (size_t i = firstJob; i < queue.size() && window.size() < jobCount; ++i)
            window.push_back(queue[i]);
        ok = PackJobs(window, name, buffer, size, needed);
        error = ErrorIf(ok);
        if (ok && returned) *returned = static_cast<DWORD>(window.size());
    }
    line.Result(ok ? 1 : 0, !ok, error);
    line.Number("needed", needed ? *needed : 0).Number("returned", returned ? *returned : 0);
    call.Log(line);
    if (!ok) SetLastError(error);
    return ok;
}

BOOL WINAPI StSetJobA(HANDLE printer, DWORD jobId, DWORD level, LPBYTE job, DWORD command) {
    StrictCall call;
    JournalLine line("SetJobA");
    LogPrinter(line, printer).Number("job", jobId).Number("level", level).Number("command", command);
    std::string name = PrinterNameOfHandle(printer);
    DWORD error = 0;
    if (InjectFailure("SetJobA", name, static_cast<long>(level), &error)) return Fail(call, line, error);
    if (!IsKnownPrinterHandle(printer) || name.empty()) return Fail(call, line, ERROR_INVALID_HANDLE);
    std::vector<SimulatedJob>& queue = *QueueOf(name);
    size_t at = 0;
    while (at < queue.size() && queue[at].id != jobId) ++at;
    if (at == queue.size()) return Fail(call, line, ERROR_INVALID_PARAMETER);
    switch (command) {
        case JOB_CONTROL_CANCEL:
        case JOB_CONTROL_DELETE:
            queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case JOB_CONTROL_PAUSE:
            queue[at].status |= JOB_STATUS_PAUSED;
            break;
        case JOB_CONTROL_RESUME:
            queue[at].status &= ~static_cast<DWORD>(JOB_STATUS_PAUSED);
            break;
        case JOB_CONTROL_RESTART:
            break;
        case 0:
            // Setting job information (level 1 or 2): the simulated queue keeps its own.
            if (level == 0 || job == nullptr) return Fail(call, line, ERROR_INVALID_PARAMETER);
            break;
        default:
            return Fail(call, line, ERROR_INVALID_PARAMETER);
    }
    return Finish(call, line, TRUE, 0);
}

BOOL WINAPI StDeletePrinter(HANDLE printer) {
    StrictCall call;
    JournalLine line("DeletePrinter");
    LogPrinter(line, printer);
    std::string name = PrinterNameOfHandle(printer);
    DWORD error = 0;
    if (InjectFailure("DeletePrinter", name, -1, &error)) return Fail(call, line, error);
    // A print-server printer belongs to the server; a connection is removed with
    // DeletePrinterConnectionA instead.
    if (IsServerPrinterHandle(printer)) return Fail(call, line, ERROR_ACCESS_DENIED);
    BOOL ok = DeletePrinter(printer);
    error = ErrorIf(ok);
    if (ok) ClearQueue(name);
    return Finish(call, line, ok, error);
}

BOOL WINAPI StDeletePrinterConnectionA(LPSTR name) {
    StrictCall call;
    JournalLine line("DeletePrinterConnectionA");
    line.Text("name", name);
    DWORD error = 0;
    if (InjectFailure("DeletePrinterConnectionA", name ? name : "", -1, &error))
        return Fail(call, line, error);
    // Wine answers TRUE for any name; Windows knows only the connections it holds.
    ServerPrinter* server = name ? FindServerPrinter(name) : nullptr;
    if (server == nullptr) return Fail(call, line, ERROR_INVALID_PRINTER_NAME);
    server->removed = true;
    ClearQueue(server->config.name);
    return Finish(call, line, TRUE, 0);
}

BOOL WINAPI StEnumPrinterDriversA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                                  LPDWORD needed, LPDWORD returned) {
    StrictCall call;
    JournalLine line("EnumPrinterDriversA");
    line.Text("server", server).Text("env", environment).Number("level", level).Number("size", size);
    DWORD error = 0;
    BOOL ok = QueryOrFail("EnumPrinterDriversA", static_cast<long>(level), needed, returned, &error,
                          [&] { return EnumPrinterDriversA(server, environment, level, buffer, size, needed, returned); });
    return FinishQuery(call, line, ok, error, [&] { LogSizes(line, needed, returned); });
}

BOOL WINAPI StDeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driver) {
    StrictCall call;
    JournalLine line("DeletePrinterDriverA");
    line.Text("server", server).Text("env", environment).Text("name", driver);
    DWORD error = 0;
    if (InjectFailure("DeletePrinterDriverA", "", -1, &error)) return Fail(call, line, error);
    if (DriverInUse(driver)) return Fail(call, line, ERROR_PRINTER_DRIVER_IN_USE);
    // Wine fails for an unknown driver without setting an error; Windows says which.
    SetLastError(0);
    BOOL ok = DeletePrinterDriverA(server, environment, driver);
    error = ErrorIf(ok);
    if (!ok && error == 0) error = ERROR_UNKNOWN_PRINTER_DRIVER;
    return Finish(call, line, ok, error);
}

BOOL WINAPI StDeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitor) {
    StrictCall call;
    JournalLine line("DeleteMonitorA");
    line.Text("server", server).Text("env", environment).Text("name", monitor);
    DWORD error = 0;
    if (InjectFailure("DeleteMonitorA", "", -1, &error)) return Fail(call, line, error);
    BOOL ok = DeleteMonitorA(server, environment, monitor);
    return Finish(call, line, ok, ErrorIf(ok));
}

BOOL WINAPI StEnumPrintProcessorsA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                                   LPDWORD needed, LPDWORD returned) {
    StrictCall call;
    JournalLine line("EnumPrintProcessorsA");
    line.Text("server", server).Text("env", environment).Number("level", level).Number("size", size);
    DWORD error = 0;
    BOOL ok = QueryOrFail("EnumPrintProcessorsA", static_cast<long>(level), needed, returned, &error,
                          [&] { return EnumPrintProcessorsA(server, environment, level, buffer, size, needed, returned); });
    return FinishQuery(call, line, ok, error, [&] { LogSizes(line, needed, returned); });
}

BOOL WINAPI StDeletePrintProcessorA(LPSTR server, LPSTR environment, LPSTR processor) {
    StrictCall call;
    JournalLine line("DeletePrintProcessorA");
    line.Text("server", server).Text("env", environment).Text("name", processor);
    DWORD error = 0;
    if (InjectFailure("DeletePrintProcessorA", "", -1, &error)) return Fail(call, line, error);
    if (!IsEmpty(server)) {
        BOOL ok = DeletePrintProcessorA(server, environment, processor);
        return Finish(call, line, ok, ErrorIf(ok));
    }
    error = RemovePrintProcessorKey(environment, processor);
    return Finish(call, line, error == 0, error);
}

BOOL WINAPI StGetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                         DWORD size, LPDWORD needed) {
    StrictCall call;
    JournalLine line("GetPrinterDriverDirectoryA");
    line.Text("server", server).Text("env", environment).Number("level", level).Number("size", size);
    DWORD error = 0;
    BOOL ok = QueryOrFail("GetPrinterDriverDirectoryA", static_cast<long>(level), needed, nullptr, &error,
                          [&] { return GetPrinterDriverDirectoryA(server, environment, level, buffer, size, needed); });
    return FinishQuery(call, line, ok, error, [&] {
        if (ok && buffer != nullptr) line.Text("dir", reinterpret_cast<LPCSTR>(buffer));
    });
}

BOOL WINAPI StGetPrintProcessorDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                          DWORD size, LPDWORD needed) {
    StrictCall call;
    JournalLine line("GetPrintProcessorDirectoryA");
    line.Text("server", server).Text("env", environment).Number("level", level).Number("size", size);
    DWORD error = 0;
    BOOL ok = QueryOrFail("GetPrintProcessorDirectoryA", static_cast<long>(level), needed, nullptr, &error,
                          [&] { return GetPrintProcessorDirectoryA(server, environment, level, buffer, size, needed); });
    return FinishQuery(call, line, ok, error, [&] {
        if (ok && buffer != nullptr) line.Text("dir", reinterpret_cast<LPCSTR>(buffer));
    });
}
}
