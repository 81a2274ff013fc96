#include "Scenario.h"

#include <cctype>
#include <fstream>
#include <sstream>

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EqualNoCase(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

std::vector<std::string> SplitList(const std::string& text, char sep) {
    std::vector<std::string> parts;
    if (Trim(text).empty()) return parts;
    std::string cur;
    for (char c : text) {
        if (c == sep) {
            parts.push_back(Trim(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(Trim(cur));
    return parts;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char n = s[i + 1];
            if (n == 'n') { out += '\n'; ++i; continue; }
            if (n == 't') { out += '\t'; ++i; continue; }
            if (n == '\\') { out += '\\'; ++i; continue; }
        }
        out += s[i];
    }
    return out;
}

std::string ExpandVars(const std::string& s, const std::vector<std::pair<std::string, std::string>>& vars) {
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        size_t close = s[i] == '%' ? s.find('%', i + 1) : std::string::npos;
        if (close != std::string::npos) {
            std::string name = s.substr(i + 1, close - i - 1);
            bool found = false;
            for (const auto& v : vars) {
                if (EqualNoCase(v.first, name)) {
                    out += v.second;
                    found = true;
                    break;
                }
            }
            if (found) {
                i = close + 1;
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

std::string ScenarioSection::Get(const std::string& key, const std::string& fallback) const {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (EqualNoCase(it->key, key)) return it->value;
    return fallback;
}

bool ScenarioSection::Has(const std::string& key) const {
    for (const auto& e : entries)
        if (EqualNoCase(e.key, key)) return true;
    return false;
}

std::vector<const ScenarioSection*> Scenario::All(const std::string& kind) const {
    std::vector<const ScenarioSection*> found;
    for (const auto& s : sections)
        if (EqualNoCase(s.kind, kind)) found.push_back(&s);
    return found;
}

const ScenarioSection& Scenario::First(const std::string& kind) const {
    static const ScenarioSection empty;
    for (const auto& s : sections)
        if (EqualNoCase(s.kind, kind)) return s;
    return empty;
}

// A comment starts a line with "#" or ";"; inside a line only " ;" starts one, so that paths,
// registry data, printer names ("Laser #5") and message texts may hold those characters.
static std::string StripComment(const std::string& line) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == '#' || t[0] == ';') return "";
    for (size_t i = 1; i < t.size(); ++i)
        if (t[i] == ';' && (t[i - 1] == ' ' || t[i - 1] == '\t')) return Trim(t.substr(0, i));
    return t;
}

Scenario ParseScenario(const std::string& text, const std::string& path) {
    Scenario sc;
    sc.path = path;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        std::string line = StripComment(raw);
        if (line.empty()) continue;
        if (line[0] == '[') {
            if (line.back() != ']') {
                sc.errors.push_back("line " + std::to_string(lineNo) + ": section header without ']'");
                continue;
            }
            std::string header = Trim(line.substr(1, line.size() - 2));
            size_t sp = header.find_first_of(" \t");
            ScenarioSection s;
            s.kind = Lower(header.substr(0, sp));
            s.name = sp == std::string::npos ? "" : Trim(header.substr(sp));
            s.line = lineNo;
            sc.sections.push_back(s);
            continue;
        }
        if (sc.sections.empty()) {
            sc.errors.push_back("line " + std::to_string(lineNo) + ": entry before the first section");
            continue;
        }
        ScenarioEntry e;
        e.line = lineNo;
        size_t eq = line.find('=');
        e.key = Trim(line.substr(0, eq));
        e.value = eq == std::string::npos ? "" : Trim(line.substr(eq + 1));
        sc.sections.back().entries.push_back(e);
    }
    return sc;
}

bool LoadScenario(const std::string& path, Scenario& out) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::stringstream ss;
    ss << f.rdbuf();
    out = ParseScenario(ss.str(), path);
    return true;
}
