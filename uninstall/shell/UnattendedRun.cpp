#include "UnattendedRun.h"

#include <string>

#include "diag/ActionLogFile.h"
#include "diag/RemovalReport.h"
#include "diag/ReportFile.h"
#include "res/resource.h"
#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"
#include "shell/HookWindow.h"
#include "shell/LoadingWork.h"
#include "shell/SingleCopy.h"
#include "shell/StringRing.h"
#include "spooler/PromptText.h"
#include "spooler/RemovalSteps.h"
#include "system/Reboot.h"

namespace {
// The Vizora program is polled this often, and waited for ten minutes at most.
const DWORD kAddOnPollMs = 200;
const int kAddOnWaitTicks = 10 * 60 * 1000 / kAddOnPollMs;
const int kMessageSize = 1024;
const char kRemovalStep[] = "removal";

// Hook DLLs are called with a window of the tool, one that is never shown.
class HiddenWindow {
public:
    explicit HiddenWindow(HINSTANCE instance) : hwnd(CreateHookWindow(instance)) {}
    ~HiddenWindow() {
        if (hwnd) DestroyWindow(hwnd);
    }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;
    HWND hwnd;
};

// The report keeps every record; the log file, when asked for, gets them as well.
class BothLogs : public ActionLog {
public:
    BothLogs(ActionLog& first, ActionLog& second) : a(first), b(second) {}
    void Record(const ActionRecord& record) override {
        a.Record(record);
        b.Record(record);
    }

private:
    ActionLog& a;
    ActionLog& b;
};

// Passes every record on and notes whether one left its object for the restart.
class DeferralWatch : public ActionLog {
public:
    explicit DeferralWatch(ActionLog& next) : log(next) {}
    void Record(const ActionRecord& record) override {
        if (record.outcome == kOutcomeDeferred) deferred = true;
        log.Record(record);
    }
    bool deferred = false;

private:
    ActionLog& log;
};

// Every question and notice gets its fixed answer, and the log gets the text and the answer.
class QuietPrompts : public RemovalPrompts {
public:
    QuietPrompts(HINSTANCE instance, ActionLog& actions, bool force)
        : strings(instance), log(actions), forceRestart(force) {}

    int Show(UINT textId, UINT, const char* argument) override {
        char message[kMessageSize];
        const char* text = strings.GetText(textId);
        if (argument)
            FormatPrompt(message, sizeof message, text, argument);
        else
            CopyText(message, sizeof message, text);
        QuietAnswer answer = AnswerWithoutAsking(textId, forceRestart);
        int button = answer == kAnswerYes ? IDYES : answer == kAnswerNo ? IDNO : IDOK;
        ActionRecord record;
        record.step = step;
        record.kind = "answer";
        record.object = message;
        record.outcome = kOutcomeDone;
        record.detail = ButtonName(button);
        log.Record(record);
        return button;
    }

    const char* step = kLoadingStep;

private:
    CStringRing strings;
    ActionLog& log;
    bool forceRestart;
};

// The loading sequence without its window: messages become logged answers, and the end is kept
// for the loop that runs it.
class QuietLoading : public LoadingWork {
public:
    QuietLoading(LoadingCounters& counters, QuietPrompts& answers)
        : LoadingWork(GetCommandLineA(), counters), prompts(answers) {}

    bool Ended() const { return ended; }
    int Result() const { return result; }

    void WarnNoScripts() override { prompts.Show(IDS_NO_SCRIPTS, MB_ICONERROR, nullptr); }
    void StepProgress() override {}
    void SetProgressPosition(int) override {}
    void SetProgressStep(int) override {}
    void Fail(int stringId) override {
        prompts.Show(static_cast<UINT>(stringId), MB_ICONERROR, nullptr);
        End(0);
    }
    void Finish(int loadingResult) override { End(loadingResult); }

private:
    void SpoolerNotResponding() override { Fail(IDS_SPOOLER_NOT_RESPONDING); }
    void End(int loadingResult) {
        if (ended) return;
        ended = true;
        result = loadingResult;
    }

