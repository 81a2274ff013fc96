#include "Expectations.h"

#include <algorithm>

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(cur);
            cur.clear();
        } else if (c != '\r') {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

static std::vector<std::string> Matching(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const auto& l : lines)
        if (prefix == "*" || l.compare(0, prefix.size(), prefix) == 0) found.push_back(l);
    return found;
}

static std::string Where(const ScenarioEntry& e) { return "line " + std::to_string(e.line) + ": "; }

static void CompareSets(const ScenarioEntry& e, const std::vector<std::string>& want,
                        const std::vector<std::string>& got, const char* wantName, const char* gotName,
                        std::vector<std::string>& failures) {
    if (want == got) return;
    std::string msg = Where(e) + e.key + " = " + e.value + ": " + wantName + " and " + gotName + " differ";
    for (const auto& l : want)
        if (std::find(got.begin(), got.end(), l) == got.end()) msg += "\n    - " + l;
    for (const auto& l : got)
        if (std::find(want.begin(), want.end(), l) == want.end()) msg += "\n    + " + l;
    failures.push_back(msg);
}

std::vector<std::string> CheckExpectations(const Scenario& sc, const std::vector<std::string>& before,
                                           const std::vector<std::string>& after,
                                           const std::vector<std::string>* golden, const std::string& kind) {
    std::vector<std::string> failures;
    for (const auto* s : sc.All(kind)) {
        for (const auto& e : s->entries) {
            std::string key = Lower(e.key);
            if (key == "present") {
                if (Matching(after, e.value).empty()) failures.push_back(Where(e) + "expected a line \"" + e.value + "\", none found");
            } else if (key == "absent") {
                for (const auto& l : Matching(after, e.value))
                    failures.push_back(Where(e) + "expected no line \"" + e.value + "\", found: " + l);
            } else if (key == "unchanged") {
                CompareSets(e, Matching(before, e.value), Matching(after, e.value), "before", "after", failures);
            } else if (key == "golden") {
                if (!golden)
                    failures.push_back(Where(e) + "golden file " + e.value + " could not be read");
                else
                    CompareSets(e, *golden, after, "golden", "after", failures);
            } else {
                failures.push_back(Where(e) + "unknown expectation \"" + e.key + "\"");
            }
        }
    }
    return failures;
}

std::vector<std::string> CheckJournal(const Scenario& sc, const std::vector<std::string>& journal) {
    std::vector<std::string> failures;
    for (const auto* s : sc.All("journal")) {
        for (const auto& e : s->entries) {
            bool seen = false;
            for (const auto& l : journal)
                if (l.find(e.value) != std::string::npos) seen = true;
            std::string key = Lower(e.key);
            if (key == "called" && !seen)
                failures.push_back(Where(e) + "expected a journal line with \"" + e.value + "\", none found");
            else if (key == "not-called" && seen)
                failures.push_back(Where(e) + "expected no journal line with \"" + e.value + "\"");
            else if (key != "called" && key != "not-called")
                failures.push_back(Where(e) + "unknown journal check \"" + e.key + "\"");
        }
    }
    return failures;
}
