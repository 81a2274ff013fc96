#pragma once
// What the system-entry tests share: a removal context over a fresh database whose action log
// keeps every record, files and registry keys to set up and inspect, and the file deletion that
// the shortcut step calls, replaced for these tests.
#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "script/UninstallDatabase.h"
#include "spooler/RemovalContext.h"

// Each record as one line: "outcome kind object", then " | detail" when there is one and
// " | error N" for a failure.
class RecordingLog : public ActionLog {
public:
    void Record(const ActionRecord& record) override;
    std::vector<std::string> lines;
    std::vector<std::string> scopes;
};

// What a dry run must record for a removal that recorded lines: each removed or deferred object as
// present, kept ones as kept (without the error of the attempt), none that was not present.
std::vector<std::string> DryRunOf(const std::vector<std::string>& lines);

class AnswerOk : public RemovalPrompts {
public:
    int Show(UINT, UINT, const char*) override { return IDOK; }
};

struct StepFixture {
    StepFixture() : database(COSInfo().GetFamily()), ctx(database, prompts, log) {}
    UninstallProfile& Removal() { return database.Removal(); }

    UninstallDatabase database;
    AnswerOk prompts;
    RecordingLog log;
    RemovalContext ctx;
};

std::string WindowsDirectory();
// A well-known location (Locations.h) as the tool resolves it, ending in a backslash.
std::string LocationPath(int location);

void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);

void SetStringValue(HKEY root, const std::string& key, const char* name, const char* value);
bool KeyExists(HKEY root, const std::string& key);
bool ValueExists(HKEY root, const std::string& key, const char* name);

// Failed comparisons of record and path lists show every line.
namespace doctest {
template <>
struct StringMaker<std::vector<std::string>> {
    static String convert(const std::vector<std::string>& lines) {
        std::string text = "{";
        for (const std::string& line : lines) text += "\n  " + line;
        return (text + "\n}").c_str();
    }
};
}  // namespace doctest
