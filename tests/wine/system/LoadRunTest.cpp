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
        // A value that is not a text still goes by its name.
        HKEY key;
        DWORD number = 1;
        REQUIRE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kTestRunKey, &key) == ERROR_SUCCESS);
        RegSetValueExA(key, "QLNNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        RegCloseKey(key);
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
    f.Removal().DeleteLoadRun.Append("QLNNumber,QLNNUM.EXE");
    f.Removal().DeleteLoadRun.Append("QLNStatus only");

    SUBCASE("a dry run, then the removal") {
        f.ctx.dryRun = true;
        RemoveLoadRunEntriesStep(f.ctx);
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kTestRunKey, "QLNStatus"));
        f.ctx.dryRun = false;
        RemoveLoadRunEntriesStep(f.ctx);
        CHECK_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kTestRunKey, "QLNStatus"));
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kTestRunKey, "OtherApp"));
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kRealRunKey, "QLNStatus"));
        CHECK_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kTestRunKey, "QLNNumber"));
        const char kNotAnEntry[] = "kept run-value QLNStatus only | not a name,program entry";
        CHECK(f.log.lines == std::vector<std::string>{
                                 "present run-value QLNStatus", "present run-value QLNNumber", kNotAnEntry,
                                 "removed run-value QLNStatus", "not present run-value Missing App",
                                 "removed run-value QLNNumber", kNotAnEntry});
    }
    SUBCASE("without the INI file the key has no name, and nothing is opened") {
        DeleteFileA((WindowsDirectory() + "qruntest.ini").c_str());
        RemoveLoadRunEntriesStep(f.ctx);
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kTestRunKey, "QLNStatus"));
        CHECK(ValueExists(HKEY_LOCAL_MACHINE, kRealRunKey, "QLNStatus"));
        CHECK(f.log.lines.at(0) == "kept run-value QLNStatus | no Run key name");
    }
}

TEST_CASE("Win32s load line: the program goes from win.ini's line, which is left alone when too long") {
    if (!COSInfo().IsWin32s()) return;
    const std::string longLine = std::string(1100, 'x') + " qlnstat.exe";
    struct {
        std::string line;
        std::string after;
        const char* record;
    } cases[] = {
        {"A.exe QLNSTAT.EXE b.exe", "a.exe b.exe", "removed load-entry QLNSTAT.EXE"},
        {"xqlnstat.exe qlnstat.exe", "xqlnstat.exe qlnstat.exe", "not present load-entry QLNSTAT.EXE"},
        {longLine, longLine, "kept load-entry QLNSTAT.EXE | load line too long"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.line);
        REQUIRE(WriteProfileStringA("windows", "load", c.line.c_str()));
        StepFixture f;
        f.Removal().DeleteLoadRun.Append("QLNStatus,QLNSTAT.EXE");
        f.ctx.dryRun = true;
        RemoveLoadRunEntriesStep(f.ctx);
        CHECK(LoadLine() == c.line);
        f.ctx.dryRun = false;
        RemoveLoadRunEntriesStep(f.ctx);
        CHECK(LoadLine() == c.after);
        std::vector<std::string> lines = DryRunOf({c.record});
        lines.push_back(c.record);
        CHECK(f.log.lines == lines);
    }
    WriteProfileStringA("windows", "load", NULL);
}
