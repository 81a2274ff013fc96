// The INI step on real files of the Windows directory.
#include <doctest/doctest.h>

#include "SystemTestSupport.h"
#include "system/IniEntries.h"

namespace {
// A key of 64 characters: one more than a key may have.
const std::string kLongKey(64, 'K');
const std::string kLongLine = kLongKey + "=64\r\n";
const std::string kBefore =
    "[Printers]\r\nQStatusPort=1\r\nLaser=QLNLSR.DLL\r\nPort = LPT1:\r\n;Ink=old\r\n" + kLongLine +
    "[windows]\r\nload=a.exe Laser\r\n";
const std::string kLongKept = "kept ini-entry [Printers] " + kLongKey + " | section or key name too long";

void SetFileWriteTime(const std::string& path, const FILETIME& time) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    SetFileTime(file, NULL, NULL, &time);
    CloseHandle(file);
}

void SetUpEntries(StepFixture& f) {
    TextList& list = f.Removal().DeleteIni;
    list.Append("qlntest.ini,Printers,Laser");
    list.Append("C:\\elsewhere\\QLNTEST.INI,printers,Port");  // the directory part is not used
    list.Append("qlntest.ini,Printers,Ink");                  // only behind ";"
    list.Append("qlntest.ini,Printers,Status");               // only inside another key
    list.Append(("qlntest.ini,Printers," + kLongKey).c_str());
    list.Append("qlnnone.ini,Printers,Laser");
    list.Append("qlntest.ini,Printers");  // incomplete: skipped
}
}  // namespace

TEST_CASE("INI entries: whole lines of the named keys go, everything else stays") {
    std::string path = WindowsDirectory() + "qlntest.ini";
    WriteTextFile(path, kBefore);
    StepFixture f;
    SetUpEntries(f);

    const std::vector<std::string> expected = {
        "removed ini-entry [Printers] Laser",
        "removed ini-entry [printers] Port",
        "not present ini-entry [Printers] Ink",
        "not present ini-entry [Printers] Status",
        kLongKept,
        "not present ini-entry [Printers] Laser",
        "kept ini-entry qlntest.ini,Printers | not a file,section,key entry",
    };
    SUBCASE("removal") {
        // The profile functions hold the file in a cache. Windows 9x trusts it without looking at the
        // file again; Wine trusts it while the file's time is older than two seconds and unchanged,
        // so the file is given an old time, and the same again after the edit.
        const FILETIME old = {0, 0x01D00000};  // in 2014
        SetFileWriteTime(path, old);
        char value[32];
        GetPrivateProfileStringA("Printers", "Laser", "", value, sizeof value, path.c_str());
        RemoveIniEntriesStep(f.ctx);
        SetFileWriteTime(path, old);
        CHECK(ReadTextFile(path) == "[Printers]\r\nQStatusPort=1\r\n;Ink=old\r\n" + kLongLine +
                                        "[windows]\r\nload=a.exe Laser\r\n");
        CHECK(f.log.lines == expected);
        CHECK(EqualsNoCase(f.log.scopes[0].c_str(), path.c_str()));
        GetPrivateProfileStringA("Printers", "Laser", "gone", value, sizeof value, path.c_str());
        CHECK(std::string(value) == "gone");
    }
    SUBCASE("dry run") {
        f.ctx.dryRun = true;
        RemoveIniEntriesStep(f.ctx);
        CHECK(ReadTextFile(path) == kBefore);
        CHECK(f.log.lines == DryRunOf(expected));
    }
    DeleteFileA(path.c_str());
}

TEST_CASE("INI files that are damaged, empty, read-only or held open are left as they are") {
    const std::string directory = WindowsDirectory();
    struct Row {
        const char* file;
        std::string text;
        std::string after;  // the text after the step
        std::string record;
    } rows[] = {
        {"qlnnoend.ini", "[Printers]\r\nLaser=1", "[Printers]\r\n", "removed ini-entry [Printers] Laser"},
        // Without any line end the key is no line of the section.
        {"qlnoneline.ini", "[Printers] Laser=1", "[Printers] Laser=1",
         "not present ini-entry [Printers] Laser"},
        {"qlnheader.ini", "Laser=1\r\n[Printers]", "Laser=1\r\n[Printers]",
         "not present ini-entry [Printers] Laser"},
        {"qlnempty.ini", "", "", "not present ini-entry [Printers] Laser"},
        {"qlnro.ini", "[Printers]\r\nLaser=1\r\n", "[Printers]\r\nLaser=1\r\n",
         "kept ini-entry [Printers] Laser | the file is read-only"},
        {"qlnheld.ini", "[Printers]\r\nLaser=1\r\n", "[Printers]\r\nLaser=1\r\n",
         "failed ini-entry [Printers] Laser | error 32"},
    };
    StepFixture f;
    std::vector<std::string> expected;
    for (const Row& row : rows) {
        WriteTextFile(directory + row.file, row.text);
        f.Removal().DeleteIni.Append((std::string(row.file) + ",Printers,Laser").c_str());
        expected.push_back(row.record);
    }
    SetFileAttributesA((directory + "qlnro.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    // Another program has it open for writing and shares nothing.
    HANDLE held = CreateFileA((directory + "qlnheld.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL,
                              OPEN_EXISTING, 0, NULL);
    REQUIRE(held != INVALID_HANDLE_VALUE);
    RemoveIniEntriesStep(f.ctx);
    CloseHandle(held);
    CHECK(f.log.lines == expected);
    for (const Row& row : rows) {
        CAPTURE(row.file);
        CHECK(ReadTextFile(directory + row.file) == row.after);
        SetFileAttributesA((directory + row.file).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((directory + row.file).c_str());
    }
}
