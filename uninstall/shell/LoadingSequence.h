#pragma once
// The loading sequence as data plus one step function: the loading dialog's timer handler calls
// LoadingTick, and everything the steps do to the machine or the window goes through
// LoadingActions, so the order, the waits and the retry can be run without a window.

const unsigned kLoadingTimerId = 1126;
const unsigned kLoadingTimerPeriod = 400;
const unsigned kLoadingResumedTimerPeriod = 200;
const int kLoadingStepCount = 11;

class LoadingActions {
public:
    virtual ~LoadingActions() {}
    virtual int IsAdministrator() = 0;
    virtual bool IsNT() = 0;
    virtual void CloseRelatedApplications() = 0;
    virtual void StopSpooler() = 0;
    virtual int StartSpooler() = 0;
    // Searches the script directories; returns the number of scripts found.
    virtual int FindScripts() = 0;
    virtual void WarnNoScripts() = 0;
    virtual void LoadScripts() = 0;
    virtual void ApplyVizoraRule() = 0;
    // Returns the census result: the number of printers opened, 0 after a failure.
    virtual int TakeCensus() = 0;
    virtual void StepProgress() = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void SetProgressStep(int step) = 0;
    // Shows an error string (under the common caption) and ends loading with 0.
    virtual void Fail(int stringId) = 0;
    virtual void Finish(int result) = 0;
};

// Process-wide: the sequence runs once per process, and a retry must find the waits already done.
struct LoadingCounters {
    int busy = 0;
    int spoolerStopWait = 0;
    int spoolerStartWait = 0;
    int censusAttempts = 0;
};

// Runs the step numbered *step and sets *step to the next one. Returns 0, or the string id of the
// error that ends loading.
int RunLoadingStep(LoadingActions& actions, int* step, LoadingCounters& counters);

// One timer tick: ignores foreign timers and ticks that arrive while a step is still running
// (message boxes inside a step dispatch further WM_TIMER messages), runs one step and ends the
// sequence after the last one or after an error.
void LoadingTick(LoadingActions& actions, unsigned timerId, int* step, LoadingCounters& counters);

// The progress step used while the scripts are read: 10 divided among them.
int ScriptProgressStep(int scriptCount);
