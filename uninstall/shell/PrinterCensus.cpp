#include "PrinterCensus.h"

#include <cstring>
#include <new>

#include "script/BoundedText.h"
#include "shell/CensusFilter.h"
#include "shell/CmdSwitches.h"
#include "shell/OSInfo.h"

namespace {
const char kMakerDriverValue[] = "QuellanDriver01";
const char kVizoredNameValue[] = "VizPrinter";
const DWORD kEnumFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
const DWORD kValueBufferSize = 256;
const DWORD kDefaultPrinterBufferSize = 256;
const DWORD kComputerNameBufferSize = 16;
const int kDiagnosticTextSize = 256;
// Sizes beyond this are not a printer list: refuse them rather than let the rounding wrap.
const DWORD kLargestBuffer = 0x7FFFFFF0;

// A spooler buffer of a needed size rounded up to a multiple of 4; empty when it cannot be had.
class SpoolerBuffer {
public:
    ~SpoolerBuffer() { delete[] data_; }
    bool Allocate(DWORD needed) {
        delete[] data_;
        data_ = nullptr;
        size_ = 0;
        if (needed == 0 || needed > kLargestBuffer) return false;
        DWORD rounded = (needed + 3) & ~static_cast<DWORD>(3);
        data_ = new (std::nothrow) BYTE[rounded];
        if (data_) size_ = rounded;
        return data_ != nullptr;
    }
    BYTE* Data() const { return data_; }
    DWORD Size() const { return size_; }

private:
    BYTE* data_ = nullptr;
    DWORD size_ = 0;
};

int EnumLevelFor(const COSInfo& os) {
    if (os.IsNT()) return 4;
    if (os.IsWin9x()) return 5;
    return 2;
}

// The entries are stepped by the structure of the level; sizeof keeps this right on 64 bits too.
const char* PrinterNameAt(const BYTE* entries, int level, DWORD index) {
    switch (level) {
    case 4: return reinterpret_cast<const PRINTER_INFO_4A*>(entries)[index].pPrinterName;
    case 5: return reinterpret_cast<const PRINTER_INFO_5A*>(entries)[index].pPrinterName;
    default: return reinterpret_cast<const PRINTER_INFO_2A*>(entries)[index].pPrinterName;
    }
}

// A connection to another computer's printer; level 5 (Windows 9x) lists none.
bool IsConnectionAt(const BYTE* entries, int level, DWORD index) {
    const char* server = NULL;
    if (level == 4) server = reinterpret_cast<const PRINTER_INFO_4A*>(entries)[index].pServerName;
    if (level == 2) server = reinterpret_cast<const PRINTER_INFO_2A*>(entries)[index].pServerName;
    return server && *server;
}

// The spooler's answer to a printer-data read: the value is there, or it is not. Any other result
// is a read that failed, which says nothing about the value.
bool ValueAnswered(DWORD result) {
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND || result == ERROR_MORE_DATA;
}

// The name part of win.ini's [windows] device= entry ("name,driver,port"). A printer name may hold
// commas of its own, so the name ends at the comma before the driver, the second from the end.
void ReadDefaultPrinterName(char* name, DWORD size) {
    GetProfileStringA("windows", "device", "", name, size);
    char* port = strrchr(name, ',');
    if (!port) return;
    *port = 0;
    char* driver = strrchr(name, ',');
    if (driver) *driver = 0;
}

// Whether the printer has the value at all, whatever its type and size. *result receives the
// spooler's answer.
bool HasPrinterValue(HANDLE printer, const char* valueName, DWORD* result) {
    BYTE data[kValueBufferSize];
    DWORD type = 0;
    DWORD needed = 0;
    *result = GetPrinterDataA(printer, const_cast<char*>(valueName), &type, data, sizeof data, &needed);
    return *result == ERROR_SUCCESS || *result == ERROR_MORE_DATA;
}

// Reads a printer-data value that holds a text; false for a missing value, one too long for the
// buffer, and one of another type (a number or bytes name no printer). The buffer holds one byte more
// than the spooler may fill, so a value that fills it without a terminating NUL still ends inside it.
// *result receives the spooler's answer.
bool ReadPrinterText(HANDLE printer, const char* valueName, char (&text)[kValueBufferSize + 1],
                     DWORD* result) {
    DWORD type = 0;
    DWORD needed = 0;
    *result = GetPrinterDataA(printer, const_cast<char*>(valueName), &type, reinterpret_cast<BYTE*>(text),
                              kValueBufferSize, &needed);
    text[*result == ERROR_SUCCESS && needed < kValueBufferSize ? needed : kValueBufferSize] = 0;
    return *result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ);
}

