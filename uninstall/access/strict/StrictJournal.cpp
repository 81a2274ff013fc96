// The journal of the strict test spooler: a text file with one line per call received, appended
// as the call returns, so that a test can assert what a program asked the spooler to do.
//
//   <Function> <argument>=<value> ... -> <result>[ err=<code>][ <output>=<value> ...]
//
// - Texts are written in double quotes exactly as passed (no escaping); a null pointer is null.
// - Numbers are decimal. A printer handle is shown as printer="<name it was opened with>"
//   (printer=null for the handle of OpenPrinterA(NULL)); a registry key as key="<root>\<path>"
//   with the roots HKCR, HKCU, HKLM, HKU and HKCC.
// - The result is the function's return value: 1/0 for the BOOL functions, the error code itself
//   for GetPrinterDataA and the Reg* functions. err=<GetLastError()> follows only when a BOOL
//   function failed.
// - Outputs worth checking follow the result (needed=, returned=, name=, handle opened ...).
//
// Examples:
//   EnumPrintersA flags=6 name=null level=4 size=0 -> 0 err=1722 needed=0 returned=0
//   OpenPrinterA name="Office Laser" access=983052 -> 1
//   SetJobA printer="Office Laser" job=2 level=0 command=3 -> 1
//   DeletePrinterDriverA server=null env="Windows NT x86" name="Quellan Laser 5" -> 0 err=3001
//   RegDeleteKeyA key="HKCR" subkey="{1234}" -> 0
//
// Lines end with "\n". The file is opened for each line and shared, so several processes (a test
// and the program it started) can write to one journal.
#include "StrictJournal.h"

#include <windows.h>

#include <cstdio>

JournalLine::JournalLine(const char* function) : text_(function) {}

JournalLine& JournalLine::Text(const char* name, const char* value) {
    text_ += ' ';
    text_ += name;
    if (value == nullptr) {
        text_ += "=null";
    } else {
        text_ += "=\"";
        text_ += value;
        text_ += '"';
    }
    return *this;
}

JournalLine& JournalLine::Number(const char* name, unsigned long value) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "=%lu", value);
    text_ += ' ';
    text_ += name;
    text_ += digits;
    return *this;
}

JournalLine& JournalLine::Result(long result, bool failed, unsigned long error) {
    char digits[64];
    if (failed) {
        std::snprintf(digits, sizeof digits, " -> %ld err=%lu", result, error);
    } else {
        std::snprintf(digits, sizeof digits, " -> %ld", result);
    }
    text_ += digits;
    return *this;
}

void JournalLine::Write(const std::string& journalPath) const {
    if (journalPath.empty()) return;
    DWORD savedError = GetLastError();
    HANDLE file = CreateFileA(journalPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        std::string line = text_ + "\n";
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    SetLastError(savedError);
}
