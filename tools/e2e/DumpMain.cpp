// qe2e_dump: the state dump of the current Wine prefix, and the scenario's checks on dumps.
//   qe2e_dump SCENARIO OUT                          write the sorted dump to OUT
//   qe2e_dump --audit OUT                           write the whole-machine audit to OUT
//   qe2e_dump --check SCENARIO BEFORE AFTER [JOURNAL]
//                                                   check [expect] and [journal]; exit 1 on failure
//   qe2e_dump --check-restart SCENARIO AFTER RESTARTED
//                                                   check [after-restart]
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Expectations.h"
#include "StateDump.h"

static bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    lines = SplitLines(ss.str());
    return true;
}

static std::string DirOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

static int Check(const Scenario& sc, int argc, char** argv, bool restart) {
    std::vector<std::string> before, after, golden, journal;
    if (!ReadLines(argv[3], before) || !ReadLines(argv[4], after)) {
        std::fprintf(stderr, "dump: cannot read the dumps\n");
        return 2;
    }
    const char* kind = restart ? "after-restart" : "expect";
    std::string goldenName = sc.First(kind).Get("golden");
    bool haveGolden = !goldenName.empty() && ReadLines(DirOf(sc.path) + goldenName, golden);
    std::vector<std::string> failures = CheckExpectations(sc, before, after, haveGolden ? &golden : nullptr, kind);
    if (!restart && !sc.All("journal").empty()) {
        if (argc < 6 || !ReadLines(argv[5], journal))
            failures.push_back("the scenario checks the spooler journal, but no journal was written");
        else
            for (const auto& f : CheckJournal(sc, journal)) failures.push_back(f);
    }
    for (const auto& f : failures) std::printf("%s: %s\n", sc.path.c_str(), f.c_str());
    return failures.empty() ? 0 : 1;
}

static int Write(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const auto& line : lines) out << line << '\n';
    out.close();
    if (out) return 0;
    std::fprintf(stderr, "dump: cannot write %s\n", path.c_str());
    return 2;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--audit") return Write(argv[2], AuditMachine());
    bool restart = argc == 5 && std::string(argv[1]) == "--check-restart";
    bool check = restart || (argc >= 5 && std::string(argv[1]) == "--check");
    if (argc != 3 && !check) {
        std::fprintf(stderr,
                     "usage: qe2e_dump SCENARIO OUT | qe2e_dump --audit OUT | "
                     "qe2e_dump --check SCENARIO BEFORE AFTER [JOURNAL]\n");
        return 2;
    }
    Scenario sc;
    if (!LoadScenario(argv[check ? 2 : 1], sc)) {
        std::fprintf(stderr, "dump: cannot read %s\n", argv[check ? 2 : 1]);
        return 2;
    }
    if (check) return Check(sc, argc, argv, restart);
    return Write(argv[2], DumpMachine(sc));
}
