#include "LoadingSequence.h"

namespace {
const int kNotAdministratorText = 151;
const int kSpoolerUnstableText = 152;
const int kStopWaitTicks = 8;
const int kStartWaitTicks = 3;
const int kRetryProgressPosition = 5;
const int kScriptsFoundProgressPosition = 20;
const int kLastStepProgressPosition = 95;

// Stays in the waiting step until its counter reaches the limit; a retry finds it there already.
bool StillWaiting(int* counter, int limit) {
    if (*counter < limit) {
        ++*counter;
        return true;
    }
    return false;
}
}  // namespace

int ScriptProgressStep(int scriptCount) {
    return scriptCount > 0 ? 10 / scriptCount : 10;
}

int RunLoadingStep(LoadingActions& actions, int* step, LoadingCounters& counters) {
    const int current = *step;
    int next = current + 1;
    int error = 0;
    switch (current) {
    case 0:
        if (!actions.IsAdministrator()) error = kNotAdministratorText;
        break;
    case 1:
        actions.CloseRelatedApplications();
        break;
    case 2:
        // Whether the stop was accepted does not matter: the start decides.
        if (actions.IsNT()) actions.StopSpooler();
        break;
    case 3:
        if (StillWaiting(&counters.spoolerStopWait, kStopWaitTicks)) next = current;
        break;
    case 4:
        if (actions.IsNT() && !actions.StartSpooler()) error = kSpoolerUnstableText;
        break;
    case 5:
        if (StillWaiting(&counters.spoolerStartWait, kStartWaitTicks)) next = current;
        break;
    case 6: {
        int found = actions.FindScripts();
        if (found == 0) actions.WarnNoScripts();
        actions.SetProgressPosition(kScriptsFoundProgressPosition);
        actions.SetProgressStep(ScriptProgressStep(found));
        break;
    }
    case 7:
        actions.LoadScripts();
        break;
    case 8:
        actions.ApplyVizoraRule();
        break;
    case 9:
        // A failed first census runs everything again from closing the related applications;
        // the administrator check is not repeated.
        if (actions.TakeCensus() == 0 && counters.censusAttempts == 0) {
            next = 1;
            actions.SetProgressPosition(kRetryProgressPosition);
        }
        ++counters.censusAttempts;
        break;
    case 10:
        actions.CloseRelatedApplications();
        actions.SetProgressStep(1);
        actions.SetProgressPosition(kLastStepProgressPosition);
        break;
    default:
        next = kLoadingStepCount;
        break;
    }
    *step = next;
    return error;
}

void LoadingTick(LoadingActions& actions, unsigned timerId, int* step, LoadingCounters& counters) {
    if (timerId != kLoadingTimerId || counters.busy) return;
    counters.busy = 1;
    actions.StepProgress();
    int error = RunLoadingStep(actions, step, counters);
    if (error) {
        actions.Fail(error);
    } else if (*step >= kLoadingStepCount) {
        actions.Finish(1);
    } else {
        actions.StepProgress();
    }
    counters.busy = 0;
}
