#pragma once
// Configuration of the strict test spooler: what it adds to Wine's spooler for one test.
//
// Read from the file named by the environment variable QSPOOL_CONFIG, or else from QSPOOL01.INI
// beside the DLL. Lines are "key=value" under "[Section]" headers; ';' or '#' starts a comment
// line; names of sections and keys ignore case; ServerPrinter and Fail sections may repeat, each
// one is a record of its own. Unknown sections and keys are ignored.
//
//   [Journal]
//   File=C:\temp\journal.txt        ; QSPOOL_JOURNAL, when set, wins over this
//
//   [Jobs]
//   Office Laser=3                  ; printer name = number of queued jobs ("Document 1", ...)
//
//   [ServerPrinter]
//   Name=\\PRINTSRV\Shared Laser    ; server name and share are taken from the name
//   Driver=Quellan Laser 5
//   Port=IP_10.0.0.5                ; optional, also Comment=, Location=, Attributes=
//   Data.QuellanDriver01=1          ; printer data value (REG_SZ) that GetPrinterDataA reads
//
//   [Fail]
//   Function=EnumPrintersA          ; exported function name
//   Error=1722                      ; error code (GetLastError, or the result of Reg* functions)
//   Times=1                         ; matching calls that fail; absent or 0: all of them
//   After=0                         ; matching calls that succeed before the failures start
//   Printer=Office Laser            ; optional: only calls about this printer
//   Level=2                         ; optional: only calls at this information level
//
// Numbers are decimal, or hexadecimal with 0x.
#include <map>
#include <string>
#include <utility>
#include <vector>

// Orders names ignoring case, as the spooler compares printer names.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};
bool EqualNoCase(const std::string& a, const std::string& b);

struct ServerPrinterConfig {
    std::string name;    // "\\SERVER\Share"
    std::string server;  // "\\SERVER"
    std::string share;   // "Share"
    std::string driver;
    std::string port;
    std::string comment;
    std::string location;
    unsigned long attributes = 0;
    std::vector<std::pair<std::string, std::string>> data;
};

struct FailRule {
    std::string function;
    std::string printer;  // empty: any printer
    long level = -1;      // -1: any level
    unsigned long error = 0;
    unsigned long after = 0;
    unsigned long times = 0;  // 0: every matching call after the first `after`
};

struct StrictConfig {
    std::string journal;
    std::map<std::string, unsigned long, NoCaseLess> jobs;
    std::vector<ServerPrinterConfig> serverPrinters;
    std::vector<FailRule> failRules;
};

StrictConfig ParseStrictConfig(const std::string& text);
