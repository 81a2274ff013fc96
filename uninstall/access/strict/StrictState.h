#pragma once
// What the strict test spooler keeps beside Wine's spooler: the configuration of the running test,
// the simulated job queues and print-server printers, the failure counters, and the names behind
// the printer handles and registry keys it has handed out (for the journal).
//
// Every exported function takes the lock first (StrictCall); the state is process-wide.
#include <windows.h>

#include <string>
#include <vector>

#include "StrictConfig.h"
#include "StrictJournal.h"

struct SimulatedJob {
    DWORD id = 0;
    std::string document;
    DWORD status = 0;
};

struct ServerPrinter {
    ServerPrinterConfig config;
    bool removed = false;
    std::string printProcessor = "winprint";
    std::string datatype = "RAW";
};

// Holds the lock for one exported call and brings the configuration up to date: when the
// configuration file's content or time stamp changed, the simulation starts again from it.
class StrictCall {
public:
    StrictCall();
    ~StrictCall();
    StrictCall(const StrictCall&) = delete;
    StrictCall& operator=(const StrictCall&) = delete;

    // Writes the line to the journal.
    void Log(const JournalLine& line) const;
};

// True when a [Fail] rule fires for this call; *error receives its code. Counts the call for every
// rule that matches it.
bool InjectFailure(const char* function, const std::string& printer, long level, DWORD* error);

std::vector<SimulatedJob>* QueueOf(const std::string& printer);
void ClearQueue(const std::string& printer);

std::vector<ServerPrinter>& ServerPrinters();
ServerPrinter* FindServerPrinter(const std::string& name);  // present ones only

// Printer handles: Wine's own, remembered with the name they were opened with, and the
// simulated handles of print-server printers.
void RememberPrinterHandle(HANDLE printer, const char* name);
HANDLE OpenServerPrinterHandle(ServerPrinter* printer);
ServerPrinter* ServerPrinterOfHandle(HANDLE printer);  // null for Wine's handles
bool IsServerPrinterHandle(HANDLE printer);
bool IsKnownPrinterHandle(HANDLE printer);
std::string PrinterNameOfHandle(HANDLE printer);
void ForgetPrinterHandle(HANDLE printer);
// printer="name" in a journal line.
JournalLine& LogPrinter(JournalLine& line, HANDLE printer);

// Registry keys: the path each open key stands for.
std::string KeyPath(HKEY key);
void RememberKey(HKEY key, HKEY parent, const char* subKey);
void ForgetKey(HKEY key);

// The driver environment that Wine's spooler takes for "none" (it follows the emulated version).
const char* NativeEnvironment();
