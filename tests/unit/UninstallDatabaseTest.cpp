#include <doctest/doctest.h>

#include <string>

#include "script/UninstallDatabase.h"
#include "shell/CmdSwitches.h"

namespace {
const int kNT = 3;

std::string Join(const TextList& list) {
    std::string out;
    for (const TextItem& item : list) out += std::string(item.Text()) + "|";
    return out;
}

bool Load(UninstallDatabase& db, const std::string& text, const char* path) {
    return db.LoadScriptText(text.data(), text.size(), path);
}

InstalledPrinter Printer(const char* name, const char* driver, int excluded, const char* vizored = "") {
    InstalledPrinter p;
    p.name.Assign(name);
    p.driver.Assign(driver);
    p.vizoredName.Assign(vizored);
    p.isSpoolara = 1;
    p.excluded = excluded;
    return p;
}

// A machine with two driver profiles that share a DLL, a catch-all and an ignored profile, a
// manufacturer profile and the Vizora profile.
const char* const kScript =
    "[UnPrinterMfgs]\n"
    "Quellan,MFG,1\n"
    "[UnPrinterDrivers]\n"
    "Quellan 100 PS,Q100,1\n"
    "Quellan 200 PS,Q200,1\n"
    "Vizora,VIZ,1\n"
    "[Unz_CatchAll]\n"
    "Quellan Generic,GEN,1\n"
    "[Unx_Ignore]\n"
    "Quellan Fax,FAX,1\n"
    "[MFG.Files]\nqlmfg.dll\n"
    "[Q100.Files]\nq100.dll\nshared.dll\n"
    "[Q100.Monitors]\nQuellan Port\n"
    "[Q200.Files]\nq200.dll\nSHARED.DLL\n"
    "[Q200.Monitors]\nQuellan Port\n"
    "[VIZ.Files]\nVIZORA32.EXE\nviz.dll\n"
    "[GEN.Files]\ngeneric.dll\n"
    "[FAX.Files]\nfax.dll\n";

struct Machine {
    UninstallDatabase db{kNT};
    explicit Machine(bool unviz = false) {
        REQUIRE(Load(db, kScript, "C:\\WINDOWS\\SYSTEM\\Qunz__01.unm"));
        REQUIRE(db.BuildCandidates(unviz));
    }
};
}  // namespace

TEST_CASE("database: loading scripts") {
    UninstallDatabase db(kNT);
    CHECK_FALSE(Load(db, "[Other]\nx\n[UnPrinterDrivers]\n", "a.unm"));  // no starter entries
    CHECK_FALSE(Load(db, "", "b.unm"));
    CHECK(db.Profiles().empty());

    // Within one script the manufacturer line wins over a driver, catch-all and ignored line of the
    // same name; across scripts the one loaded first wins.
    CHECK(Load(db, "[Unx_Ignore]\nSame,I\n[Unz_CatchAll]\nsame,C\n[UnPrinterDrivers]\nSAME,D\n"
                   "[UnPrinterMfgs]\nsame,M=x,5\n",
               "C:\\A\\Qunz__01.unm"));
    CHECK(Load(db, "[UnPrinterMfgs]\nsame,Later\nAnother,P\n", "C:\\B\\Qunz__01.unm"));
    REQUIRE(db.Profiles().size() == 2);
    CHECK(std::string(db.Profiles()[0].name.Text()) == "Another");
    const UninstallProfile& same = db.Profiles()[1];
    CHECK(same.isManufacturer == 1);
    CHECK(std::string(same.sectionPrefix.Text()) == "M=x");  // manufacturer lines keep "=" and value
    CHECK(same.number == 5);
    CHECK(std::string(same.scriptPath.Text()) == "C:\\A\\Qunz__01.unm");
    CHECK(same.Drivers.IsEmpty());

    // Driver lines are their key alone, and the driver is its own entry.
    UninstallDatabase drivers(kNT);
    CHECK(Load(drivers, "[UnPrinterDrivers]\n\"Drv X\",P=ignored,3\n[Unx_Ignore]\nIgn,Q\n", "c.unm"));
    UninstallProfile found;
    REQUIRE(drivers.FindProfileByName(found, "drv x"));
    CHECK(std::string(found.sectionPrefix.Text()) == "P");
    CHECK(found.number == 0);
    CHECK(Join(found.Drivers) == "Drv X|");
    REQUIRE(drivers.FindProfileByName(found, "IGN"));
    CHECK(found.isIgnore == 1);
    CHECK_FALSE(drivers.FindProfileByName(found, "none"));
    CHECK(found.name.IsEmpty());
}

