// The driver, monitor and print-processor steps, and the dry run of all four spooler steps, on
// Wine's spooler with the strict library for drivers in use, refusals and processor removal.
#include <algorithm>
#include <set>

#include "RemovalTestSupport.h"
#include "shell/OSInfo.h"
#include "spooler/DriverRemoval.h"
#include "spooler/MonitorRemoval.h"
#include "spooler/PrinterRemoval.h"
#include "spooler/ProcessorRemoval.h"

namespace {
const std::string kMonitorsKey = "System\\CurrentControlSet\\control\\Print\\Monitors\\";

void AddPrinterOn(const char* name, const char* driver, const char* processor = nullptr,
                  const char* datatype = "RAW") {
    ClosePrinter(AddTestPrinter(name, driver));
    if (processor) REQUIRE(SetPrinterProcessor(name, processor, datatype));
}

bool DriverListed(const char* name) {
    DWORD needed = 0, count = 0;
    EnumPrinterDriversA(NULL, NULL, 2, NULL, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 4);
    if (!EnumPrinterDriversA(NULL, NULL, 2, buffer.data(), needed, &needed, &count)) return false;
    const DRIVER_INFO_2A* drivers = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (EqualsNoCase(drivers[i].pName, name)) return true;
    return false;
}

bool ProcessorListed(const char* name) {
    DWORD needed = 0, count = 0;
    EnumPrintProcessorsA(NULL, NULL, 1, NULL, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 4);
    if (!EnumPrintProcessorsA(NULL, NULL, 1, buffer.data(), needed, &needed, &count)) return false;
    const PRINTPROCESSOR_INFO_1A* listed = reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (EqualsNoCase(listed[i].pName, name)) return true;
    return false;
}

std::set<std::string> QueuedDriverKeys(const UninstallDatabase& db) {
    std::set<std::string> keys;
    for (const TextItem& entry : db.Removal().RegistryKeys)
        if (strstr(entry.Text(), "\\Drivers\\")) keys.insert(entry.Text());
    return keys;
}

std::set<std::string> DriverKeys(const COSInfo& os, const char* driver) {
    if (os.IsWin9x())
        return {
            std::string(
                "HKLM,\"System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Drivers\\") +
            driver + "\",\"\",1"};
    std::set<std::string> keys;
    for (int version = 0; version <= 3; ++version)
        keys.insert(
            "HKLM,\"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT "
            "x86\\Drivers\\Version-" +
            std::to_string(version) + "\\" + driver + "\",\"\",0");
    return keys;
}
}  // namespace

TEST_CASE(
    "drivers: what only leaving printers used goes with its keys; a driver still in use keeps its keys") {
    COSInfo os;
    for (const char* driver : {"Drv Solo", "Viz Color (PSCRIPT)", "Viz Mono (PSCRIPT)"}) AddTestDriver(driver);
    // The shared driver loads a second DLL and a resource file, and has a help file.
    DRIVER_INFO_3A sharedDriver = {};
    sharedDriver.cVersion = 3;
    sharedDriver.pName = const_cast<char*>("Drv Shared");
    sharedDriver.pDriverPath = const_cast<char*>("QUSHARED.DLL");
    sharedDriver.pDataFile = const_cast<char*>("QUSHARED.PPD");
    sharedDriver.pConfigFile = const_cast<char*>("QUSHUI.DLL");
    sharedDriver.pHelpFile = const_cast<char*>("QUSHARED.HLP");
    sharedDriver.pDependentFiles = const_cast<char*>("QUSHDEP.DLL\0QUSHRES.DAT\0");
    REQUIRE(AddPrinterDriverA(NULL, 3, reinterpret_cast<BYTE*>(&sharedDriver)));
    AddPrinterOn("Drv Leave", "Drv Shared");
    AddPrinterOn("Drv Stay", "Drv Shared");
    AddPrinterOn("Drv Solo Printer", "Drv Solo");
    AddPrinterOn("Viz Mono (PSCRIPT)", "Viz Mono (PSCRIPT)");
    ConfigureStrict("");

    // While the Vizora program stays, its "(PSCRIPT)" drivers stay too.
    Removal vizoraStays;
    RemoveDriversStep(vizoraStays.ctx, NULL);
    CHECK(JournalLines({"DeletePrinterDriverA"}).empty());

    Removal removal;
    const std::string script = "[UnPrinterDrivers]\nDrv Solo,SOLO,1\n[SOLO.Files]\nVIZORA32.EXE\n";
    REQUIRE(removal.db.LoadScriptText(script.data(), script.size(), "C:\\Qunz__01.unm"));
    REQUIRE(removal.db.BuildCandidates(false));
    removal.Add("Drv Leave", "Drv Shared");
    removal.Add("Drv Stay", "Drv Shared", 1);
    removal.Add("Drv Solo Printer", "Drv Solo");
    removal.db.ComputeRemovalSet();
    REQUIRE(removal.db.VizoraKept() == 0);
    // A script may name a driver that a printer which stays still uses, and its files.
    removal.db.Removal().Drivers.Append("Drv Shared");
    for (const char* file : {"QUSHARED.DLL", "QUSHUI.DLL", "QUSHARED.HLP", "QUSHDEP.DLL", "QUSHRES.DAT", "QUSOLO.DLL"})
        removal.db.Removal().Files.Append(file);
    RemovePrintersStep(removal.ctx);
    RemoveDriversStep(removal.ctx, NULL);
    // The kept driver keeps every file it loads.
    std::string left;
    for (const TextItem& file : removal.db.Removal().Files) left += std::string(file.Text()) + " ";
    CHECK(left == "VIZORA32.EXE QUSOLO.DLL ");

    CHECK_FALSE(DriverListed("Drv Solo"));
    CHECK_FALSE(DriverListed("Viz Color (PSCRIPT)"));
    CHECK(DriverListed("Drv Shared"));
    CHECK(DriverListed("Viz Mono (PSCRIPT)"));
    CHECK(JournalLines({"DeletePrinterDriverA", "\"Drv Shared\"", "err=3001"}).size() == 1);
    CHECK(JournalLines({"DeletePrinterDriverA", "\"Viz Mono (PSCRIPT)\""}).empty());
    const LoggedAction* shared = removal.log.Find("driver", "Drv Shared");
    REQUIRE(shared);
    CHECK(shared->outcome == kOutcomeKept);
    CHECK(shared->detail == "in use by Drv Stay");
    CHECK(shared->error == 3001);

    std::set<std::string> expected = DriverKeys(os, "Drv Solo");
    for (const std::string& key : DriverKeys(os, "Viz Color (PSCRIPT)")) expected.insert(key);
    CHECK(QueuedDriverKeys(removal.db) == expected);
}

