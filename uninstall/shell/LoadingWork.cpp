#include "LoadingWork.h"

#include "script/BoundedText.h"
#include "script/ScriptSearch.h"
#include "script/UninstallDatabase.h"
#include "shell/PrinterCensus.h"
#include "spooler/SpoolerService.h"
#include "system/CloseRequest.h"

namespace {
struct RelatedWindow {
    const char* className;
    LPARAM lParam;
};

// In this order; the ZPSD window expects lParam 1 on its close request.
const RelatedWindow kRelatedWindows[] = {
    {"SdStatusWindowClass_", 0}, {"QLNStatusClass_01", 0}, {"QLNInstallClass__", 0}, {"ZbridgeWClass01", 0},
    {"QSPL3201Class", 0},        {"ZMsgPopClass01", 0},    {"VIZORADLGCLASS01", 0},  {"ZPSD01", 1},
    {"QLNPSMCClass01", 0},
};
const char kCloseBroadcast[] = "QUninstClose01";
}  // namespace

int CloseRelatedApplications() {
    int asked = 0;
    for (const RelatedWindow& related : kRelatedWindows) {
        HWND window = FindWindowA(related.className, NULL);
        if (!window) continue;
        // The result does not matter, and nothing waits for the program to end.
        RequestClose(window, related.lParam);
        ++asked;
    }
    UINT message = RegisterWindowMessageA(kCloseBroadcast);
    if (message) PostMessageA(HWND_BROADCAST, message, 0, 0);
    return asked;
}

LoadingWork::LoadingWork(const char* commandLine, LoadingCounters& loadingCounters)
    : database(NULL),
      counters(loadingCounters),
      log(&noLog),
      dryRun(false),
      censusFailed(false),
      censusFailedBefore(false),
      censusFound(0),
      scriptsUnsearched(0),
      scriptsUnread(0) {
    switches.Parse(commandLine);
}

void LoadingWork::Record(const char* kind, const char* object, ActionOutcome outcome, const char* detail,
                         unsigned long error) {
    ActionRecord record;
    record.step = kLoadingStep;
    record.kind = kind;
    record.object = object;
    record.outcome = outcome;
    record.detail = detail;
    record.error = error;
    log->Record(record);
}

int LoadingWork::IsAdministrator() {
    return os.IsAdministrator();
}

bool LoadingWork::IsNT() {
    return os.IsNT();
}

void LoadingWork::CloseRelatedApplications() {
    if (dryRun) {
        Record("program", "the maker's running programs", kOutcomeKept, "a report closes no program");
        return;
    }
    char asked[32];
    FormatText(asked, sizeof asked, "%d windows asked to close", ::CloseRelatedApplications());
    Record("program", "the maker's running programs", kOutcomeDone, asked);
}

void LoadingWork::StopSpooler() {
    if (dryRun) return;
    // Whether the stop was accepted does not matter: the start decides.
    if (StopSpoolerService())
        Record("spooler", "Spooler", kOutcomeDone, "stopped");
    else
        Record("spooler", "Spooler", kOutcomeKept, "stop refused");
}

int LoadingWork::StartSpooler() {
    if (dryRun) {
        int running = SpoolerServiceRunning();
        Record("spooler", "Spooler", running ? kOutcomeKept : kOutcomeFailed,
               running ? "running; a report does not restart it" : "not running; a report does not start it");
        return running;
    }
    int started = StartSpoolerService();
    Record("spooler", "Spooler", started ? kOutcomeDone : kOutcomeFailed,
           started ? "started" : "start refused");
    return started;
}

int LoadingWork::FindScripts() {
    int found = FindUninstallScripts(scripts, &scriptsUnsearched);
    for (const TextItem& path : scripts) Record("script", path.Text(), kOutcomeDone, "found");
    if (scriptsUnsearched)
        Record("script", "Qunz__01.unm", kOutcomeFailed, "a directory to search could not be had",
               scriptsUnsearched);
    return found;
}

void LoadingWork::LoadScripts() {
    // A script that cannot be read contributes nothing; the others still count.
    scriptsUnread = 0;
    for (const TextItem& path : scripts) {
        ScriptLoadNote note;
        database->LoadScript(path.Text(), &note);
        char detail[96];
        if (note.linesLeftOut > 0)
            FormatText(detail, sizeof detail,
                       "%s; %d lines left out: a NUL byte or a text over 259 characters",
                       note.failure ? note.failure : "read", note.linesLeftOut);
        else
            CopyText(detail, sizeof detail, note.failure ? note.failure : "read");
        Record("script", path.Text(), note.failure ? kOutcomeFailed : kOutcomeDone, detail, note.error);
        if (note.error) ++scriptsUnread;
    }
}

void LoadingWork::ApplyVizoraRule() {
    database->BuildCandidates(switches);
}

int LoadingWork::TakeCensus() {
    std::vector<InstalledPrinter>& printers = database->Printers();
    const size_t before = printers.size();
    censusFailedBefore = censusFailedBefore || censusFailed;
    QuickExceptionInfo failure = {};
    int found = BuildListOfInstalledPrinters(
        printers, os, switches, [this] { SpoolerNotResponding(); }, &censusFailed, &failure);
    censusFound = found;
    // A failed first census is run again: drop its partial records, or the printers it reached
    // would be listed twice.
    if (found == 0 && counters.censusAttempts == 0) printers.resize(before);
    char count[96];
    if (censusFailed)
        FormatText(count, sizeof count, "%d printers, %d offered; %s failed", found,
                   database->CountSelectablePrinters(), failure.function ? failure.function : "the spooler");
    else
        FormatText(count, sizeof count, "%d printers, %d offered", found,
                   database->CountSelectablePrinters());
    Record("census", "installed printers", censusFailed ? kOutcomeFailed : kOutcomeDone, count,
           censusFailed ? failure.lastError : 0);
    return found;
}