TEST_CASE("database: starter lines beyond 260 bytes are left out") {
    std::string text = "[UnPrinterDrivers]\n";
    for (int i = 10; i < 40; ++i) text += "Driver" + std::to_string(i) + ",P\n";  // 11 bytes each
    UninstallDatabase db(kNT);
    CHECK(Load(db, text, "s.unm"));
    CHECK(db.Profiles().size() == 23);  // 23 * 11 = 253 < 260
}

TEST_CASE("database: a stray \"=\" line hides nothing that follows it") {
    // A line "=" is an entry with an empty key and value; copied as an empty text it would end the
    // multi-string, and every later profile or entry of its section would be lost.
    const char* const script =
        "[UnPrinterMfgs]\n=\nQuellan,MFG\n"
        "[UnPrinterDrivers]\nQuellan 100 PS,Q100\n=\n= ; only a comment\nQuellan 200 PS,Q200\n"
        "[Unx_Ignore]\n=\nQuellan Fax,FAX\n"
        "[MFG.Files]\n=\nqlmfg.dll\n"
        "[Q100.Files]\nq100.dll\n=\nshared.dll\n"
        "[Q200.Files]\n=\nq200.dll\nshared.dll\n";
    UninstallDatabase db(kNT);
    REQUIRE(Load(db, script, "C:\\WINDOWS\\Qunz__01.unm"));
    std::string names;
    for (const UninstallProfile& profile : db.Profiles()) names += std::string(profile.name.Text()) + "|";
    CHECK(names == "Quellan|Quellan 100 PS|Quellan 200 PS|Quellan Fax|");
    UninstallProfile found;
    REQUIRE(db.FindProfileByName(found, "Quellan 100 PS"));
    CHECK(Join(found.Files) == "q100.dll|shared.dll|");
    REQUIRE(db.FindProfileByName(found, "Quellan 200 PS"));
    CHECK(Join(found.Files) == "q200.dll|shared.dll|");
    REQUIRE(db.FindProfileByName(found, "Quellan"));
    CHECK(Join(found.Files) == "qlmfg.dll|");

    // A printer kept on the second driver still protects the file it shares with the first.
    db.Printers().push_back(Printer("Laser 100", "Quellan 100 PS", 0));
    db.Printers().push_back(Printer("Laser 200", "Quellan 200 PS", 1));
    REQUIRE(db.BuildCandidates(false));
    db.ComputeRemovalSet();
    CHECK(Join(db.Removal().Files) == "q100.dll|qlmfg.dll|");
}

TEST_CASE("database: candidates and the Vizora rule") {
    Machine m;
    const UninstallProfile& c = m.db.Candidate();
    // Ignored profiles are no candidates, the Vizora profile is taken out again.
    CHECK(Join(c.Files) == "generic.dll|q100.dll|q200.dll|qlmfg.dll|shared.dll|");
    CHECK(Join(c.Drivers) == "Quellan 100 PS|Quellan 200 PS|Quellan Generic|");

    Machine unviz(true);
    CHECK(Join(unviz.db.Candidate().Files) == "viz.dll|VIZORA32.EXE|");
    CHECK(Join(unviz.db.Candidate().Drivers) == "Vizora|");

    CCmdSwitches switches;
    switches.Parse("quinst01.exe -unviz");
    CHECK(m.db.BuildCandidates(switches));
    CHECK(Join(m.db.Candidate().Drivers) == "Vizora|");

    UninstallDatabase empty(kNT);
    UninstallProfile candidate;
    CHECK_FALSE(empty.BuildCandidates(candidate, false));
    UninstallDatabase ignoredOnly(kNT);
    CHECK(Load(ignoredOnly, "[Unx_Ignore]\nFax,F\n[F.Files]\nfax.dll\n", "i.unm"));
    CHECK_FALSE(ignoredOnly.BuildCandidates(false));
    ignoredOnly.Printers().push_back(Printer("Fax", "Fax", 0));
    ignoredOnly.ComputeRemovalSet();
    CHECK(Join(ignoredOnly.Keep().Files) == "fax.dll|");
    CHECK(ignoredOnly.Removal().Files.Find("fax.dll") < 0);
}

