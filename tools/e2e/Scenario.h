#pragma once
// A scenario file: an INI-like text that describes a machine, the steps a user takes on it and what
// the machine must look like afterwards. Sections keep their entries in file order (steps are
// ordered, and keys such as "present" may repeat), so this is not a key-value map.
//
//   # comment   ; comment   key = value  ; comment after a blank
//   [kind name]          e.g. [printer Quellan Laser 5], [steps], [expect]
//   key = value          blanks around key and value are dropped
//   a line without "="   an entry with that text as key and an empty value
#include <string>
#include <vector>

struct ScenarioEntry {
    std::string key;
    std::string value;
    int line = 0;
};

struct ScenarioSection {
    std::string kind;  // first word of the header, lower case ("printer", "steps")
    std::string name;  // rest of the header, as written ("" for [steps])
    int line = 0;
    std::vector<ScenarioEntry> entries;

    // Value of the last entry with this key (ignoring case), or fallback.
    std::string Get(const std::string& key, const std::string& fallback = "") const;
    bool Has(const std::string& key) const;
};

struct Scenario {
    std::string path;
    std::vector<ScenarioSection> sections;
    std::vector<std::string> errors;  // "line N: reason" for lines that could not be read

    // Sections of one kind, in file order.
    std::vector<const ScenarioSection*> All(const std::string& kind) const;
    // The first section of that kind, or an empty one.
    const ScenarioSection& First(const std::string& kind) const;
};

Scenario ParseScenario(const std::string& text, const std::string& path = "");
bool LoadScenario(const std::string& path, Scenario& out);

// Blanks at both ends removed.
std::string Trim(const std::string& s);
std::string Lower(std::string s);
bool EqualNoCase(const std::string& a, const std::string& b);
bool StartsWithNoCase(const std::string& text, const std::string& prefix);
// Splits at sep and trims each part; an empty text gives no parts.
std::vector<std::string> SplitList(const std::string& text, char sep);
// "\n", "\t" and "\\" written in a scenario become the characters they stand for.
std::string Unescape(const std::string& s);
// %NAME% replaced from vars (pairs NAME, value; names compared ignoring case); unknown names stay.
std::string ExpandVars(const std::string& s, const std::vector<std::pair<std::string, std::string>>& vars);
