#pragma once
// Printer and job records of the strict test spooler, and their packing into the caller's buffer
// in the spooler's layout: the fixed structures first, then the texts they point to. Sizes are
// reported the way the spooler does: with a buffer too small, nothing is written, the call fails
// with ERROR_INSUFFICIENT_BUFFER and *needed holds the size in bytes.
#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "StrictState.h"

// The fields of PRINTER_INFO_1/2/4/5 as texts and numbers; an empty text is packed as null,
// except the printer name.
struct PrinterRecord {
    std::string server, name, share, port, driver, comment, location, sepFile, printProcessor, datatype,
        parameters, description;
    std::vector<BYTE> devMode;
    DWORD flags = 0, attributes = 0, priority = 0, defaultPriority = 0, startTime = 0, untilTime = 0,
          status = 0, jobs = 0, averagePpm = 0, notSelectedTimeout = 0, retryTimeout = 0;
};

bool IsPrinterLevelPacked(DWORD level);  // 1, 2, 4 and 5

// Reads the entries of one PRINTER_INFO level from a spooler buffer.
std::vector<PrinterRecord> ReadPrinterRecords(const BYTE* buffer, DWORD count, DWORD level);
PrinterRecord RecordOfServerPrinter(const ServerPrinter& printer);

BOOL PackPrinterRecords(const std::vector<PrinterRecord>& records, DWORD level, BYTE* buffer, DWORD size,
                        DWORD* needed);
BOOL PackJobs(const std::vector<SimulatedJob>& jobs, const std::string& printer, BYTE* buffer, DWORD size,
              DWORD* needed);
