#pragma once
// One vocabulary for what the removal did, or would do, to each object it looked at. Every removal
// step records its objects here; the removal page ignores the records (unless asked for a log),
// the quiet mode writes them to its log file and the dry-run report lists them. Because all three
// read the records of the same step code, the report cannot drift from what a removal does.
//
// Kinds in use (the report groups by them): "printer", "connection", "job", "uniqueid-key",
// "default-printer", "driver", "monitor", "processor", "printer-processor" (a printer moved to
// WinPrint), "service", "spooler", "add-on", "hook", "oem-path", "shortcut", "group", "ini-entry",
// "run-value", "load-entry", "file", "directory", "registry-key", "registry-tree", "registry-value",
// "answer" (a question asked, with the answer given), "restart" (a restart the quiet mode started);
// and from loading: "program" (the maker's programs asked to close), "spooler", "script", "census".

// The step of the records that loading makes (closing programs, the spooler, scripts, the census,
// answers), before the removal's own steps.
const char kLoadingStep[] = "loading";

enum ActionOutcome {
    kOutcomePresent,  // dry run only: found on this machine, and a removal would remove it
    kOutcomeRemoved,
    kOutcomeDeferred,  // detail: the mechanism ("MoveFileEx", "WININIT.INI", "zwininit.ini")
    kOutcomeKept,      // detail: why ("in use by <printer>", "inbox component", "refused by the spooler")
    kOutcomeNotPresent,
    kOutcomeFailed,  // error: the Windows error code
    kOutcomeDone,    // a change that removes nothing: a printer moved, a new default, a hook called
};

// The word a log line and the report use for an outcome ("present", "removed", ...).
const char* OutcomeName(ActionOutcome outcome);

struct ActionRecord {
    const char* step = "";    // the removal step ("printers", "drivers", "files", ...)
    const char* kind = "";    // what the object is (see the list above)
    const char* object = "";  // its name, path or key
    const char* scope = "";   // where: a driver's environment, a registry root, an INI file; may be empty
    ActionOutcome outcome = kOutcomeRemoved;
    const char* detail = "";  // reason, mechanism or answer; may be empty
    unsigned long error = 0;  // Windows error code of a failure
};

class ActionLog {
public:
    virtual ~ActionLog() {}
    virtual void Record(const ActionRecord& record) = 0;
};

// The log of a removal nobody asked to record.
class NullActionLog : public ActionLog {
public:
    void Record(const ActionRecord&) override {}
};
