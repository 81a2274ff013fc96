// qe2e_robot: drives the programs of a scenario's [steps] the way a user would.
//   qe2e_robot SCENARIO [SHOTDIR]
// SHOTDIR (a Windows path) enables screenshot steps; the runner watches it for requests.
#include <cstdio>

#include "Robot.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: qe2e_robot SCENARIO [SHOTDIR]\n");
        return 2;
    }
    Scenario sc;
    if (!LoadScenario(argv[1], sc)) {
        std::fprintf(stderr, "robot: cannot read %s\n", argv[1]);
        return 2;
    }
    for (const auto& err : sc.errors) std::fprintf(stderr, "%s: %s\n", argv[1], err.c_str());
    if (!sc.errors.empty()) return 2;
    CRobot robot(sc, argc == 3 ? argv[2] : "");
    return robot.Run();
}
