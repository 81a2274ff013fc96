#pragma once
// The census of installed printers: one InstalledPrinter record per printer that the local spooler
// lists and that can be opened, with its driver, server, default mark, the maker's marker values
// and the command-line filter.
#include <windows.h>
#include <winspool.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "script/InstalledPrinter.h"

class COSInfo;
class CCmdSwitches;

// What the census raises when the spooler fails mid-way, and catches itself.
struct QuickExceptionInfo {
    DWORD lastError;
    const char* function;
    const char* description;
    const char* firstLabel;
    int firstValue;
    const char* secondLabel;  // may be null
    int secondValue;
};

// Called once when the spooler does not answer at all (RPC server unavailable). The loading dialog
// shows its message and ends itself with 0.
typedef std::function<void()> SpoolerNotRespondingHandler;

// Appends a record per printer to list (which is not cleared) and returns the number of printers
// opened; 0 when there are none, when the spooler does not answer, or after a failure mid-way (the
// records appended until then stay). *failed, when given, tells the last two from the first, and
// *failure then receives what failed. A failure is any call that did not answer, also for one
// printer: only a printer deleted since the listing, or a connection that cannot be opened, is
// left out.
int BuildListOfInstalledPrinters(std::vector<InstalledPrinter>& list, const COSInfo& os,
                                 const CCmdSwitches& switches,
                                 const SpoolerNotRespondingHandler& spoolerNotResponding,
                                 bool* failed = nullptr, QuickExceptionInfo* failure = nullptr);

// The diagnostic text of a caught failure, cut to fit text.
void FormatCensusFailure(const QuickExceptionInfo& info, char* text, size_t capacity);
