#pragma once
// The loading steps' work on the machine and the database, apart from any window: the loading
// dialog shows it with a progress bar and message boxes, the unattended modes run it in a loop, and
// both decide through this one class. What needs a window (progress, messages, the end) is left to
// the class that drives the sequence.
#include <windows.h>

#include "script/TextList.h"
#include "shell/CmdSwitches.h"
#include "shell/LoadingSequence.h"
#include "shell/OSInfo.h"
#include "spooler/ActionLog.h"

class UninstallDatabase;

class LoadingWork : public LoadingActions {
public:
    // Reads the switches from commandLine. The counters stay with the caller: the loading dialog's
    // are process-wide.
    LoadingWork(const char* commandLine, LoadingCounters& counters);

    void SetDatabase(UninstallDatabase* db) { database = db; }
    // Where the work is recorded; nothing is recorded without a log.
    void SetLog(ActionLog* actions) { log = actions ? actions : &noLog; }
    // A dry run closes no program and leaves the spooler alone; a spooler that is not running then
    // fails the spooler step instead of being started.
    void SetDryRun(bool dry) { dryRun = dry; }

    const CCmdSwitches& Switches() const { return switches; }
    const TextList& Scripts() const { return scripts; }
    // The census cannot be trusted: the last one ended in a failure (the spooler did not answer,
    // or failed part-way), or it found no printer at all after an earlier one had failed.
    bool CensusFailed() const { return censusFailed || (censusFailedBefore && censusFound == 0); }
    // A directory where scripts are kept could not be searched (the spooler did not name its
    // printer-driver directory, the search was refused), or a script that is there could not be read
    // (another program holds it open): the scripts read may not be all there are.
    bool ScriptsIncomplete() const { return scriptsUnsearched != 0 || scriptsUnread != 0; }

    int IsAdministrator() override;
    bool IsNT() override;
    void CloseRelatedApplications() override;
    void StopSpooler() override;
    int StartSpooler() override;
    int FindScripts() override;
    void LoadScripts() override;
    void ApplyVizoraRule() override;
    int TakeCensus() override;

protected:
    // The spooler did not answer the census at all: the driver reports it and ends loading with 0.
    virtual void SpoolerNotResponding() = 0;
    void Record(const char* kind, const char* object, ActionOutcome outcome, const char* detail = "",
                unsigned long error = 0);

    COSInfo os;

private:
    UninstallDatabase* database;
    CCmdSwitches switches;
    LoadingCounters& counters;
    TextList scripts;
    NullActionLog noLog;
    ActionLog* log;
    bool dryRun;
    bool censusFailed;
    bool censusFailedBefore;
    int censusFound;
    unsigned long scriptsUnsearched;
    int scriptsUnread;
};

// Asks the maker's other running programs to close: each of the known window classes in a fixed
// order (each given at most kCloseRequestTimeoutMs to answer), then the registered broadcast
// message. Returns the number of windows asked.
int CloseRelatedApplications();
