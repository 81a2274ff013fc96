#include "DefaultPrinter.h"

#include <winspool.h>

#include <cstring>
#include <vector>

#include "script/BoundedText.h"
#include "shell/OSInfo.h"
#include "spooler/SpoolerQuery.h"

namespace {
const int kDriverPartSize = 256;
const int kDeviceValueSize = 256;
const UINT kBroadcastTimeout = 1000;

// The base name (no directory, no extension) of the printer's driver file, read through a second
// handle opened without defaults; false when the driver's details cannot be read.
bool DriverFileBaseName(const char* printerName, char (&part)[kDriverPartSize]) {
    HANDLE printer = NULL;
    if (!OpenPrinterA(const_cast<char*>(printerName), &printer, NULL) || !printer) return false;
    std::vector<BYTE> buffer;
    bool read = QuerySized(buffer, [printer](BYTE* data, DWORD size, DWORD* needed) {
        return GetPrinterDriverA(printer, NULL, 2, data, size, needed);
    });
    ClosePrinter(printer);
    const char* path = read ? reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data())->pDriverPath : NULL;
    if (!path) return false;
    const char* name = path;
    for (const char* c = path; *c; ++c) {
        if (*c == '\\' || *c == '/' || *c == ':') name = c + 1;
    }
    CopyText(part, sizeof part, name);
    char* dot = strrchr(part, '.');
    if (dot) *dot = 0;
    return true;
}

// The middle field of the device value: what WIN.INI names as the printer's driver.
void DriverPart(const COSInfo& os, const char* printerName, const PRINTER_INFO_2A& info,
                char (&part)[kDriverPartSize]) {
    if (os.IsNT()) {
        CopyText(part, sizeof part, "winspool");
        return;
    }
    if (os.IsWin32s() && DriverFileBaseName(printerName, part)) return;
    CopyText(part, sizeof part, info.pPrintProcessor);
}

void AnnounceChange(const COSInfo& os) {
    DWORD_PTR answer = 0;
    if (os.IsWin32s()) {
        SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, 0);
    } else if (os.IsWin9x()) {
        SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("windows"),
                            SMTO_NORMAL, kBroadcastTimeout, &answer);
    } else {
        SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_NORMAL, kBroadcastTimeout, &answer);
    }
}
}  // namespace

int MakeDefaultPrinter(const COSInfo& os, const char* printerName) {
    if (!printerName || !*printerName) return 0;
    PRINTER_DEFAULTSA access = {NULL, NULL, PRINTER_ALL_ACCESS};
    HANDLE printer = NULL;
    bool mayChange = true;
    if (!OpenPrinterA(const_cast<char*>(printerName), &printer, &access)) {
        // A user who may only print to the printer cannot set its attribute. On the NT family the
        // default lives in the WIN.INI device value, and a handle for printing reads the port
        // that value names.
        if (!os.IsNT() || GetLastError() != ERROR_ACCESS_DENIED) return 0;
        access.DesiredAccess = PRINTER_ACCESS_USE;
        if (!OpenPrinterA(const_cast<char*>(printerName), &printer, &access)) return 0;
        mayChange = false;
    }

    int result = 0;
    std::vector<BYTE> buffer;
    if (ReadPrinterInfo2(printer, buffer)) {
        PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
        info->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
        // The result is the write that holds the default on this family: the attribute on
        // Windows 9x, the device value elsewhere. A failed write is a failure, not a success.
        result = mayChange && SetPrinterA(printer, 2, buffer.data(), 0) ? 1 : 0;
        if (!os.IsWin9x()) {
            char part[kDriverPartSize];
            DriverPart(os, printerName, *info, part);
            char value[kDeviceValueSize];
            // A cut value would name another printer or port as the default: refuse it instead.
            result = FormatText(value, sizeof value, "%s,%s,%s", printerName, part,
                                info->pPortName ? info->pPortName : "") &&
                     WriteProfileStringA("windows", "device", value);
        }
    }
    AnnounceChange(os);
    ClosePrinter(printer);
    return result;
}
