#include "SpoolerQuery.h"

#include "script/TextItem.h"

bool EnumLocalPrinters(std::vector<BYTE>& buffer, DWORD* count, DWORD* error) {
    *count = 0;
    bool read = QuerySized(
        buffer,
        [count](BYTE* data, DWORD size, DWORD* needed) {
            return EnumPrintersA(PRINTER_ENUM_LOCAL, NULL, 2, data, size, needed, count);
        },
        error);
    *count = read ? RecordsIn<PRINTER_INFO_2A>(buffer, *count) : 0;
    return read;
}

bool ReadPrinterInfo2(HANDLE printer, std::vector<BYTE>& buffer) {
    return QuerySized(buffer, [printer](BYTE* data, DWORD size, DWORD* needed) {
        return GetPrinterA(printer, 2, data, size, needed);
    });
}

bool EnumDrivers(const char* environment, std::vector<BYTE>& buffer, DWORD* count, DWORD* error, DWORD level) {
    *count = 0;
    bool read = QuerySized(
        buffer,
        [environment, level, count](BYTE* data, DWORD size, DWORD* needed) {
            return EnumPrinterDriversA(NULL, const_cast<char*>(environment), level, data, size, needed, count);
        },
        error);
    if (!read) return false;
    *count = level == 3 ? RecordsIn<DRIVER_INFO_3A>(buffer, *count) : RecordsIn<DRIVER_INFO_2A>(buffer, *count);
    return true;
}

bool DriverMayBeInstalled(const char* environment, const char* name) {
    DWORD needed = 0, count = 0;
    char* env = const_cast<char*>(environment);
    // An environment without drivers answers the sizing call with success and nothing needed.
    if (EnumPrinterDriversA(NULL, env, 2, NULL, 0, &needed, &count) && needed == 0) return false;
    std::vector<BYTE> buffer;
    if (!EnumDrivers(environment, buffer, &count)) return true;
    const DRIVER_INFO_2A* drivers = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (EqualsNoCase(drivers[i].pName, name)) return true;
    }
    return false;
}
