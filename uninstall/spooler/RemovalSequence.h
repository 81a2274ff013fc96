#pragma once
// The removal sequence as data plus one step function: eighteen states, one per tick, that compute
// the removal set, wait for the Vizora program, and then call the removal steps in a fixed order.
// Everything the states do to the machine or a window goes through RemovalActions, so the same
// sequence runs on the removal page's timer, in a plain loop without a window, and in a dry run.
// Timing stays with the caller: the page ticks every 200 ms, a loop ticks as fast as it likes.

const unsigned kRemovalTimerId = 1130;
const unsigned kRemovalTimerPeriod = 200;
const int kRemovalLastState = 17;
const int kRemovalRowCount = 9;

// OS family and kind values as the OS record gives them.
const int kRemovalFamilyWin32s = 1;
const int kRemovalFamilyWin9x = 2;
const int kRemovalFamilyNT = 3;
const int kRemovalKindWin95 = 2;

// What became of the attempt to start the Vizora program.
enum AddOnStart {
    kAddOnAbsent,       // neither program file was found
    kAddOnStarted,      // running: its process is polled
    kAddOnStartFailed,  // found but not started
    kAddOnNotRun,       // found, and a dry run only records it
};

class RemovalActions {
public:
    virtual ~RemovalActions() {}

    virtual void ComputeRemovalSet() = 0;
    // True when the Vizora utility's printers stay, so its program is not run.
    virtual bool AddOnKept() = 0;
    virtual AddOnStart StartAddOn() = 0;
    // Whether the started program still runs: its process, or with watchWindow its dialog window
    // (Win32s, where a program that did not start as a process may still show up).
    virtual bool AddOnRunning(bool watchWindow) = 0;
    // The wait is over: ended says whether the program ended, or the caller's limit was reached.
    virtual void EndAddOn(bool ended) = 0;
    virtual void RemovePrinters() = 0;
    // environment: null for the spooler's own, else "Windows NT x86" or "Windows 4.0".
    virtual void RemoveDrivers(const char* environment) = 0;
    virtual void RemoveMonitors(const char* environment) = 0;
    virtual void RunHooks() = 0;
    virtual void RemovePrintProcessors(const char* environment) = 0;
    virtual void RemoveServices() = 0;
    virtual void CloseWin95Spooler() = 0;
    virtual void RequestReboot() = 0;
    virtual void StopSpooler() = 0;
    virtual void CollectOemPaths() = 0;
    virtual void RemoveShortcuts() = 0;
    virtual void RemoveIniEntries() = 0;
    virtual void RemoveLoadRunEntries() = 0;
    virtual void RemoveFiles() = 0;
    virtual void RemoveRegistryEntries() = 0;
    virtual void StartSpooler() = 0;
    virtual void OfferReboot() = 0;

    // The window side; a caller without a window leaves these empty.
    // Paints the rows now, as RowLook tells them.
    virtual void Repaint() = 0;
    // State 0 takes the wait cursor; every later tick shows it again.
    virtual void TakeWaitCursor() = 0;
    virtual void ShowWaitCursor() = 0;
    // After the shortcut step: Program Manager may have taken the foreground.
    virtual void BringForward() = 0;
    // The last state: no more ticks, the normal cursor back; then, after OfferReboot, Finish.
    virtual void StopTicks() = 0;
    virtual void Finish() = 0;
};

enum RowLook { kRowPending, kRowCurrent, kRowDone };

// One removal's state. Nothing here is process-wide except the busy flag inside Tick.
class RemovalSequence {
public:
    // Sets state 0 and shows every row as pending.
    void Start(RemovalActions& actions, int osFamily, int osKind);
    // One tick of the timer (or of a loop, which passes kRemovalTimerId). Ignores foreign timers,
    // ticks after the end, and ticks that arrive while a step of this process is still running
    // (message boxes and broadcasts inside a step dispatch further timer messages).
    void Tick(RemovalActions& actions, unsigned timerId);

    // Row bookkeeping of a refresh around a repaint. A reset refresh shows every row as pending;
    // a highlighted refresh shows currentRow as current and then moves one row ahead, so that a
    // repaint between two refreshes already shows the next row as current.
    void BeginRefresh(bool reset);
    void EndRefresh();
    RowLook Look(int row) const;

    // A caller that cannot wait without end gives the Vizora program at most this many ticks
    // (0, the default: no limit).
    void LimitAddOnWait(int ticks) { addOnTickLimit = ticks; }

    int State() const { return state; }
    int CurrentRow() const { return currentRow; }
    bool Highlighting() const { return highlighting; }
    bool Finished() const { return finished; }
    // Started and not yet at its end.
    bool Running() const { return started && !finished; }

private:
    void RunState(RemovalActions& actions);
    void Refresh(RemovalActions& actions);
    bool WaitForAddOn(RemovalActions& actions);

    int state = 0;
    int currentRow = 0;
    bool highlighting = false;
    bool started = false;
    bool finished = false;
    int osFamily = 0;
    int osKind = 0;
    // The Vizora program being waited for: none, its process, or its window (Win32s).
    enum { kWatchNone, kWatchProcess, kWatchWindow } addOnWatch = kWatchNone;
    int addOnTicks = 0;
    int addOnTickLimit = 0;
};
