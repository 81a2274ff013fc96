#pragma once
// How the program runs for the switches it was given: with its window, quietly (no window, no
// question, every offered printer removed) or as a dry-run report; where its log and report go; and
// the exit codes of the two unattended modes, which are those installers report. Pure.
#include <string>

#include "system/RestartOutcome.h"

class CCmdSwitches;

enum RunMode {
    kRunInteractive,
    kRunQuiet,   // QUIET
    kRunReport,  // REPORT, with or without QUIET: changes nothing, shows nothing
};

const int kExitDone = 0;
const int kExitRestartStarted = 1641;
const int kExitRestartNeeded = 3010;
const int kExitFatal = 1603;
const int kExitAnotherCopy = 1618;
// "/?", an unknown switch or a word that is no switch, in a mode that shows nothing: nothing was
// done.
const int kExitBadCommandLine = 1639;

struct RunOptions {
    RunMode mode = kRunInteractive;
    bool usage = false;  // "/?"
    // A switch the program does not know, or a word that is no switch: a typing error that the
    // interactive mode ignores, but that must not let a quiet run remove more than was asked for.
    bool unknownArguments = false;
    bool forceRestart = false;  // FORCERESTART, unless NORESTART was given as well
    bool log = false;           // LOG was given; logPath is empty when its value cannot be used
    std::string logPath;
    std::string reportPath;  // empty when REPORT's value cannot be used
};

// Reads the mode and the paths. A path switch needs exactly one non-empty value (quotes around it
// removed); a value of 259 characters or more may have been cut by the switch table and could name
// another file, so it is not used.
RunOptions ReadRunOptions(const CCmdSwitches& switches);

// The exit code of a quiet run that completed, for what became of the restart it may need.
int ExitCodeForRestart(RestartOutcome outcome);

// The fixed answer of a run without questions, for a prompt's string id.
enum QuietAnswer { kAnswerOk, kAnswerYes, kAnswerNo };
QuietAnswer AnswerWithoutAsking(unsigned textId, bool forceRestart);
