// qe2e_robot: drives the programs of a scenario's [steps] the way a user would.
//   qe2e_robot SCENARIO [SHOTDIR]
//   qe2e_robot --report SCENARIO JSON LOG
// SHOTDIR (a Windows path) enables screenshot steps; the runner watches it for requests. --report
// runs the scenario's program once as a dry run, /REPORT:"JSON" /LOG:"LOG" and the [report]
// section's "arguments" (the selection the steps will make, as /PRINTER), and expects it to end
// with 0 without ever showing a window.
#include <cstdio>
#include <string>

#include "Robot.h"

int main(int argc, char** argv) {
    bool report = argc == 5 && std::string(argv[1]) == "--report";
    if (!report && (argc < 2 || argc > 3)) {
        std::fprintf(stderr, "usage: qe2e_robot SCENARIO [SHOTDIR] | qe2e_robot --report SCENARIO JSON LOG\n");
        return 2;
    }
    const char* path = argv[report ? 2 : 1];
    Scenario sc;
    if (!LoadScenario(path, sc)) {
        std::fprintf(stderr, "robot: cannot read %s\n", path);
        return 2;
    }
    for (const auto& err : sc.errors) std::fprintf(stderr, "%s: %s\n", path, err.c_str());
    if (!sc.errors.empty()) return 2;
    CRobot robot(sc, argc == 3 ? argv[2] : "");
    if (!report) return robot.Run();
    std::string args = std::string("/REPORT:\"") + argv[3] + "\" /LOG:\"" + argv[4] + "\"";
    std::string selection = sc.First("report").Get("arguments");
    return robot.RunWindowless(selection.empty() ? args : args + " " + selection);
}
