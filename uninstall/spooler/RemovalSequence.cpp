#include "RemovalSequence.h"

namespace {
// The spooler's own environment first, then the two that a driver package may have installed.
const char* const kEnvironments[] = {nullptr, "Windows NT x86", "Windows 4.0"};

// Process-wide: a step that shows a message box or broadcasts dispatches further timer messages,
// and none of them may start another state while the step runs.
int g_removalBusy = 0;

class BusyGuard {
public:
    BusyGuard() { g_removalBusy = 1; }
    ~BusyGuard() { g_removalBusy = 0; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
};
}  // namespace

void RemovalSequence::Start(RemovalActions& actions, int family, int kind) {
    state = 0;
    finished = false;
    started = true;
    osFamily = family;
    osKind = kind;
    addOnWatch = kWatchNone;
    addOnTicks = 0;
    BeginRefresh(true);
    actions.Repaint();
    EndRefresh();
}

void RemovalSequence::Tick(RemovalActions& actions, unsigned timerId) {
    if (timerId != kRemovalTimerId || g_removalBusy || !started || finished) return;
    BusyGuard busy;
    actions.ShowWaitCursor();
    RunState(actions);
}

void RemovalSequence::BeginRefresh(bool reset) {
    if (reset) currentRow = 0;
    highlighting = !reset;
}

void RemovalSequence::EndRefresh() {
    if (highlighting) ++currentRow;
}

RowLook RemovalSequence::Look(int row) const {
    if (!highlighting || row > currentRow) return kRowPending;
    return row < currentRow ? kRowDone : kRowCurrent;
}

void RemovalSequence::Refresh(RemovalActions& actions) {
    BeginRefresh(false);
    actions.Repaint();
    EndRefresh();
}

void RemovalSequence::RunState(RemovalActions& actions) {
    int next = state + 1;
    switch (state) {
        case 0:
            currentRow = 0;
            Refresh(actions);
            actions.TakeWaitCursor();
            actions.ComputeRemovalSet();
            currentRow = 1;
            Refresh(actions);
            break;
        case 1:
            if (WaitForAddOn(actions)) next = state;
            break;
        case 2:
            currentRow = 2;
            Refresh(actions);
            break;
        case 3:
            // The printers row stays current while the step's message boxes may repaint the page.
            currentRow = 2;
            actions.RemovePrinters();
            currentRow = 3;
            Refresh(actions);
            break;
        case 4:
            for (const char* environment : kEnvironments) actions.RemoveDrivers(environment);
            Refresh(actions);
            break;
        case 5:
            for (const char* environment : kEnvironments) actions.RemoveMonitors(environment);
            actions.RunHooks();
            Refresh(actions);
            break;
        case 6:
            for (const char* environment : kEnvironments) actions.RemovePrintProcessors(environment);
            Refresh(actions);
            break;
        case 7:
            actions.RemoveServices();
            break;
        case 8:
            // The system clean-up needs the spooler's files released: the NT service is stopped, the
            // Windows 95 spooler window closed; on Windows 9x the files go at the restart it asks for.
            if (osFamily == kRemovalFamilyWin9x) {
                if (osKind == kRemovalKindWin95) actions.CloseWin95Spooler();
                actions.RequestReboot();
            } else if (osFamily == kRemovalFamilyNT) {
                actions.StopSpooler();
            }
            Refresh(actions);
            break;
        case 9:
            actions.CollectOemPaths();
            break;
        case 10:
            actions.RemoveShortcuts();
            actions.BringForward();
            break;
        case 11:
            break;
        case 12:
            actions.RemoveIniEntries();
            break;
        case 13:
            actions.RemoveLoadRunEntries();
            Refresh(actions);
            break;
        case 14:
            actions.RemoveFiles();
            break;
        case 15:
            actions.RemoveRegistryEntries();
            Refresh(actions);
            break;
        case 16:
            if (osFamily == kRemovalFamilyNT) actions.StartSpooler();
            break;
        case kRemovalLastState:
            actions.StopTicks();
            actions.OfferReboot();
            finished = true;
            actions.Finish();
            next = state;
            break;
        default:
            next = state;
            break;
    }
    state = next;
}

// State 1, every tick: true while the Vizora program runs and the sequence stays in this state.
bool RemovalSequence::WaitForAddOn(RemovalActions& actions) {
    currentRow = 1;
    Refresh(actions);
    bool waiting = false;
    if (!actions.AddOnKept()) {
        if (addOnWatch == kWatchNone) {
            switch (actions.StartAddOn()) {
                case kAddOnStarted:
                    addOnWatch = kWatchProcess;
                    waiting = true;
                    break;
                case kAddOnStartFailed:
                    // On Win32s the program may run without a process handle: its window is watched.
                    if (osFamily == kRemovalFamilyWin32s) {
                        addOnWatch = kWatchWindow;
                        waiting = true;
                    }
                    break;
                default:
                    break;
            }
        } else {
            waiting = actions.AddOnRunning(addOnWatch == kWatchWindow);
        }
    }
    if (waiting) {
        ++addOnTicks;
        if (addOnTickLimit == 0 || addOnTicks < addOnTickLimit) return true;
    }
    if (addOnWatch != kWatchNone) actions.EndAddOn(!waiting);
    addOnWatch = kWatchNone;
    return false;
}
