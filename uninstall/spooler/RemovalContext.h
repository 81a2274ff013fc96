#pragma once
// What every removal step works on: the database, the OS record, the file-search lists, the window
// that owns the step's messages, the action log, and whether this is a dry run. The removal page
// and the quiet mode each build one and pass it to the same step functions, so every step is a
// plain function that a test can call without a window.
#include <windows.h>

#include "script/TextList.h"
#include "shell/OSInfo.h"
#include "spooler/ActionLog.h"

class UninstallDatabase;

// The questions and notices a step puts to the person at the screen. The removal page shows
// message boxes owned by its window; the quiet mode answers from a fixed table and logs the answer.
class RemovalPrompts {
public:
    virtual ~RemovalPrompts() {}
    // Shows string textId (with "%s" formatted from argument when argument is not null) under the
    // common caption with the MessageBoxA flags; returns the button pressed (IDOK, IDYES, IDNO).
    virtual int Show(UINT textId, UINT flags, const char* argument) = 0;
};

// The button a prompt returned (IDOK, IDYES, IDNO), as the log names the answer.
inline const char* ButtonName(int button) {
    return button == IDYES ? "Yes" : button == IDNO ? "No" : "OK";
}

struct RemovalContext {
    RemovalContext(UninstallDatabase& db, RemovalPrompts& questions, ActionLog& actions)
        : database(db), prompts(questions), log(actions) {}

    UninstallDatabase& database;
    COSInfo os;
    // Built when the removal starts: directories searched without recursion, and directories
    // searched two levels deep, by the files step.
    TextList searchDirectories;
    TextList searchTrees;
    // The removal page, or the quiet mode's hidden window: hook DLLs receive it.
    HWND window = NULL;
    HINSTANCE module = NULL;
    RemovalPrompts& prompts;
    ActionLog& log;
    // The dry-run report: every step finds and records what it would remove and changes nothing.
    bool dryRun = false;

    void Record(const char* step, const char* kind, const char* object, ActionOutcome outcome,
                const char* detail = "", unsigned long error = 0, const char* scope = "") {
        ActionRecord record;
        record.step = step;
        record.kind = kind;
        record.object = object ? object : "";
        record.scope = scope ? scope : "";
        record.outcome = outcome;
        record.detail = detail ? detail : "";
        record.error = error;
        log.Record(record);
    }
};