TEST_CASE("database: matching printers to profiles") {
    Machine m;
    UninstallProfile p;
    CHECK(m.db.FindManufacturerProfile(p, "QUELLAN 999 XL"));
    CHECK(std::string(p.name.Text()) == "Quellan");
    CHECK(m.db.FindManufacturerProfile(p, "quellan"));
    CHECK_FALSE(m.db.FindManufacturerProfile(p, "QuellanX 999"));
    CHECK_FALSE(m.db.FindManufacturerProfile(p, "Quellan100 PS"));
    CHECK(p.name.IsEmpty());

    // Of several manufacturer profiles with the same first word the last in list order is used, and
    // a printer whose driver has a profile of its own uses that one.
    UninstallDatabase db(kNT);
    CHECK(Load(db, "[UnPrinterMfgs]\nAcme Corp,A\nAcme Inc,B\nAcme,C\n[UnPrinterDrivers]\nAcme 5,D\n"
                   "[A.Files]\na.dll\n[B.Files]\nb.dll\n[C.Files]\nc.dll\n[D.Files]\nd.dll\n",
               "x.unm"));
    CHECK(db.FindManufacturerProfile(p, "Acme 9"));
    CHECK(std::string(p.name.Text()) == "Acme Inc");
    db.BuildCandidates(false);
    db.Printers().push_back(Printer("keep mfg", "ACME 9", 1));
    db.Printers().push_back(Printer("keep own", "acme 5", 1));
    db.Printers().push_back(Printer("gone", "Acme 7", 0));
    db.ComputeRemovalSet();
    CHECK(Join(db.Keep().Files) == "b.dll|d.dll|");
    CHECK(Join(db.Removal().Files) == "a.dll|c.dll|");
}

TEST_CASE("database: kept printers protect what they share with removed ones") {
    Machine m;
    auto& printers = m.db.Printers();
    printers.push_back(Printer("P100", "Quellan 100 PS", 0));
    printers.push_back(Printer("P200", "Quellan 200 PS", 1));
    printers.push_back(Printer("Other", "Foreign Driver", 0));
    printers.back().isForeign = 1;
    printers.push_back(Printer("Unknown", "Quellanish", 0));  // no profile: counted, adds nothing
    CHECK(m.db.ComputeRemovalSet());
    CHECK(m.db.RemovedPrinterCount() == 2);
    CHECK(m.db.RemainingPrinterCount() == 1);
    CHECK(Join(m.db.Removal().Files) == "q100.dll|qlmfg.dll|");
    CHECK(m.db.Removal().Monitors.IsEmpty());
    CHECK(Join(m.db.Removal().Drivers) == "Quellan 100 PS|");
    CHECK(m.db.Removal().RegistryKeys.IsEmpty());  // a printer stays: no global clean-up
    CHECK(m.db.VizoraKept() == 1);
    // Catch-all and ignored profiles always stay.
    CHECK(m.db.Keep().Files.Contains("generic.dll"));
    CHECK(m.db.Keep().Files.Contains("fax.dll"));

    // Both printers selected: everything of theirs goes.
    printers[1].excluded = 0;
    m.db.ComputeRemovalSet();
    CHECK(m.db.RemainingPrinterCount() == 0);
    CHECK(m.db.Removal().Files.Contains("shared.dll"));
    CHECK(Join(m.db.Removal().Monitors) == "Quellan Port|");
}

TEST_CASE("database: with no printer left the global clean-up joins, and leaves again") {
    Machine m;
    m.db.Printers().push_back(Printer("P100", "Quellan 100 PS", 0));
    m.db.Printers().push_back(Printer("P200", "Quellan 200 PS", 0));
    m.db.ComputeRemovalSet();
    CHECK(m.db.RemovedPrinterCount() == 2);
    const UninstallProfile& r = m.db.Removal();
    CHECK(Join(r.Files) ==
          "q100.dll|q200.dll|qlmfg.dll|Qunz__01.unm|shared.dll|viz.dll|VIZORA32.EXE|");
    CHECK(Join(r.RegistryKeys) ==
          "HKLM,\"SOFTWARE\\TOVARI QUELLAN\",\"\",0|"
          "HKLM,\"SOFTWARE\\TOVARI QUELLAN\\Filters\",\"\",1|"
          "HKLM,\"SOFTWARE\\TOVARI QUELLAN\\OEM01\",\"\",1|"
          "HKLM,\"SOFTWARE\\TOVARI QUELLAN\\QSR32_01\",\"\",1|");
    CHECK(m.db.VizoraKept() == 0);
    CHECK(m.db.Candidate().RegistryKeys.IsEmpty());  // the candidate profile stays as it was
    CHECK_FALSE(m.db.Candidate().Files.Contains("viz.dll"));

    m.db.Printers()[1].excluded = 1;
    m.db.ComputeRemovalSet();
    CHECK(m.db.Removal().RegistryKeys.IsEmpty());
    CHECK_FALSE(m.db.Removal().Files.Contains("Qunz__01.unm"));
    CHECK(m.db.VizoraKept() == 1);
}

