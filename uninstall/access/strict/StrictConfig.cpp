#include "StrictConfig.h"

#include <cstdlib>

namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Trim(const std::string& s) {
    size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    size_t last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

unsigned long Number(const std::string& s) {
    return std::strtoul(s.c_str(), nullptr, 0);
}

bool StartsWithNoCase(const std::string& s, const char* prefix, std::string* rest) {
    size_t n = 0;
    while (prefix[n] != '\0') {
        if (n >= s.size() || Fold(s[n]) != Fold(prefix[n])) return false;
        ++n;
    }
    *rest = s.substr(n);
    return true;
}

// "\\SERVER\Share" gives "\\SERVER" and "Share"; a name without a server part keeps both empty.
void SplitServerName(ServerPrinterConfig& p) {
    if (p.name.compare(0, 2, "\\\\") != 0) return;
    size_t slash = p.name.find('\\', 2);
    if (slash == std::string::npos) return;
    p.server = p.name.substr(0, slash);
    p.share = p.name.substr(slash + 1);
}

void SetServerPrinterKey(ServerPrinterConfig& p, const std::string& key, const std::string& value) {
    std::string dataName;
    if (EqualNoCase(key, "Name")) {
        p.name = value;
        SplitServerName(p);
    } else if (EqualNoCase(key, "Driver")) {
        p.driver = value;
    } else if (EqualNoCase(key, "Port")) {
        p.port = value;
    } else if (EqualNoCase(key, "Comment")) {
        p.comment = value;
    } else if (EqualNoCase(key, "Location")) {
        p.location = value;
    } else if (EqualNoCase(key, "Attributes")) {
        p.attributes = Number(value);
    } else if (StartsWithNoCase(key, "Data.", &dataName) && !dataName.empty()) {
        p.data.emplace_back(dataName, value);
    }
}

void SetFailKey(FailRule& r, const std::string& key, const std::string& value) {
    if (EqualNoCase(key, "Function"))
        r.function = value;
    else if (EqualNoCase(key, "Printer"))
        r.printer = value;
    else if (EqualNoCase(key, "Level"))
        r.level = static_cast<long>(Number(value));
    else if (EqualNoCase(key, "Error"))
        r.error = Number(value);
    else if (EqualNoCase(key, "After"))
        r.after = Number(value);
    else if (EqualNoCase(key, "Times"))
        r.times = Number(value);
}

enum class Section { None, Journal, Jobs, ServerPrinter, Fail };

Section SectionOf(const std::string& name) {
    if (EqualNoCase(name, "Journal")) return Section::Journal;
    if (EqualNoCase(name, "Jobs")) return Section::Jobs;
    if (EqualNoCase(name, "ServerPrinter")) return Section::ServerPrinter;
    if (EqualNoCase(name, "Fail")) return Section::Fail;
    return Section::None;
}

}  // namespace

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(Fold(a[i]));
        unsigned char y = static_cast<unsigned char>(Fold(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Fold(a[i]) != Fold(b[i])) return false;
    }
    return true;
}

StrictConfig ParseStrictConfig(const std::string& text) {
    StrictConfig config;
    Section section = Section::None;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            section =
                SectionOf(Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            if (section == Section::ServerPrinter) config.serverPrinters.emplace_back();
            if (section == Section::Fail) config.failRules.emplace_back();
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = Trim(line.substr(0, eq));
        std::string value = Trim(line.substr(eq + 1));
        switch (section) {
            case Section::Journal:
                if (EqualNoCase(key, "File")) config.journal = value;
                break;
            case Section::Jobs:
                if (!key.empty()) config.jobs[key] = Number(value);
                break;
            case Section::ServerPrinter:
                SetServerPrinterKey(config.serverPrinters.back(), key, value);
                break;
            case Section::Fail:
                SetFailKey(config.failRules.back(), key, value);
                break;
            case Section::None:
                break;
        }
    }
    return config;
}