TEST_CASE(
    "monitors: a listed one goes with its key, a refused one keeps its key, inbox ones are never asked") {
    SetText(HKEY_LOCAL_MACHINE, kMonitorsKey + "QU Port Monitor", "Driver", "quport.dll");
    SetText(HKEY_LOCAL_MACHINE, kMonitorsKey + "QU Busy Monitor", "Driver", "qubusy.dll");
    SetText(HKEY_LOCAL_MACHINE, kMonitorsKey + "USB Monitor", "Driver", "usbmon.dll");
    struct Case {
        const char* monitor;
        const char* strict;
        ActionOutcome outcome;
        bool keyStays;
        bool asked;
    } cases[] = {
        {"QU Port Monitor", "", kOutcomeRemoved, false, true},
        {"QU Busy Monitor", "[Fail]\nFunction=DeleteMonitorA\nError=3008\n", kOutcomeKept, true, true},
        {"QU Never Installed", "", kOutcomeNotPresent, false, true},
        {"Local Port", "", kOutcomeKept, true, false},
        {"usb monitor", "", kOutcomeKept, true, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.monitor);
        ConfigureStrict(c.strict);
        Removal removal;
        removal.db.Removal().Monitors.Append(c.monitor);
        RemoveMonitorsStep(removal.ctx, NULL, NULL);

        REQUIRE(removal.log.Find("monitor", c.monitor));
        CHECK(removal.log.Find("monitor", c.monitor)->outcome == c.outcome);
        CHECK(JournalLines({"DeleteMonitorA"}).size() == (c.asked ? 1u : 0u));
        CHECK(KeyExists(HKEY_LOCAL_MACHINE, kMonitorsKey + c.monitor) == c.keyStays);
    }
}

TEST_CASE(
    "print processors: printers move to WinPrint and RAW first; one that cannot be moved keeps its "
    "processor") {
    AddTestDriver("Proc Driver");
    for (const char* processor : {"QU Proc A", "QU Proc B", "QU Proc C"})
        REQUIRE(
            AddPrintProcessorA(NULL, NULL, const_cast<char*>("quproc.dll"), const_cast<char*>(processor)));
    // A datatype that only its own processor knows: WinPrint refuses it.
    AddPrinterOn("Proc One", "Proc Driver", "QU Proc A", "QU Proc A Job");
    AddPrinterOn("Proc Two", "Proc Driver", "QU Proc A");
    AddPrinterOn("Proc Three", "Proc Driver", "QU Proc B");
    ConfigureStrict("[Fail]\nFunction=SetPrinterA\nPrinter=Proc Three\nError=5\n");
    Removal removal;
    for (const char* processor : {"QU Proc A", "QU Proc B", "QU Proc C", "WinPrint"})
        removal.db.Removal().PrintProcessors.Append(processor);
    RemovePrintProcessorsStep(removal.ctx, NULL, NULL);

    for (const char* printer : {"Proc One", "Proc Two"}) {
        CAPTURE(printer);
        CHECK(PrinterText(printer, &PRINTER_INFO_2A::pPrintProcessor) == "WinPrint");
        CHECK(PrinterText(printer, &PRINTER_INFO_2A::pDatatype) == "RAW");
    }
    CHECK(PrinterText("Proc Three", &PRINTER_INFO_2A::pPrintProcessor) == "QU Proc B");
    CHECK_FALSE(ProcessorListed("QU Proc A"));
    CHECK(ProcessorListed("QU Proc B"));
    CHECK_FALSE(ProcessorListed("QU Proc C"));
    CHECK(removal.log.Find("processor", "QU Proc B")->detail == "in use by Proc Three");
    CHECK(removal.log.Find("processor", "winprint")->detail == "inbox component");
    CHECK(JournalLines({"DeletePrintProcessorA", "name=\"QU Proc B\""}).empty());
    CHECK(JournalLines({"DeletePrintProcessorA", "winprint"}).empty());
}