    QuietPrompts& prompts;
    bool ended = false;
    int result = 0;
};

// The loading steps one after another, without the timer's pauses. True when loading completed
// with a census that did not fail and every script found and read: a removal without a script it
// could not find or read would take the profile of the printers that stay for unknown.
bool RunLoading(QuietLoading& loading, LoadingCounters& counters) {
    int step = 0;
    while (!loading.Ended()) LoadingTick(loading, kLoadingTimerId, &step, counters);
    return loading.Result() == 1 && !loading.CensusFailed() && !loading.ScriptsIncomplete();
}

// The removal states one after another. Only the wait for the Vizora program pauses between ticks,
// answering meanwhile what that program sends to the hooks' window.
void RunRemoval(RemovalSteps& steps, const COSInfo& os) {
    RemovalSequence sequence;
    sequence.LimitAddOnWait(kAddOnWaitTicks);
    sequence.Start(steps, os.GetFamily(), os.GetKind());
    while (!sequence.Finished()) {
        const int state = sequence.State();
        sequence.Tick(steps, kRemovalTimerId);
        if (!sequence.Finished() && sequence.State() == state) WaitAnsweringMessages(kAddOnPollMs);
    }
}

struct UnattendedRun {
    UnattendedRun(HINSTANCE instance, const RunOptions& runOptions)
        : options(runOptions),
          dryRun(runOptions.mode == kRunReport),
          logs(report, logFile),
          log(dryRun ? static_cast<ActionLog&>(logs) : logFile),
          prompts(instance, log, runOptions.forceRestart),
          database(COSInfo().GetFamily()),
          loading(counters, prompts),
          window(instance) {}

    int Run(HINSTANCE instance);
    int End(int exitCode);

    const RunOptions& options;
    const bool dryRun;
    ActionLogFile logFile;
    RemovalReport report;
    ReportFile reportFile;
    BothLogs logs;
    ActionLog& log;
    QuietPrompts prompts;
    UninstallDatabase database;
    LoadingCounters counters;
    QuietLoading loading;
    HiddenWindow window;
};

int UnattendedRun::Run(HINSTANCE instance) {
    if (options.log && !logFile.Open(options.logPath)) return kExitFatal;
    logFile.Note(std::string("start: ") + GetCommandLineA());
    SingleCopy copy;
    if (copy.AnotherRuns()) {
        logFile.Note("another copy of the uninstall is running");
        return End(kExitAnotherCopy);
    }
    if (dryRun && !reportFile.Create(options.reportPath)) {
        logFile.Note("the report file cannot be written: " + options.reportPath);
        return End(kExitFatal);
    }

    loading.SetDatabase(&database);
    loading.SetLog(&log);
    loading.SetDryRun(dryRun);
    if (!RunLoading(loading, counters)) return End(kExitFatal);

    // The census left every printer it offers selected, as the selection page does with /NOPICK.
    prompts.step = kRemovalStep;
    DeferralWatch watch(log);
    RemovalContext ctx(database, prompts, watch);
    ctx.window = window.hwnd;
    ctx.module = instance;
    ctx.dryRun = dryRun;
    BuildSearchLists(ctx);
    RemovalSteps steps(ctx);
    RunRemoval(steps, ctx.os);

    if (dryRun) return End(kExitDone);
    // The spooler left stopped ends printing on the machine: a deployment must not count that as
    // done, whatever the restart.
    const bool failed = steps.SpoolerLeftStopped();
    RestartOutcome restart = steps.Restart();
    // Outside Windows 9x the closing step reports a restart as pending for every deleted service,
    // also one that went at once; for the exit code only what was left for the restart counts.
    if (restart == kRestartPending && !watch.deferred) restart = kRestartNotNeeded;
    // The restart question is asked on Windows 9x only; elsewhere a forced restart starts here.
    if (restart == kRestartPending && options.forceRestart) {
        restart = RestartWindowsNow(ctx.os) ? kRestartStarted : kRestartFailed;
        ctx.Record(kRemovalStep, "restart", "Windows",
                   restart == kRestartStarted ? kOutcomeDone : kOutcomeFailed,
                   restart == kRestartStarted ? "restart started" : "restart refused");
    }
    return End(failed ? kExitFatal : ExitCodeForRestart(restart));
}

int UnattendedRun::End(int exitCode) {
    if (reportFile.IsCreated()) {
        report.SetPrinters(database.Printers());
        report.SetExitCode(exitCode);
        if (!reportFile.Write(report)) exitCode = kExitFatal;
    }
    logFile.Note("exit code " + std::to_string(exitCode));
    return exitCode;
}
}  // namespace

int RunUnattended(HINSTANCE instance, const RunOptions& options) {
    // "/?" shows its usage box only with a window; here nothing is shown and nothing done. A switch
    // with a typing error is refused too: ignoring "/PRINTERS:..." would remove every printer.
    if (options.usage || options.unknownArguments) return kExitBadCommandLine;
    // No system box about a missing disk, an unreadable file or a crashing hook DLL may wait for a
    // person either: a crash ends the process, which the deployment sees as a failure.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
    // The runtime's abort() would show its box; an exception nothing caught (memory running out for
    // a list) ends the run as a failure instead.
    try {
        UnattendedRun run(instance, options);
        return run.Run(instance);
    } catch (...) {
        return kExitFatal;
    }
}
