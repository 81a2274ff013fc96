#include <doctest/doctest.h>

#include <string>

#include "shell/CensusFilter.h"
#include "shell/CmdSwitches.h"

namespace {
struct FilterCase {
    const char* commandLine;
    const char* driver;
    const char* vizoredName;
    bool offered;
};

bool Offered(const char* commandLine, const char* driver, const char* vizoredName,
             const char* name = "Printer") {
    CCmdSwitches switches;
    switches.Parse(commandLine);
    return MatchesCensusSwitches(switches, name, driver, vizoredName);
}
}  // namespace

TEST_CASE("census switches decide which printers stay offered") {
    const FilterCase cases[] = {
        {"quinst01.exe", "Other Maker 100", "", true},
        {"quinst01.exe /NOPICK", "Other Maker 100", "", true},
        // MFG: a prefix of the driver name, ignoring case, quotes around the value removed.
        {"quinst01.exe /MFG:Quellan", "Quellan Laser 5", "", true},
        {"quinst01.exe /mfg:QUELLAN", "quellan laser 5", "", true},
        {"quinst01.exe /MFG:Quellan", "Other Maker 100", "", false},
        {"quinst01.exe /MFG:\"Quellan Laser\"", "Quellan Laser 5", "", true},
        {"quinst01.exe /MFG:\"Quellan Laser\"", "Quellan Ink 5", "", false},
        {"quinst01.exe /MFG:\"Quel", "Quellan Ink 5", "", true},
        // An unquoted space ends the value: "Laser" is a token of its own, not a value.
        {"quinst01.exe /MFG:Quellan Laser", "Laser 5", "", false},
        // An empty value is an empty prefix; a switch without values gives nothing to test.
        {"quinst01.exe /MFG:", "Anything At All", "", true},
        {"quinst01.exe /MFG", "Quellan Laser 5", "", false},
        // PRN: the whole driver name.
        {"quinst01.exe /PRN:\"Quellan Laser 5\"", "quellan laser 5", "", true},
        {"quinst01.exe /PRN:\"Quellan Laser 5\"", "Quellan Laser 50", "", false},
        {"quinst01.exe /PRN:A,\"Quellan Ink 2\"", "Quellan Ink 2", "", true},
        {"quinst01.exe /MFG:Zeta /PRN:\"Quellan Ink 2\"", "Quellan Ink 2", "", true},
        {"quinst01.exe /MFG:Zeta /PRN:\"Quellan Ink 2\"", "Zeta 1", "", true},
        {"quinst01.exe /MFG:Zeta /PRN:\"Quellan Ink 2\"", "Quellan Ink 3", "", false},
        // UNVIZ: only Vizored printers, and together with a driver filter both must hold.
        {"quinst01.exe -UNVIZ", "Quellan Laser 5", "", false},
        {"quinst01.exe -UNVIZ", "Other Maker 100", "Quellan Laser 5", true},
        {"quinst01.exe -UNVIZ /PRN:X", "X", "", false},
        {"quinst01.exe -UNVIZ /PRN:X", "X", "Quellan Laser 5", true},
        {"quinst01.exe -UNVIZ /PRN:X", "Y", "Quellan Laser 5", false},
    };
    for (const FilterCase& c : cases) {
        std::string where = std::string(c.commandLine) + " | " + c.driver;
        CAPTURE(where);
        CHECK(Offered(c.commandLine, c.driver, c.vizoredName) == c.offered);
    }
}

TEST_CASE("PRINTER offers only the printers it names, whatever else filters") {
    struct NameCase {
        const char* commandLine;
        const char* name;
        const char* driver;
        const char* vizoredName;
        bool offered;
    } cases[] = {
        {"quinst01.exe /PRINTER:\"Quellan Laser 5\"", "quellan LASER 5", "Any", "", true},
        {"quinst01.exe /PRINTER:\"Quellan Laser 5\"", "Quellan Laser 50", "Any", "", false},
        // A quoted name keeps its comma; names in several values and entries all count.
        {"quinst01.exe /PRINTER:\"Office, 2nd floor\",Lab", "Office, 2nd floor", "Any", "", true},
        {"quinst01.exe /PRINTER:\"Office, 2nd floor\",Lab", "Lab", "Any", "", true},
        {"quinst01.exe /PRINTER:\"Office, 2nd floor\",Lab", "Office", "Any", "", false},
        {"quinst01.exe /PRINTER:A /PRINTER:B", "B", "Any", "", true},
        // Without a value no printer is named, so none is offered.
        {"quinst01.exe /PRINTER", "Lab", "Any", "", false},
        // Combined: the driver filter and UNVIZ must hold as well.
        {"quinst01.exe /PRINTER:Lab /MFG:Quellan", "Lab", "Quellan Laser", "", true},
        {"quinst01.exe /PRINTER:Lab /MFG:Quellan", "Lab", "Other Laser", "", false},
        {"quinst01.exe /PRINTER:Lab /MFG:Quellan", "Hall", "Quellan Laser", "", false},
        {"quinst01.exe /PRINTER:Lab -UNVIZ", "Lab", "Any", "", false},
        {"quinst01.exe /PRINTER:Lab -UNVIZ", "Lab", "Any", "Vizored Lab", true},
    };
    for (const NameCase& c : cases) {
        std::string where = std::string(c.commandLine) + " | " + c.name;
        CAPTURE(where);
        CHECK(Offered(c.commandLine, c.driver, c.vizoredName, c.name) == c.offered);
    }
    CCmdSwitches switches;
    switches.Parse("quinst01.exe /PRINTER:Lab");
    CHECK(HasCensusFilter(switches));
    switches = CCmdSwitches();
    switches.Parse("quinst01.exe /NOPICK /QUIET");
    CHECK_FALSE(HasCensusFilter(switches));
}

TEST_CASE("a long MFG or PRN list is read whole: a value far down the list still matches") {
    // Lists of up to the longest command line; every filler value is 259 characters and matches nothing.
    std::string filler(259, 'Q');
    for (int fillers : {1, 4, 15}) {
        CAPTURE(fillers);
        std::string list;
        for (int i = 0; i < fillers; ++i) list += filler + ",";
        std::string mfg = "quinst01.exe /MFG:" + list + "Quellan";
        CHECK(Offered(mfg.c_str(), "Quellan Laser 5", ""));
        CHECK_FALSE(Offered(mfg.c_str(), "Other Maker 100", ""));
        std::string prn = "quinst01.exe /PRN:" + list + "\"Quellan Laser 5\"";
        CHECK(Offered(prn.c_str(), "Quellan Laser 5", ""));
        CHECK_FALSE(Offered(prn.c_str(), "Quellan Laser 50", ""));
    }
    // Values from several entries of one switch together exceed any small buffer as well.
    std::string repeated = "quinst01.exe /MFG:" + filler + " /MFG:" + filler + " /MFG:Quellan";
    CHECK(Offered(repeated.c_str(), "Quellan Ink 2", ""));
}
