#pragma once
// Checks of a scenario's [expect] and [journal] sections against state dumps and the strict spooler
// library's call journal. Each failure is one readable line that names the scenario line.
//
//   [expect]
//   present = printer Other Laser          some dump line starts with this text
//   absent = driver Windows x64 | QLN       no dump line starts with this text
//   unchanged = printer Other Laser         the lines starting with this text are the same before
//                                           and after (use "unchanged = *" for the whole dump)
//   golden = expected/demo-after.dump       the whole after-dump equals that file beside the scenario
//   [journal]
//   called = DeletePrinterDriverA           some journal line contains this text
//   not-called = DeletePrinter(
#include <string>
#include <vector>

#include "Scenario.h"

std::vector<std::string> SplitLines(const std::string& text);

// kind is the section that holds the checks: "expect", or "after-restart" for a dump taken after
// the session was restarted (then "before" is the dump at the end of the steps).
std::vector<std::string> CheckExpectations(const Scenario& sc, const std::vector<std::string>& before,
                                           const std::vector<std::string>& after,
                                           const std::vector<std::string>* golden,
                                           const std::string& kind = "expect");

std::vector<std::string> CheckJournal(const Scenario& sc, const std::vector<std::string>& journal);
