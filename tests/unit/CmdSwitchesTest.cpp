#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "shell/CmdSwitches.h"

namespace {
// The multi-string as "a|b|" for comparison.
std::string Multi(const char* buffer) {
    std::string out;
    for (const char* p = buffer; *p; p += strlen(p) + 1) out += std::string(p) + "|";
    return out;
}
}  // namespace

TEST_CASE("switches: quoted values keep spaces, commas and their quotes") {
    CCmdSwitches switches;
    CHECK(switches.Parse("\"C:\\Program Files\\QUINST01.EXE\"  /MFG:\"Quellan A, B\",\"Other X\" -UNVIZ") ==
          1);
    REQUIRE(switches.Count() == 2);
    CHECK(std::string(switches.Entry(0).At(0).Text()) == "MFG");
    CHECK(std::string(switches.Entry(0).At(1).Text()) == "\"Quellan A, B\"");
    CHECK(std::string(switches.Entry(0).At(2).Text()) == "\"Other X\"");
    CHECK(switches.Find("mfg") == 2);
    CHECK(switches.Find("UNVIZ") == 0);
    CHECK(switches.Find("PRN") == -1);
    CHECK(switches.Has("unviz"));
}

TEST_CASE("switches: a whole switch in quotes is the same switch; other words are counted as stray") {
    CCmdSwitches switches;
    CHECK(switches.Parse("\"C:\\Tools\\QUINST01.EXE\" \"/PRINTER:Office Laser,Ink Jet\" stray \"-QUIET\"") ==
          1);
    REQUIRE(switches.Count() == 2);
    CHECK(std::string(switches.Entry(0).At(0).Text()) == "PRINTER");
    CHECK(std::string(switches.Entry(0).At(1).Text()) == "Office Laser");
    CHECK(std::string(switches.Entry(0).At(2).Text()) == "Ink Jet");
    CHECK(switches.Has("QUIET"));
    CHECK(switches.StrayArguments() == 1);
}

TEST_CASE("switches: empty values, values without a colon and a program path alone") {
    CCmdSwitches switches;
    CHECK(switches.Parse("prog.exe") == 0);
    CHECK(switches.Parse("") == 0);
    CHECK(switches.Parse(nullptr) == 0);
    CHECK(switches.Parse("prog.exe /PRN: /NOPICK -MFG:a,,b,") == 1);
    CHECK(switches.Find("PRN") == 1);
    CHECK(switches.Entry(0).At(1).IsEmpty());
    CHECK(switches.Find("NOPICK") == 0);
    CHECK(switches.Find("MFG") == 4);  // a, "", b, ""
    // A colon inside quotes does not split the name from the values.
    CCmdSwitches quoted;
    quoted.Parse("/\"A:B\":c");
    CHECK(std::string(quoted.Entry(0).At(0).Text()) == "\"A:B\"");
    CHECK(quoted.Find("\"a:b\"") == 1);
}

TEST_CASE("switches: Find reports the last entry, GetValues collects every entry") {
    CCmdSwitches switches;
    switches.Parse("x /MFG:X /PRN /MFG:Y,Z /MFG");
    CHECK(switches.Find("MFG") == 0);  // the last MFG has no values

    char buffer[64];
    int size = sizeof buffer;
    CHECK(switches.GetValues("mfg", buffer, &size) == 1);
    CHECK(size == 7);
    CHECK(Multi(buffer) == "X|Y|Z|");

    // The needed size must be smaller than the capacity; equal is refused and nothing is copied.
    char exact[7] = "......";
    size = 7;
    CHECK(switches.GetValues("MFG", exact, &size) == 0);
    CHECK(size == 7);
    CHECK(exact[0] == '.');
    size = 0;
    CHECK(switches.GetValues("MFG", nullptr, &size) == 0);
    CHECK(size == 7);  // a null buffer asks only for the size
}

TEST_CASE("switches: GetValues without values, without a name, without a size") {
    CCmdSwitches switches;
    switches.Parse("x /PRN /UNVIZ");
    char buffer[8] = "zzzzzzz";
    int size = sizeof buffer;
    CHECK(switches.GetValues("PRN", buffer, &size) == 1);
    CHECK(size == 0);
    CHECK(buffer[0] == 0);

    // A buffer of no bytes cannot even take the empty multi-string.
    char none[1] = {'q'};
    size = 0;
    CHECK(switches.GetValues("PRN", none, &size) == 0);
    CHECK(none[0] == 'q');

    size = sizeof buffer;
    CHECK(switches.GetValues("", buffer, &size) == 0);
    CHECK(switches.GetValues(nullptr, buffer, &size) == 0);
    CHECK(switches.GetValues("PRN", buffer, nullptr) == 0);
}

TEST_CASE("switches: over-long command lines, names and values are cut, never overflow") {
    std::string longValue(300, 'v');
    std::string line = "prog /" + std::string(300, 'N') + ":" + longValue + ",b";
    CCmdSwitches switches;
    switches.Parse(line.c_str());
    REQUIRE(switches.Count() == 1);
    CHECK(switches.Entry(0).At(0).Length() == 259);
    CHECK(switches.Entry(0).At(1).Length() == 259);
    CHECK(std::string(switches.Entry(0).At(2).Text()) == "b");

    // Only the first 4095 characters are read: the switch after them is not seen, and the unread
    // rest counts as a stray word, which unattended runs refuse. 4095 characters are read whole.
    std::string huge = "prog " + std::string(4200, ' ') + "/LATE";
    CCmdSwitches cut;
    CHECK(cut.Parse(huge.c_str()) == 0);
    CHECK(cut.StrayArguments() == 1);
    std::string edge = std::string(4089, ' ') + "/ABCDEFG";  // the switch straddles the limit
    CCmdSwitches straddled;
    CHECK(straddled.Parse(edge.c_str()) == 1);
    CHECK(std::string(straddled.Entry(0).At(0).Text()) == "ABCDE");
    CHECK(straddled.StrayArguments() == 1);
    CCmdSwitches whole;
    CHECK(whole.Parse((std::string(4088, ' ') + "/ABCDEF").c_str()) == 1);
    CHECK(whole.StrayArguments() == 0);

    // Many values: the collected multi-string is bounded by what the caller offers.
    std::string many = "p /V:";
    for (int i = 0; i < 2000; ++i) many += "a,";
    CCmdSwitches lots;
    lots.Parse(many.c_str());
    char small[256];
    int size = sizeof small;
    CHECK(lots.GetValues("V", small, &size) == 0);
    CHECK(size > 256);
}