TEST_CASE("a dry run changes nothing and records what the removal then does") {
    AddTestDriver("Dry Shared");
    AddTestDriver("Dry Solo");
    REQUIRE(AddPrintProcessorA(NULL, NULL, const_cast<char*>("qudry.dll"), const_cast<char*>("QU Dry Proc")));
    AddPrinterOn("Dry Leave", "Dry Shared");
    AddPrinterOn("Dry Stay", "Dry Shared", "QU Dry Proc");
    AddPrinterOn("Dry Solo Printer", "Dry Solo", "QU Dry Proc");
    SetUniqueId("Dry Solo Printer", REG_SZ, "{QU-DRY}", 9);
    CreateKey(HKEY_CLASSES_ROOT, "{QU-DRY}\\sub");
    SetText(HKEY_LOCAL_MACHINE, kMonitorsKey + "QU Dry Monitor", "Driver", "qudry.dll");
    WriteProfileStringA("windows", "device", "Dry Leave,winspool,LPT1:");
    ConfigureStrict("[Jobs]\nDry Solo Printer=3\n");

    auto run = [](Removal& removal) {
        removal.Add("Dry Leave", "Dry Shared").isDefault = 1;
        removal.Add("Dry Stay", "Dry Shared", 1);
        removal.Add("Dry Solo Printer", "Dry Solo");
        removal.db.Removal().Drivers.Append("Dry Shared");
        removal.db.Removal().Monitors.Append("QU Dry Monitor");
        removal.db.Removal().Monitors.Append("Local Port");
        removal.db.Removal().PrintProcessors.Append("QU Dry Proc");
        RemovePrintersStep(removal.ctx);
        RemoveDriversStep(removal.ctx, NULL);
        RemoveMonitorsStep(removal.ctx, NULL, NULL);
        RemovePrintProcessorsStep(removal.ctx, NULL, NULL);
    };
    Removal dry(true);
    run(dry);
    for (const char* change : {"DeletePrinter", "SetJobA", "SetPrinterA", "DeleteMonitorA",
                               "DeletePrintProcessorA", "RegDeleteKeyA", "RegDeleteValueA"}) {
        CAPTURE(change);
        CHECK(JournalLines({change}).empty());
    }
    CHECK(dry.prompts.shown.empty());
    CHECK(dry.db.Printers()[0].deleted == 0);
    CHECK(dry.db.Printers()[0].isDefault == 1);
    CHECK(KeyExists(HKEY_CLASSES_ROOT, "{QU-DRY}\\sub"));

    Removal real;
    run(real);
    // Each object the dry run listed as present went, and each it listed as kept stayed; per-user
    // values may already have gone with their printer, so they are checked by looking.
    auto objects = [](const Removal& removal, bool dryRun) {
        std::set<std::string> listed;
        for (const LoggedAction& a : removal.log.actions) {
            if (a.outcome == kOutcomeNotPresent || a.outcome == kOutcomeFailed) continue;
            if (a.kind == "registry-value") {
                if (dryRun) CHECK_FALSE(ValueExists(HKEY_CURRENT_USER, a.scope.substr(5), a.object.c_str()));
                continue;
            }
            listed.insert(a.kind + " " + a.object + (a.outcome == kOutcomeKept ? " kept" : ""));
        }
        return listed;
    };
    std::set<std::string> planned = objects(dry, true);
    CHECK(planned == objects(real, false));
    for (const char* object :
         {"printer Dry Leave", "printer Dry Solo Printer", "job Dry Solo Printer", "uniqueid-key {QU-DRY}",
          "default-printer Dry Stay", "driver Dry Solo", "driver Dry Shared kept", "monitor QU Dry Monitor",
          "monitor Local Port kept", "printer-processor Dry Stay", "processor QU Dry Proc"}) {
        CAPTURE(object);
        CHECK(planned.count(object) == 1);
    }
}
