// The dry-run report's JSON and the action log's lines.
#include <doctest/doctest.h>

#include <string>

#include "diag/ActionLogLine.h"
#include "diag/RemovalReport.h"

namespace {
InstalledPrinter Printer(const char* name, const char* driver, int excluded, int foreign,
                         const char* server = "") {
    InstalledPrinter p;
    p.name = name;
    p.driver = driver;
    p.excluded = excluded;
    p.isForeign = foreign;
    p.location = server;
    return p;
}

ActionRecord Action(const char* kind, const char* object, ActionOutcome outcome, const char* detail = "",
                    const char* scope = "") {
    ActionRecord r;
    r.step = "test";
    r.kind = kind;
    r.object = object;
    r.outcome = outcome;
    r.detail = detail;
    r.scope = scope;
    return r;
}
}  // namespace

TEST_CASE("the report splits the census into selected and remaining printers and groups objects by kind") {
    RemovalReport report;
    report.SetPrinters({Printer("Laser", "QL", 0, 0), Printer("Ink", "QI", 1, 0),
                        Printer("Other", "OP", 0, 1), Printer("\\\\SRV\\Net", "QL", 0, 0, "\\\\SRV")});
    report.Record(Action("driver", "QL", kOutcomePresent, "", "Windows NT x86"));
    report.Record(Action("driver", "QI", kOutcomeKept, "in use by Ink", "Windows NT x86"));
    report.Record(Action("file", "C:\\a \"quoted\"\\b.dll", kOutcomePresent));
    std::string json = report.ToJson(nullptr);

    CHECK(json.find(R"("selected": [)") != std::string::npos);
    CHECK(json.find(R"("name": "Laser")") < json.find(R"("remaining")"));
    CHECK(json.find(R"("name": "Ink")") > json.find(R"("remaining")"));
    CHECK(json.find(R"("maker": false)") != std::string::npos);      // the foreign printer stays
    CHECK(json.find(R"("connection": true)") != std::string::npos);  // the server printer goes
    CHECK(json.find(R"("detail": "in use by Ink")") != std::string::npos);
    // Backslashes and quotes escaped as JSON requires.
    CHECK(json.find(R"("C:\\a \"quoted\"\\b.dll")") != std::string::npos);
}

TEST_CASE("loading's records stay apart from the objects the removal would change") {
    RemovalReport report;
    ActionRecord script = Action("script", "C:\\x\\Qunz__01.unm", kOutcomeDone, "found");
    script.step = kLoadingStep;
    report.Record(script);
    report.Record(Action("printer", "Laser", kOutcomePresent));
    report.SetExitCode(0);
    std::string json = report.ToJson(nullptr);
    CHECK(json.find(R"("format": 1)") != std::string::npos);
    CHECK(json.find(R"("exitCode": 0)") != std::string::npos);
    CHECK(json.find(R"("kind": "script")") > json.find(R"("loading": [)"));
    CHECK(json.find(R"("kind": "script")") < json.find(R"("objects")"));
    CHECK(json.find(R"("printer": [)") > json.find(R"("objects")"));
    CHECK(json.find(R"("script": [)") == std::string::npos);
}

TEST_CASE("bytes that are not UTF-8 never make the report fail") {
    RemovalReport report;
    report.Record(Action("file", "C:\\caf\xE9.txt", kOutcomePresent));
    CHECK_NOTHROW(report.ToJson(nullptr));
}

TEST_CASE("an action line carries time, step, object, outcome, detail and error") {
    struct Case {
        ActionRecord record;
        const char* line;
    } cases[] = {
        {Action("printer", "Laser", kOutcomeRemoved), "T  test  printer \"Laser\": removed"},
        {Action("file", "C:\\x.dll", kOutcomeDeferred, "MoveFileEx"),
         "T  test  file \"C:\\x.dll\": deferred: MoveFileEx"},
        {Action("driver", "QL", kOutcomeKept, "in use by Ink", "Windows 4.0"),
         "T  test  driver \"QL\" (Windows 4.0): kept: in use by Ink"},
    };
    for (const Case& c : cases) CHECK(FormatActionLine("T", c.record) == c.line);
    ActionRecord failed = Action("monitor", "M", kOutcomeFailed);
    failed.error = 5;
    CHECK(FormatActionLine("T", failed) == "T  test  monitor \"M\": failed (error 5)");
    // A value name or question with line breaks and tabs stays on its one line.
    ActionRecord answer = Action("answer", "Almost complete\nReboot now?", kOutcomeDone, "No", "a\tb\r\n");
    CHECK(FormatActionLine("T", answer) ==
          "T  test  answer \"Almost complete Reboot now?\" (a b  ): done: No");
}
