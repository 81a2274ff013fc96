#pragma once
// Reads from the spooler the way every spooler step reads: a first call without a buffer to learn
// the size in bytes, then a second into a zero-filled buffer of that size rounded up to a multiple
// of 4.
#include <windows.h>

#include <vector>

// query(buffer, size, &needed) makes the spooler call. True when the second call succeeded; the
// buffer then holds its answer. False when there is nothing to read or a call failed; *error, when
// given, then tells the two apart: 0 when the first call answered without asking for a buffer
// (nothing to read), else the failed call's error.
template <class Query>
bool QuerySized(std::vector<BYTE>& buffer, Query query, DWORD* error = nullptr) {
    // Sizes beyond this are no spooler answer: refuse them rather than let the rounding wrap.
    const DWORD kLargest = 0x7FFFFFF0;
    buffer.clear();
    DWORD ignored = 0;
    if (!error) error = &ignored;
    *error = 0;
    DWORD needed = 0;
    if (!query(static_cast<BYTE*>(nullptr), 0, &needed) && needed == 0) {
        // A call that fails without naming a size has not said that there is nothing to read.
        *error = GetLastError();
        if (*error == ERROR_SUCCESS) *error = ERROR_INVALID_DATA;
        return false;
    }
    if (needed == 0) return false;
    if (needed > kLargest) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    buffer.assign((needed + 3) & ~static_cast<DWORD>(3), 0);
    if (query(buffer.data(), static_cast<DWORD>(buffer.size()), &needed)) return true;
    *error = GetLastError();
    return false;
}

// The number of records of a spooler answer, never more than the buffer holds.
template <class Record>
DWORD RecordsIn(const std::vector<BYTE>& buffer, DWORD count) {
    DWORD fits = static_cast<DWORD>(buffer.size() / sizeof(Record));
    return count < fits ? count : fits;
}

// Where a record about one driver environment says it is: the environment, "" for the spooler's own.
inline const char* EnvironmentScope(const char* environment) {
    return environment ? environment : "";
}

// The environment's name in the NT spooler's registry keys: the spooler's own is "Windows NT x86".
inline const char* EnvironmentKeyNameNT(const char* environment) {
    return environment && *environment ? environment : "Windows NT x86";
}

// PRINTER_INFO_2 of the local printers; *count receives their number. *error as for QuerySized.
bool EnumLocalPrinters(std::vector<BYTE>& buffer, DWORD* count, DWORD* error = nullptr);
// PRINTER_INFO_2 of an open printer.
bool ReadPrinterInfo2(HANDLE printer, std::vector<BYTE>& buffer);
// DRIVER_INFO_2 (or, with level 3, DRIVER_INFO_3) of the drivers of one environment (null: the
// spooler's own). *error as for QuerySized.
bool EnumDrivers(const char* environment, std::vector<BYTE>& buffer, DWORD* count, DWORD* error = nullptr,
                 DWORD level = 2);
// False only when the spooler answers with a list of the environment's drivers that lacks name
// (ignoring case); a spooler that does not answer may still hold the driver.
bool DriverMayBeInstalled(const char* environment, const char* name);
