// The /LOG file appends and keeps one record per line; the /REPORT file is created before the run
// and holds UTF-8 JSON converted from the ANSI code page.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "diag/ActionLogFile.h"
#include "diag/ReportFile.h"

namespace {
std::string Folder() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "unattended-files\\";
    CreateDirectoryA(folder.c_str(), NULL);
    return folder;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

ActionRecord Record(const char* object, ActionOutcome outcome) {
    ActionRecord record;
    record.step = "files";
    record.kind = "file";
    record.object = object;
    record.outcome = outcome;
    return record;
}
}  // namespace

TEST_CASE("the log appends to what an earlier run wrote, one line per record and note") {
    const std::string path = Folder() + "quiet.log";
    DeleteFileA(path.c_str());
    for (int run = 0; run < 2; ++run) {
        ActionLogFile log;
        REQUIRE(log.Open(path));
        log.Record(Record("C:\\a.dll", kOutcomeRemoved));
        log.Note("exit code 0");
    }
    std::string text = Read(path);
    size_t lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    CHECK(lines == 4);
    CHECK(text.find("  files  file \"C:\\a.dll\": removed\r\n") != std::string::npos);
    CHECK(text.rfind("  exit code 0\r\n") == text.size() - 15);

    ActionLogFile missing;
    CHECK_FALSE(missing.Open(""));
    CHECK_FALSE(missing.Open(Folder() + "no such folder\\quiet.log"));
    missing.Note("goes nowhere");
}

TEST_CASE("the report file is emptied when the run starts and written whole as UTF-8 JSON") {
    const std::string path = Folder() + "report.json";
    std::ofstream(path, std::ios::binary) << std::string(5000, 'x');
    RemovalReport report;
    ReportFile file;
    REQUIRE(file.Create(path));
    CHECK(Read(path).empty());
    report.Record(Record("C:\\Caf\xE9\\\"x\".dll", kOutcomePresent));
    CHECK(file.Write(report));
    CHECK_FALSE(file.Write(report));  // written once, then closed
    std::string json = Read(path);
    CHECK(json.find("xxx") == std::string::npos);
    if (GetACP() == 1252)
        CHECK(json.find("\"C:\\\\Caf\xC3\xA9\\\\\\\"x\\\".dll\"") != std::string::npos);
    else
        MESSAGE("ANSI code page " << GetACP() << ": the conversion of é is not checked");

    ReportFile nowhere;
    CHECK_FALSE(nowhere.Create(Folder() + "no such folder\\report.json"));
    CHECK_FALSE(nowhere.Create(""));
    CHECK_FALSE(nowhere.Write(report));
}

TEST_CASE("an earlier report is replaced whatever its attributes, which stay as they were") {
    // A detection script may keep its report hidden or mark it read-only for others; the system
    // refuses to create a hidden or system file over one that exists.
    const DWORD cases[] = {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
    for (DWORD attributes : cases) {
        CAPTURE(attributes);
        const std::string path = Folder() + "earlier-report.json";
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::ofstream(path, std::ios::binary) << std::string(5000, 'x');
        REQUIRE(SetFileAttributesA(path.c_str(), attributes));
        ReportFile file;
        REQUIRE(file.Create(path));
        CHECK(file.Write(RemovalReport()));
        const std::string json = Read(path);
        CHECK(json.find("xxx") == std::string::npos);
        CHECK(json.find("\"format\"") != std::string::npos);
        CHECK((GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) ==
              (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)));
    }
}