TEST_CASE("database: Vizored printers go with the printer they stand for") {
    Machine m;
    auto& printers = m.db.Printers();
    printers.push_back(Printer("Viz of kept", "Vizora", 1, "P200"));  // its printer stays
    printers.push_back(Printer("P100", "Quellan 100 PS", 0));
    printers.push_back(Printer("Viz of P100", "Vizora", 1, "p100"));
    printers.push_back(Printer("Viz of Viz", "Vizora", 1, "Viz of P100"));
    printers.push_back(Printer("P200", "Quellan 200 PS", 1));
    m.db.ComputeRemovalSet();
    CHECK(printers[2].excluded == 0);
    CHECK(printers[3].excluded == 0);  // released by a printer released before it
    CHECK(printers[0].excluded == 1);
    CHECK(m.db.RemovedPrinterCount() == 3);
    CHECK(m.db.RemainingPrinterCount() == 2);
}

TEST_CASE("database: UNVIZ makes the Vizora profile the only candidate") {
    Machine m(true);
    m.db.Printers().push_back(Printer("V", "Vizora", 0, "X"));
    m.db.Printers().push_back(Printer("P", "Quellan 100 PS", 1));
    m.db.ComputeRemovalSet();
    CHECK(Join(m.db.Removal().Files) == "viz.dll|VIZORA32.EXE|");
    CHECK(m.db.VizoraKept() == 0);
    m.db.Printers()[1].excluded = 0;
    m.db.ComputeRemovalSet();
    CHECK(Join(m.db.Removal().Files) == "Qunz__01.unm|viz.dll|VIZORA32.EXE|");
}

TEST_CASE("database: the Vizora program name follows the platform") {
    UninstallDatabase win32s(1);
    CHECK(std::string(win32s.VizoraProgramName()) == "VIZORA.EXE");
    CHECK(win32s.IsWin9x() == 0);
    UninstallDatabase win9x(2);
    CHECK(std::string(win9x.VizoraProgramName()) == "VIZORA32.EXE");
    CHECK(win9x.IsWin9x() == 1);
    CHECK(Load(win32s, kScript, "s.unm"));
    win32s.BuildCandidates(false);
    win32s.ComputeRemovalSet();  // no printers at all: nothing stays
    CHECK(win32s.Removal().Files.Contains("VIZORA32.EXE"));
    CHECK(win32s.VizoraKept() == 1);
}

TEST_CASE("database: registry entries and selectable printers") {
    UninstallProfile p;
    CHECK(UninstallDatabase::AddRegistryEntry(p, kRootCurrentUser, "Software\\X", "Val", 0));
    CHECK(UninstallDatabase::AddRegistryEntry(p, kRootUsers, "S", nullptr, 1));
    CHECK(UninstallDatabase::AddRegistryEntry(p, kRootClassesRoot, "A", "", 1));
    CHECK_FALSE(UninstallDatabase::AddRegistryEntry(p, 7, "S", "", 1));
    CHECK_FALSE(UninstallDatabase::AddRegistryEntry(p, kRootLocalMachine, "", "", 1));
    CHECK_FALSE(UninstallDatabase::AddRegistryEntry(p, kRootLocalMachine, nullptr, "", 1));
    // An entry longer than one text is refused: cut, it would name another value.
    std::string longKey(240, 'k');
    CHECK_FALSE(UninstallDatabase::AddRegistryEntry(p, kRootLocalMachine, longKey.c_str(), "ValueName", 0));
    // A quote of its own would end a field early: 'Printers\A","B' would read as key A, value B.
    CHECK_FALSE(UninstallDatabase::AddRegistryEntry(p, kRootLocalMachine, "Printers\\A\",\"B", "", 1));
    CHECK_FALSE(UninstallDatabase::AddRegistryEntry(p, kRootLocalMachine, "Printers\\A", "say \"hi\"", 0));
    CHECK(Join(p.RegistryKeys) == "HKCU,\"Software\\X\",\"Val\",0|HKU,\"S\",\"\",1|HKCR,\"A\",\"\",1|");

    UninstallDatabase db(kNT);
    CHECK(db.CountSelectablePrinters() == 0);
    db.Printers().push_back(Printer("a", "d", 0));
    db.Printers().push_back(Printer("b", "d", 1));
    db.Printers().push_back(Printer("c", "d", 0));
    db.Printers()[1].offered = 0;
    db.Printers()[2].deleted = 1;
    CHECK(db.CountSelectablePrinters() == 1);
}
