// Log-on programs: Run values named through the string table's INI indirection, and on Win32s the
// load line of win.ini.
#include <doctest/doctest.h>

#include "SystemTestSupport.h"
#include "system/LoadRunEntries.h"

namespace {
// The key string 51 names through qruntest.ini, and the real Run key, which must stay untouched.
const char kTestRunKey[] = "SOFTWARE\\QTest\\Run";
const char kRealRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct RunKeys {
    RunKeys() {
        WriteTextFile(WindowsDirectory() + "qruntest.ini", "[Keys]\r\nRun=SOFTWARE\\QTest\\Run\r\n");
        SetStringValue(HKEY_LOCAL_MACHINE, kTestRunKey, "QLNStatus", "C:\\windows\\system32\\QLNSTAT.EXE");
        SetStringValue(HKEY_LOCAL_MACHINE, kTestRunKey, "OtherApp", "other.exe");
        SetStringValue(HKEY_LOCAL_MACHINE, kRealRunKey, "QLNStatus", "C:\\windows\\system32\\QLNSTAT.EXE");
    }
    ~RunKeys() {
        DeleteFileA((WindowsDirectory() + "qruntest.ini").c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestRunKey);
        HKEY key;
        if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kRealRunKey, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "QLNStatus");
            RegCloseKey(key);
        }
    }
};

std::string LoadLine() {
    char line[2048];
    GetProfileStringA("windows", "load", "", line, sizeof line);
    return line;
}
}  // namespace

TEST_CASE("Run values: the key comes from string 51 and its INI file") {
    if (COSInfo().IsWin32s()) return;
    RunKeys keys;
    StepFixture f;
    f.Removal().DeleteLoadRun.Append("QLNStatus,QLNSTAT.EXE");
    f.Removal().DeleteLoadRun.Append("\"Missing App\",\"missing.exe\"");
    f.Removal().DeleteLoadRun.Append("\"\",nameless.exe");  // would name the key's default value

    SUBCASE("removal") {
        RemoveLoadRunEntriesStep(f.ctx);
        CHECK_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kTestRunKey, "QLNStatus"));
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kTestRunKey, "OtherApp"));
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kRealRunKey, "QLNStatus"));
        CHECK(f.log.lines ==
              std::vector<std::string>{"removed run-value QLNStatus", "not present run-value Missing App"});
        CHECK(f.log.scopes[0] == "HKLM\\SOFTWARE\\QTest\\Run");
    }
    SUBCASE("dry run") {
        f.ctx.dryRun = true;
        RemoveLoadRunEntriesStep(f.ctx);
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kTestRunKey, "QLNStatus"));
        CHECK(f.log.lines == std::vector<std::string>{"present run-value QLNStatus"});
    }
    SUBCASE("without the INI file the key has no name, and nothing is opened") {
        DeleteFileA((WindowsDirectory() + "qruntest.ini").c_str());
        RemoveLoadRunEntriesStep(f.ctx);
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kTestRunKey, "QLNStatus"));
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kRealRunKey, "QLNStatus"));
        CHECK(f.log.lines == std::vector<std::string>{"kept run-value QLNStatus | no Run key name",
                                                      "kept run-value Missing App | no Run key name"});
    }
}

TEST_CASE("Win32s load line: the first occurrence of the program decides") {
    if (!COSInfo().IsWin32s()) return;
    struct {
        const char* line;
        const char* program;
        const char* after;
        const char* record;
    } cases[] = {
        {"A.exe QLNSTAT.EXE b.exe", "qlnstat.exe", "a.exe b.exe", "removed load-entry qlnstat.exe"},
        {"QLNSTAT.EXE", "QLNSTAT.EXE", "", "removed load-entry QLNSTAT.EXE"},
        {"xabc.exe abc.exe def.exe", "abc.exe", "xabc.exe abc.exe def.exe", "not present load-entry abc.exe"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.line);
        REQUIRE(WriteProfileStringA("windows", "load", c.line));
        StepFixture f;
        CHECK(RemoveLoadRunEntry(f.ctx, "ignored", c.program) == (c.after != std::string(c.line)));
        CHECK(LoadLine() == c.after);
        CHECK(f.log.lines == std::vector<std::string>{c.record});
    }
    WriteProfileStringA("windows", "load", NULL);
}

TEST_CASE("Win32s load line: a line too long to read whole, and a dry run, leave it as it is") {
    if (!COSInfo().IsWin32s()) return;
    SUBCASE("a line longer than the tool reads whole is left alone") {
        std::string line = std::string(1100, 'x') + " qlnstat.exe";
        REQUIRE(WriteProfileStringA("windows", "load", line.c_str()));
        StepFixture f;
        CHECK(RemoveLoadRunEntry(f.ctx, "QLNStatus", "qlnstat.exe") == 0);
        CHECK(LoadLine() == line);
        CHECK(f.log.lines == std::vector<std::string>{"kept load-entry qlnstat.exe | load line too long"});
    }
    SUBCASE("dry run") {
        REQUIRE(WriteProfileStringA("windows", "load", "a.exe qlnstat.exe"));
        StepFixture f;
        f.ctx.dryRun = true;
        f.Removal().DeleteLoadRun.Append("QLNStatus,QLNSTAT.EXE");
        RemoveLoadRunEntriesStep(f.ctx);
        CHECK(LoadLine() == "a.exe qlnstat.exe");
        CHECK(f.log.lines == std::vector<std::string>{"present load-entry QLNSTAT.EXE"});
    }
    WriteProfileStringA("windows", "load", NULL);
}
