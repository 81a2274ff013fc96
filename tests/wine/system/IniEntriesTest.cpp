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