// GetPrinterA level 2 into the buffer kept between printers; grows it when this printer needs more.
// A printer whose details cannot be read ends the census: counted without a record, a printer of
// the maker that stays would leave its driver's files and the maker's keys looking unneeded.
void ReadPrinterDetails(HANDLE printer, SpoolerBuffer& buffer) {
    DWORD needed = 0;
    if (GetPrinterA(printer, 2, buffer.Data(), buffer.Size(), &needed)) return;
    DWORD error = GetLastError();
    if (needed > 0) buffer.Allocate(needed);
    if (!buffer.Data()) {
        throw QuickExceptionInfo{error,
                                 "GetPrinter",
                                 "unable to size GetPrinter level 2 data",
                                 "Bytes needed",
                                 static_cast<int>(needed),
                                 NULL,
                                 0};
    }
    if (!GetPrinterA(printer, 2, buffer.Data(), buffer.Size(), &needed)) {
        // The handle goes into the diagnostic only; its low bits identify it well enough.
        throw QuickExceptionInfo{GetLastError(), "GetPrinter", "unable to GetPrinter level 2 data", "hPrinter",
                                 static_cast<int>(reinterpret_cast<INT_PTR>(printer)), "Buffer",
                                 static_cast<int>(buffer.Size())};
    }
}

struct CensusContext {
    const COSInfo& os;
    const CCmdSwitches& switches;
    char defaultPrinter[kDefaultPrinterBufferSize];
    char computerName[kComputerNameBufferSize];
};

void FillRecord(InstalledPrinter& record, const PRINTER_INFO_2A& info, const CensusContext& context) {
    if ((info.Attributes & PRINTER_ATTRIBUTE_DEFAULT) ||
        (info.pPrinterName && strcmp(info.pPrinterName, context.defaultPrinter) == 0))
        record.isDefault = 1;
    record.name.Assign(info.pPrinterName);
    record.driver.Assign(info.pDriverName);
    // A server name carries two leading backslashes, so it never equals the bare computer name:
    // every printer with a server name gets a location.
    if (!context.os.IsWin32s() && info.pServerName && *info.pServerName &&
        !EqualsNoCase(info.pServerName, context.computerName))
        record.location.Assign(info.pServerName);
    record.isForeign = (!record.isSpoolara && record.vizoredName.IsEmpty()) ? 1 : 0;
    if (!MatchesCensusSwitches(context.switches, record.name.Text(), record.driver.Text(),
                               record.vizoredName.Text())) {
        record.offered = 0;
        record.excluded = 1;
    }
}

// The answer to a read of one of the maker's marker values. A read that failed ends the census:
// unread, the marker would make the maker's printer look like another maker's, which the removal
// leaves out of what stays. On Win32s every printer counts as the maker's anyway.
void RequireMarkerAnswer(DWORD result, HANDLE printer, const CensusContext& context) {
    if (!ValueAnswered(result) && !context.os.IsWin32s())
        throw QuickExceptionInfo{result,
                                 "GetPrinterData",
                                 "unable to read printer data",
                                 "hPrinter",
                                 static_cast<int>(reinterpret_cast<INT_PTR>(printer)),
                                 NULL,
                                 0};
}

// Opens one printer and appends its record. Returns 1 when the printer was opened (and counts).
int CensusOfPrinter(const BYTE* entries, int level, DWORD index, std::vector<InstalledPrinter>& list,
                    SpoolerBuffer& details, const CensusContext& context) {
    const char* printerName = PrinterNameAt(entries, level, index);
    // Without a name OpenPrinterA would open the print server itself; such an entry is no printer
    // (Wine lists one for a printer whose name holds a backslash).
    if (!printerName || !*printerName) return 0;
    HANDLE printer = NULL;
    PRINTER_DEFAULTSA defaults = {NULL, NULL, PRINTER_READ};
    if (!OpenPrinterA(const_cast<char*>(printerName), &printer, &defaults)) {
        DWORD error = GetLastError();
        // Left out are a printer deleted since the listing, and a connection whose server does not
        // answer (its driver comes from the server again). A printer of this computer that the
        // spooler lists and will not open may be the maker's and stay: the census cannot be had.
        if (error == ERROR_INVALID_PRINTER_NAME || IsConnectionAt(entries, level, index)) return 0;
        throw QuickExceptionInfo{error,   "OpenPrinter",           "unable to open a listed printer",
                                 "Entry", static_cast<int>(index), NULL,
                                 0};
    }
    try {
        InstalledPrinter record;
        DWORD result = ERROR_SUCCESS;
        if (HasPrinterValue(printer, kMakerDriverValue, &result) || context.os.IsWin32s())
            record.isSpoolara = 1;
        RequireMarkerAnswer(result, printer, context);
        char value[kValueBufferSize + 1];
        if (ReadPrinterText(printer, kVizoredNameValue, value, &result)) record.vizoredName.Assign(value);
        RequireMarkerAnswer(result, printer, context);
        ReadPrinterDetails(printer, details);
        FillRecord(record, *reinterpret_cast<const PRINTER_INFO_2A*>(details.Data()), context);
        list.push_back(record);
    } catch (...) {
        ClosePrinter(printer);
        // A connection whose server stops answering once it is open is left out, as one that could
        // not be opened is: a computer away from its print server still has a census.
        if (IsConnectionAt(entries, level, index)) return 0;
        throw;
    }
    ClosePrinter(printer);
    return 1;
}

