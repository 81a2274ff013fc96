// QSPOOL01.DLL as it ships: every export hands its call unchanged to Windows' own spooler
// (winspool.drv) or registry (advapi32.dll) function of the same name, so callers see exactly the
// documented Windows behaviour, error codes included.
//
// The functions carry a "Qs" prefix here because the Windows headers already declare the standard
// names; QSPOOL01.def maps each standard export name onto its Qs function.
#include <windows.h>
#include <winspool.h>

extern "C" {

BOOL WINAPI QsEnumPrintersA(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                            LPDWORD returned) {
    return EnumPrintersA(flags, name, level, buffer, size, needed, returned);
}

BOOL WINAPI QsOpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
    return OpenPrinterA(name, printer, defaults);
}

BOOL WINAPI QsClosePrinter(HANDLE printer) {
    return ClosePrinter(printer);
}

BOOL WINAPI QsGetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    return GetPrinterA(printer, level, buffer, size, needed);
}

BOOL WINAPI QsSetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD command) {
    return SetPrinterA(printer, level, buffer, command);
}

DWORD WINAPI QsGetPrinterDataA(HANDLE printer, LPSTR value, LPDWORD type, LPBYTE data, DWORD size,
                               LPDWORD needed) {
    return GetPrinterDataA(printer, value, type, data, size, needed);
}

BOOL WINAPI QsGetPrinterDriverA(HANDLE printer, LPSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                                LPDWORD needed) {
    return GetPrinterDriverA(printer, environment, level, buffer, size, needed);
}

BOOL WINAPI QsEnumJobsA(HANDLE printer, DWORD firstJob, DWORD jobCount, DWORD level, LPBYTE buffer,
                        DWORD size, LPDWORD needed, LPDWORD returned) {
    return EnumJobsA(printer, firstJob, jobCount, level, buffer, size, needed, returned);
}

BOOL WINAPI QsSetJobA(HANDLE printer, DWORD jobId, DWORD level, LPBYTE job, DWORD command) {
    return SetJobA(printer, jobId, level, job, command);
}

BOOL WINAPI QsDeletePrinter(HANDLE printer) {
    return DeletePrinter(printer);
}

BOOL WINAPI QsDeletePrinterConnectionA(LPSTR name) {
    return DeletePrinterConnectionA(name);
}

BOOL WINAPI QsEnumPrinterDriversA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                                  LPDWORD needed, LPDWORD returned) {
    return EnumPrinterDriversA(server, environment, level, buffer, size, needed, returned);
}

BOOL WINAPI QsDeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driver) {
    return DeletePrinterDriverA(server, environment, driver);
}

BOOL WINAPI QsDeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitor) {
    return DeleteMonitorA(server, environment, monitor);
}

BOOL WINAPI QsEnumPrintProcessorsA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                                   LPDWORD needed, LPDWORD returned) {
    return EnumPrintProcessorsA(server, environment, level, buffer, size, needed, returned);
}

BOOL WINAPI QsDeletePrintProcessorA(LPSTR server, LPSTR environment, LPSTR processor) {
    return DeletePrintProcessorA(server, environment, processor);
}

BOOL WINAPI QsGetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                         DWORD size, LPDWORD needed) {
    return GetPrinterDriverDirectoryA(server, environment, level, buffer, size, needed);
}

BOOL WINAPI QsGetPrintProcessorDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                          DWORD size, LPDWORD needed) {
    return GetPrintProcessorDirectoryA(server, environment, level, buffer, size, needed);
}

LONG WINAPI QsRegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
    return RegOpenKeyExA(key, subKey, options, access, result);
}

LONG WINAPI QsRegDeleteValueA(HKEY key, LPCSTR value) {
    return RegDeleteValueA(key, value);
}

LONG WINAPI QsRegCloseKey(HKEY key) {
    return RegCloseKey(key);
}

LONG WINAPI QsRegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
    return RegOpenKeyA(key, subKey, result);
}

LONG WINAPI QsRegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameSize) {
    return RegEnumKeyA(key, index, name, nameSize);
}

LONG WINAPI QsRegQueryValueExA(HKEY key, LPCSTR value, LPDWORD reserved, LPDWORD type, LPBYTE data,
                               LPDWORD dataSize) {
    return RegQueryValueExA(key, value, reserved, type, data, dataSize);
}

LONG WINAPI QsRegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                            LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    return RegEnumValueA(key, index, name, nameSize, reserved, type, data, dataSize);
}

LONG WINAPI QsRegDeleteKeyA(HKEY key, LPCSTR subKey) {
    return RegDeleteKeyA(key, subKey);
}

LONG WINAPI QsRegSetValueExA(HKEY key, LPCSTR value, DWORD reserved, DWORD type, const BYTE *data,
                             DWORD dataSize) {
    return RegSetValueExA(key, value, reserved, type, data, dataSize);
}
}
