#include "RunOptions.h"

#include "res/resource.h"
#include "script/TextItem.h"
#include "script/Tokens.h"
#include "shell/CmdSwitches.h"

namespace {
const char* const kKnownSwitches[] = {"MFG",    "PRN", "UNVIZ",     "NOPICK",       "PRINTER", "QUIET",
                                      "REPORT", "LOG", "NORESTART", "FORCERESTART", "?"};

bool HasUnknownArguments(const CCmdSwitches& switches) {
    if (switches.StrayArguments() > 0) return true;
    for (int i = 0; i < switches.Count(); ++i) {
        bool known = false;
        for (const char* name : kKnownSwitches) known = known || switches.Entry(i).At(0).EqualsNoCase(name);
        if (!known) return true;
    }
    return false;
}

// The switch table cuts a value at this length without telling; a value this long may be cut.
const int kLongestWholeValue = TextItem::kCapacity - 2;

std::string ReadPath(const CCmdSwitches& switches, const char* name) {
    const TextItem* value = nullptr;
    for (int i = 0; i < switches.Count(); ++i) {
        const TextList& entry = switches.Entry(i);
        if (!entry.At(0).EqualsNoCase(name)) continue;
        // Two values, or the switch given twice, would name two files: neither is taken.
        if (value || entry.Count() != 2) return "";
        value = &entry.At(1);
    }
    if (!value || value->Length() > kLongestWholeValue) return "";
    TextItem path(*value);
    TrimChar(path.Buffer(), '"');
    return path.Text();
}
}  // namespace

RunOptions ReadRunOptions(const CCmdSwitches& switches) {
    RunOptions options;
    if (switches.Has("REPORT"))
        options.mode = kRunReport;
    else if (switches.Has("QUIET"))
        options.mode = kRunQuiet;
    options.usage = switches.Has("?");
    options.unknownArguments = HasUnknownArguments(switches);
    // Of two contradicting switches the one that changes less wins.
    options.forceRestart = switches.Has("FORCERESTART") && !switches.Has("NORESTART");
    options.log = switches.Has("LOG");
    options.logPath = ReadPath(switches, "LOG");
    options.reportPath = ReadPath(switches, "REPORT");
    return options;
}

int ExitCodeForRestart(RestartOutcome outcome) {
    switch (outcome) {
        case kRestartNotNeeded:
            return kExitDone;
        case kRestartStarted:
            return kExitRestartStarted;
        case kRestartPending:
        case kRestartDeclined:
        case kRestartFailed:
            break;
    }
    return kExitRestartNeeded;
}

QuietAnswer AnswerWithoutAsking(unsigned textId, bool forceRestart) {
    switch (textId) {
        case IDS_REBOOT_QUESTION:
            return forceRestart ? kAnswerYes : kAnswerNo;
        case IDS_STOP_QUESTION:
            return kAnswerNo;  // go on
    }
    return kAnswerOk;
}