int TakeCensus(std::vector<InstalledPrinter>& list, const COSInfo& os, const CCmdSwitches& switches,
               const SpoolerNotRespondingHandler& spoolerNotResponding, bool* failed,
               QuickExceptionInfo* failure) {
    const int level = EnumLevelFor(os);
    DWORD needed = 0;
    DWORD returned = 0;
    if (!EnumPrintersA(kEnumFlags, NULL, level, NULL, 0, &needed, &returned) && needed == 0) {
        DWORD error = GetLastError();
        if (error == RPC_S_SERVER_UNAVAILABLE) {
            *failed = true;
            if (failure)
                *failure = QuickExceptionInfo{
                    error, "EnumPrinters", "the spooler does not answer", "Bytes needed", 0, NULL, 0};
            if (spoolerNotResponding) spoolerNotResponding();
            return 0;
        }
        // A spooler without printers answers with nothing needed and nothing else to say. Any other
        // error is a list that could not be had, and a census that took it for an empty one would
        // leave the maker's printers looking gone.
        if (error != ERROR_SUCCESS && error != ERROR_INSUFFICIENT_BUFFER)
            throw QuickExceptionInfo{
                error, "EnumPrinters", "unable to size the printer list", "Bytes needed", 0, NULL, 0};
        return 0;
    }
    if (needed == 0) return 0;

    SpoolerBuffer entries;
    if (!entries.Allocate(needed))
        throw QuickExceptionInfo{GetLastError(), "_alloca", "FAILED to ALLOCA!!!", "Bytes needed",
                                 static_cast<int>(needed), NULL, 0};
    if (!EnumPrintersA(kEnumFlags, NULL, level, entries.Data(), entries.Size(), &needed, &returned))
        throw QuickExceptionInfo{GetLastError(), "EnumPrinters", "failed to enum printers", "Bytes needed",
                                 static_cast<int>(needed), "bytes returned", static_cast<int>(returned)};

    CensusContext context{os, switches, {}, {}};
    ReadDefaultPrinterName(context.defaultPrinter, sizeof context.defaultPrinter);
    if (!os.IsWin32s()) {
        DWORD size = sizeof context.computerName;
        // A name too long for the buffer leaves it empty: no server then counts as this computer.
        if (!GetComputerNameA(context.computerName, &size)) context.computerName[0] = 0;
    }

    SpoolerBuffer details;
    int count = 0;
    for (DWORD i = 0; i < returned; ++i)
        count += CensusOfPrinter(entries.Data(), level, i, list, details, context);
    return count;
}
}  // namespace

void FormatCensusFailure(const QuickExceptionInfo& info, char* text, size_t capacity) {
    FormatText(text, capacity, "%s \n%s%s \n%s%i \n%s%s \n%s: %i \n%s: %i",
               "CLoadingDlg::BuildListOfInstalledPrinters failed", "Function: ", info.function,
               "Last Error Code: ", static_cast<int>(info.lastError), "Desc: ", info.description, info.firstLabel,
               info.firstValue, info.secondLabel ? info.secondLabel : "", info.secondValue);
}

int BuildListOfInstalledPrinters(std::vector<InstalledPrinter>& list, const COSInfo& os,
                                 const CCmdSwitches& switches,
                                 const SpoolerNotRespondingHandler& spoolerNotResponding, bool* failed,
                                 QuickExceptionInfo* failure) {
    bool ignored = false;
    if (!failed) failed = &ignored;
    *failed = false;
    try {
        return TakeCensus(list, os, switches, spoolerNotResponding, failed, failure);
    } catch (const QuickExceptionInfo& info) {
        *failed = true;
        if (failure) *failure = info;
        // Nothing is shown: the loading sequence answers a failed census by running again.
        char text[kDiagnosticTextSize];
        FormatCensusFailure(info, text, sizeof text);
        OutputDebugStringA(text);
        return 0;
    }
}
