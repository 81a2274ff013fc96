#pragma once
// A removal context with a recording log and recorded notices, the strict spooler library's
// configuration and journal, and the registry set-ups of the spooler step tests.
#include <doctest/doctest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "../loading/TestPrinters.h"
#include "script/UninstallDatabase.h"
#include "spooler/RemovalContext.h"

struct LoggedAction {
    std::string step, kind, object, scope, detail;
    ActionOutcome outcome;
    unsigned long error;
};

class RecordingLog : public ActionLog {
public:
    void Record(const ActionRecord& r) override {
        actions.push_back({r.step, r.kind, r.object, r.scope, r.detail, r.outcome, r.error});
    }
    // The last record of this kind and object, or null.
    const LoggedAction* Find(const char* kind, const std::string& object) const {
        for (size_t i = actions.size(); i-- > 0;)
            if (actions[i].kind == kind && actions[i].object == object) return &actions[i];
        return nullptr;
    }
    // Each record as "object outcome", followed by its detail when it has one.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const LoggedAction& a : actions)
            lines.push_back(a.object + " " + OutcomeName(a.outcome) + (a.detail.empty() ? "" : " " + a.detail));
        return lines;
    }
    std::vector<LoggedAction> actions;
};

// Each notice as "<string id>" or "<string id> <argument>"; always answered OK.
class RecordingPrompts : public RemovalPrompts {
public:
    int Show(UINT textId, UINT, const char* argument) override {
        shown.push_back(std::to_string(textId) + (argument ? " " + std::string(argument) : ""));
        return IDOK;
    }
    std::vector<std::string> shown;
};

struct Removal {
    explicit Removal(bool dryRun = false) { ctx.dryRun = dryRun; }
    InstalledPrinter& Add(const char* name, const char* driver, int excluded = 0, int foreign = 0) {
        InstalledPrinter p;
        p.name.Assign(name);
        p.driver.Assign(driver);
        p.excluded = excluded;
        p.isForeign = foreign;
        p.isSpoolara = !foreign;
        db.Printers().push_back(p);
        return db.Printers().back();
    }
    UninstallDatabase db{COSInfo().GetFamily()};
    RecordingPrompts prompts;
    RecordingLog log;
    RemovalContext ctx{db, prompts, log};
};

// The strict library reads its configuration from this file and starts its simulation again when
// it changes; the journal starts empty with each configuration.
inline void ConfigureStrict(const std::string& text) {
    static int generation = 0;
    const char* config = "C:\\removal-strict.ini";
    const char* journal = "C:\\removal-journal.txt";
    SetEnvironmentVariableA("QSPOOL_CONFIG", config);
    SetEnvironmentVariableA("QSPOOL_JOURNAL", journal);
    std::ofstream(config, std::ios::trunc) << "; generation " << ++generation << "\n" << text;
    DeleteFileA(journal);
}

// The journal's lines that contain every one of the texts, in order.
inline std::vector<std::string> JournalLines(std::initializer_list<const char*> texts) {
    std::vector<std::string> lines;
    std::ifstream file("C:\\removal-journal.txt");
    for (std::string line; std::getline(file, line);) {
        bool all = true;
        for (const char* text : texts) all = all && line.find(text) != std::string::npos;
        if (all) lines.push_back(line);
    }
    return lines;
}

inline std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    for (size_t start = 0; !text.empty() && start <= text.size();) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

inline void CreateKey(HKEY root, const std::string& path) {
    HKEY key = NULL;
    REQUIRE(RegCreateKeyA(root, path.c_str(), &key) == ERROR_SUCCESS);
    RegCloseKey(key);
}

inline bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = NULL;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline void SetText(HKEY root, const std::string& path, const char* name, const char* text) {
    HKEY key = NULL;
    REQUIRE(RegCreateKeyA(root, path.c_str(), &key) == ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
}

inline bool ValueExists(HKEY root, const std::string& path, const char* name) {
    HKEY key = NULL;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    bool found = RegQueryValueExA(key, name, NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

inline void SetUniqueId(const char* printer, DWORD type, const void* data, DWORD size) {
    HANDLE h = NULL;
    REQUIRE(OpenPrinterA(const_cast<char*>(printer), &h, NULL));
    BYTE* bytes = static_cast<BYTE*>(const_cast<void*>(data));
    REQUIRE(SetPrinterDataA(h, const_cast<char*>("UniqueID"), type, bytes, size) == ERROR_SUCCESS);
    ClosePrinter(h);
}

inline std::string PrinterText(const char* printer, LPSTR PRINTER_INFO_2A::*field) {
    HANDLE h = NULL;
    if (!OpenPrinterA(const_cast<char*>(printer), &h, NULL)) return "<no printer>";
    DWORD needed = 0;
    GetPrinterA(h, 2, NULL, 0, &needed);
    std::vector<BYTE> buffer(needed + 4);
    std::string text = "<unreadable>";
    if (GetPrinterA(h, 2, buffer.data(), static_cast<DWORD>(buffer.size()), &needed)) {
        const char* value = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data())->*field;
        text = value ? value : "";
    }
    ClosePrinter(h);
    return text;
}
