#include <doctest/doctest.h>

#include "Expectations.h"
#include "MachineVars.h"
#include "RegistryText.h"
#include "Scenario.h"

TEST_CASE("scenario text: sections keep their entries in order, repeated keys included") {
    Scenario sc = ParseScenario(
        "# a machine\n"
        "[machine]\r\n"
        "windows = win98   ; emulated\n"
        "[printer  Quellan Laser 5 ]\n"
        "data VizPrinter = Viz #5\n"
        "[steps]\n"
        "wait-main\n"
        "select = A | B\n"
        "select = C\n");
    REQUIRE(sc.errors.empty());
    REQUIRE(sc.sections.size() == 3);
    CHECK(sc.First("machine").Get("windows") == "win98");
    CHECK(sc.sections[1].kind == "printer");
    CHECK(sc.sections[1].name == "Quellan Laser 5");
    // Only a blank and ";" start a comment inside a line, so names and texts may hold "#".
    CHECK(sc.sections[1].Get("data VizPrinter") == "Viz #5");
    const auto& steps = sc.First("steps").entries;
    REQUIRE(steps.size() == 3);
    CHECK(steps[0].key == "wait-main");
    CHECK(steps[0].value.empty());
    CHECK(steps[1].value == "A | B");
    CHECK(steps[2].line == 9);
    CHECK(sc.First("steps").Get("SELECT") == "C");
    CHECK(sc.First("absent").entries.empty());
}

TEST_CASE("scenario text: malformed lines are reported with their line number") {
    Scenario sc = ParseScenario("orphan = 1\n[machine\n[ok]\nx=1\n");
    REQUIRE(sc.errors.size() == 2);
    CHECK(sc.errors[0].find("line 1") == 0);
    CHECK(sc.errors[1].find("line 2") == 0);
    CHECK(sc.First("ok").Get("x") == "1");
}

TEST_CASE("lists, escapes and directory variables") {
    CHECK(SplitList(" a | b ||c ", '|') == std::vector<std::string>{"a", "b", "", "c"});
    CHECK(SplitList("  ", '|').empty());
    CHECK(Unescape("one\\ntwo\\\\n\\x") == "one\ntwo\\n\\x");
    VarList vars = {{"WINDIR", "C:\\windows"}, {"TOOLDIR", "C:\\Uninstall"}};
    CHECK(ExpandVars("%windir%\\a;%TOOLDIR%", vars) == "C:\\windows\\a;C:\\Uninstall");
    // Unknown names and lone percent signs stay as written.
    CHECK(ExpandVars("50% of %NOPE%", vars) == "50% of %NOPE%");
}

TEST_CASE("registry value text: written and dumped forms agree") {
    struct {
        const char* text;
        const char* dumped;
    } cases[] = {
        {"sz:C:\\QUELLAN", "sz:C:\\QUELLAN"},
        {"plain text", "sz:plain text"},
        {"dword:0x10", "dword:16"},
        {"multi:a|b|c", "multi:a|b|c"},
        {"expand:%SystemRoot%", "expand:%SystemRoot%"},
        {"hex:01,ff", "hex(3):01,ff"},
        {"none:", "hex(0):"},
    };
    for (const auto& c : cases) {
        DWORD type = 0;
        std::string bytes;
        EncodeRegistryValue(c.text, type, bytes);
        CHECK_MESSAGE(DescribeRegistryValue(type, bytes) == c.dumped, c.text);
    }
    HKEY root = nullptr;
    std::string sub;
    CHECK(SplitRegistryPath("HKEY_CURRENT_USER\\SOFTWARE\\X", root, sub));
    CHECK(root == HKEY_CURRENT_USER);
    CHECK(sub == "SOFTWARE\\X");
    CHECK_FALSE(SplitRegistryPath("HKXX\\A", root, sub));
}

TEST_CASE("expectations: present, absent, unchanged and golden name the failing line") {
    Scenario sc = ParseScenario(
        "[expect]\n"
        "present = printer Other\n"
        "absent = printer Quellan\n"
        "unchanged = driver\n");
    std::vector<std::string> before = {"driver x64 | A", "printer Other | driver=O", "printer Quellan 1"};
    std::vector<std::string> good = {"driver x64 | A", "printer Other | driver=O"};
    CHECK(CheckExpectations(sc, before, good, nullptr).empty());

    std::vector<std::string> bad = {"printer Quellan 1"};
    auto failures = CheckExpectations(sc, before, bad, nullptr);
    REQUIRE(failures.size() == 3);
    CHECK(failures[0].find("line 2") == 0);
    CHECK(failures[1].find("found: printer Quellan 1") != std::string::npos);
    CHECK(failures[2].find("- driver x64 | A") != std::string::npos);

    Scenario golden = ParseScenario("[expect]\ngolden = g.dump\n");
    CHECK(CheckExpectations(golden, before, good, &good).empty());
    CHECK(CheckExpectations(golden, before, good, nullptr).size() == 1);
    CHECK(CheckExpectations(golden, before, bad, &good).size() == 1);

    Scenario restart = ParseScenario("[after-restart]\nabsent = pending delete\n");
    CHECK(CheckExpectations(restart, {}, {"pending delete C:\\A"}, nullptr).empty());
    CHECK(CheckExpectations(restart, {}, {"pending delete C:\\A"}, nullptr, "after-restart").size() == 1);
}

TEST_CASE("journal checks look for text anywhere in a line") {
    Scenario sc = ParseScenario("[journal]\ncalled = DeletePrinter(Quellan\nnot-called = DeleteMonitorA\nbogus = x\n");
    std::vector<std::string> journal = {"12 DeletePrinter(Quellan Laser 5) = 1"};
    auto failures = CheckJournal(sc, journal);
    REQUIRE(failures.size() == 1);
    CHECK(failures[0].find("unknown journal check") != std::string::npos);
    journal.push_back("13 DeleteMonitorA(NULL, NULL, QLN) = 1");
    CHECK(CheckJournal(sc, journal).size() == 2);
    CHECK(SplitLines("a\r\nb\n\nc") == std::vector<std::string>{"a", "b", "", "c"});
}
