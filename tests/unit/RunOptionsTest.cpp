// How the switches choose the mode, the log and report files and the restart; the fixed answers of
// the unattended modes.
#include <doctest/doctest.h>

#include <string>

#include "res/resource.h"
#include "shell/CmdSwitches.h"
#include "shell/RunOptions.h"

namespace {
RunOptions Read(const std::string& arguments) {
    CCmdSwitches switches;
    switches.Parse(("QUINST01.EXE " + arguments).c_str());
    return ReadRunOptions(switches);
}
}  // namespace

TEST_CASE("the switches choose the mode, the usage box and the restart") {
    struct Case {
        const char* arguments;
        RunMode mode;
        bool usage;
        bool forceRestart;
        bool unknown = false;
    } cases[] = {
        {"", kRunInteractive, false, false},
        {"/MFG:Quellan /NOPICK", kRunInteractive, false, false},
        {"/quiet", kRunQuiet, false, false},
        {"-Quiet /FORCERESTART", kRunQuiet, false, true},
        // Of two restart switches that contradict each other, the one that changes less wins.
        {"/QUIET /FORCERESTART /NORESTART", kRunQuiet, false, false},
        {"/NORESTART /QUIET /forcerestart", kRunQuiet, false, false},
        // A report never removes, with or without QUIET.
        {"/REPORT:r.json", kRunReport, false, false},
        {"/QUIET /REPORT:r.json", kRunReport, false, false},
        {"/?", kRunInteractive, true, false},
        {"-? /QUIET", kRunQuiet, true, false},
        // A typing error must not let a quiet run remove more than was named.
        {"/QUIET /PRINTERS:Laser", kRunQuiet, false, false, true},
        {"/QUIET Laser", kRunQuiet, false, false, true},
        {"/QUIET \"/PRINTER:Office Laser\"", kRunQuiet, false, false, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.arguments);
        RunOptions options = Read(c.arguments);
        CHECK(options.mode == c.mode);
        CHECK(options.usage == c.usage);
        CHECK(options.forceRestart == c.forceRestart);
        CHECK(options.unknownArguments == c.unknown);
    }
}

TEST_CASE("a log or report path is used only when it names one file for sure") {
    const std::string longest(258, 'x');
    const std::string tooLong(259, 'x');
    struct Case {
        std::string arguments;
        bool log;
        std::string logPath;
    } cases[] = {
        {"/QUIET", false, ""},
        {"/LOG:C:\\Logs\\q.log", true, "C:\\Logs\\q.log"},
        {"/log:\"C:\\My Logs\\q, 1.log\"", true, "C:\\My Logs\\q, 1.log"},
        // Without a value, with an empty one, or naming two files, no path is taken.
        {"/LOG", true, ""},
        {"/LOG:", true, ""},
        {"/LOG:\"\"", true, ""},
        {"/LOG:C:\\Logs\\a,b.log", true, ""},
        {"/LOG:a.log /LOG:b.log", true, ""},
        // The switch table keeps 259 characters of a value: one that long may have been cut.
        {"/LOG:" + longest, true, longest},
        {"/LOG:" + tooLong, true, ""},
        {"/LOG:" + tooLong + "yz", true, ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.arguments);
        RunOptions options = Read(c.arguments);
        CHECK(options.log == c.log);
        CHECK(options.logPath == c.logPath);
    }
    CHECK(Read("/REPORT:\"C:\\Reports\\pc 1.json\"").reportPath == "C:\\Reports\\pc 1.json");
    CHECK(Read("/REPORT").reportPath.empty());
}

TEST_CASE("questions without a person get fixed answers; only FORCERESTART says Yes to a restart") {
    struct Case {
        unsigned textId;
        bool forceRestart;
        QuietAnswer answer;
    } cases[] = {
        {IDS_REBOOT_QUESTION, false, kAnswerNo}, {IDS_REBOOT_QUESTION, true, kAnswerYes},
        {IDS_STOP_QUESTION, true, kAnswerNo},    {IDS_NO_SCRIPTS, false, kAnswerOk},
        {IDS_COMPLETE, true, kAnswerOk},         {IDS_DEFAULT_GONE_NEW_DEFAULT, false, kAnswerOk},
        {IDS_REBOOT_FAILED, true, kAnswerOk},
    };
    for (const Case& c : cases) {
        CAPTURE(c.textId);
        CHECK(AnswerWithoutAsking(c.textId, c.forceRestart) == c.answer);
    }
}
