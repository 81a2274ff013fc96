// The census when the spooler fails, and with a print-server printer, through the strict test
// spooler library (its configuration and journal are files of this test).
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>
#include <winspool.h>

#include <fstream>
#include <sstream>
#include <string>

#include "shell/CmdSwitches.h"
#include "shell/OSInfo.h"
#include "shell/PrinterCensus.h"
#include "TestPrinters.h"

namespace {
const char kConfigPath[] = "C:\\census-strict.ini";
const char kJournalPath[] = "C:\\census-journal.txt";

// Two local printers; the failing one sorts last, so the one before it has a record already.
void SetUp() {
    static bool done = false;
    if (done) return;
    done = true;
    AddTestDriver("Quellan Laser 5");
    ClosePrinter(AddTestPrinter("QU Alpha", "Quellan Laser 5"));
    ClosePrinter(AddTestPrinter("QU Zed Broken", "Quellan Laser 5"));
    SetEnvironmentVariableA("QSPOOL_CONFIG", kConfigPath);
    SetEnvironmentVariableA("QSPOOL_JOURNAL", kJournalPath);
}

void Configure(const char* text) {
    SetUp();
    std::ofstream(kConfigPath, std::ios::trunc) << text;
    DeleteFileA(kJournalPath);
}

std::string Journal() { return ReadTextFile(kJournalPath); }

struct Census {
    std::vector<InstalledPrinter> list;
    int result = 0;
    int spoolerDown = 0;
    bool failed = false;
    QuickExceptionInfo failure = {};
};

Census Take() {
    CCmdSwitches switches;
    Census census;
    census.result = BuildListOfInstalledPrinters(
        census.list, COSInfo(), switches, [&census] { ++census.spoolerDown; }, &census.failed,
        &census.failure);
    return census;
}
}  // namespace

TEST_CASE("a spooler that does not answer is reported once and the census gives 0") {
    Configure("[Fail]\nFunction=EnumPrintersA\nError=1722\nTimes=1\n");
    Census census = Take();
    CHECK(census.result == 0);
    CHECK(census.list.empty());
    CHECK(census.spoolerDown == 1);

    // Only the first call was made to fail: the next census finds the printers.
    Census again = Take();
    CHECK(again.result == 2);
    CHECK(again.spoolerDown == 0);
}

TEST_CASE("any other failure of the sizing pass fails the census without a message") {
    Configure("[Fail]\nFunction=EnumPrintersA\nError=5\nTimes=1\n");
    Census census = Take();
    CHECK(census.result == 0);
    CHECK(census.spoolerDown == 0);
    CHECK(census.failed);
    CHECK(census.failure.lastError == 5);
}

// A printer the census cannot read may be the maker's and stay; taken for absent or foreign, it
// would leave its driver's files and the maker's keys looking unneeded. Only a printer deleted
// since the listing is left out.
TEST_CASE("a printer that cannot be read fails the census, one deleted since the listing is left out") {
    const struct {
        const char* fail;
        bool failed;
        int printers;
        const char* function;
    } rows[] = {
        {"Function=OpenPrinterA\nPrinter=QU Zed Broken\nError=5\n", true, 1, "OpenPrinter"},
        {"Function=OpenPrinterA\nPrinter=QU Zed Broken\nError=1801\n", false, 1, ""},
        {"Function=GetPrinterDataA\nPrinter=QU Zed Broken\nError=1722\n", true, 1, "GetPrinterData"},
        {"Function=GetPrinterDataA\nPrinter=QU Zed Broken\nError=2\n", false, 2, ""},
        {"Function=GetPrinterA\nPrinter=QU Alpha\nError=1722\n", true, 0, "GetPrinter"},
    };
    for (const auto& row : rows) {
        CAPTURE(row.fail);
        Configure((std::string("[Fail]\n") + row.fail).c_str());
        Census census = Take();
        CHECK(census.failed == row.failed);
        CHECK(census.list.size() == static_cast<size_t>(row.printers));
        if (row.failed) CHECK(std::string(census.failure.function) == row.function);
        CHECK(census.spoolerDown == 0);
    }
}

TEST_CASE("a connection whose server stops answering is left out, whichever call finds it out") {
    for (const char* function : {"OpenPrinterA", "GetPrinterDataA", "GetPrinterA"}) {
        CAPTURE(function);
        Configure((std::string("[ServerPrinter]\nName=\\\\PRINTSRV\\Shared Laser\nDriver=Quellan Laser 5\n"
                               "[Fail]\nFunction=") +
                   function + "\nPrinter=\\\\PRINTSRV\\Shared Laser\nError=1722\n")
                      .c_str());
        Census census = Take();
        CHECK_FALSE(census.failed);
        CHECK(census.list.size() == 2);
        for (const InstalledPrinter& p : census.list) CHECK(p.location.IsEmpty());
    }
}

TEST_CASE("a failed second enumeration pass gives 0 without records") {
    Configure("[Fail]\nFunction=EnumPrintersA\nError=6\nAfter=1\nTimes=1\n");
    Census census = Take();
    CHECK(census.result == 0);
    CHECK(census.list.empty());
    CHECK(census.spoolerDown == 0);
}

TEST_CASE("a level-2 failure keeps the records so far and closes the failing printer") {
    Configure("[Fail]\nFunction=GetPrinterA\nPrinter=QU Zed Broken\nLevel=2\nError=5\n");
    Census census = Take();
    CHECK(census.result == 0);
    REQUIRE(census.list.size() == 1);
    CHECK(std::string(census.list[0].name.Text()) == "QU Alpha");

    std::string journal = Journal();
    size_t opened = journal.find("OpenPrinterA name=\"QU Zed Broken\"");
    REQUIRE(opened != std::string::npos);
    CHECK(journal.find("ClosePrinter printer=\"QU Zed Broken\"", opened) != std::string::npos);
    // Every handle the census opened was closed again.
    size_t opens = 0, closes = 0;
    for (size_t at = journal.find("OpenPrinterA"); at != std::string::npos; at = journal.find("OpenPrinterA", at + 1))
        ++opens;
    for (size_t at = journal.find("ClosePrinter"); at != std::string::npos; at = journal.find("ClosePrinter", at + 1))
        ++closes;
    CHECK(opens == 2);
    CHECK(closes == opens);
}

TEST_CASE("a printer held by a print server gets the server as its location") {
    Configure("[ServerPrinter]\nName=\\\\PRINTSRV\\Shared Laser\nDriver=Quellan Laser 5\n"
              "Data.QuellanDriver01=1\n");
    Census census = Take();
    REQUIRE(census.result == 3);
    const InstalledPrinter* shared = nullptr;
    for (const InstalledPrinter& p : census.list) {
        if (p.location.IsEmpty()) continue;
        shared = &p;
    }
    REQUIRE(shared);
    CHECK(std::string(shared->location.Text()) == "\\\\PRINTSRV");
    CHECK(shared->isSpoolara == 1);
    CHECK(shared->isForeign == 0);
    for (const InstalledPrinter& p : census.list)
        if (&p != shared) CHECK(p.location.IsEmpty());
}
