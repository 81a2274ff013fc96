// The printer census against Wine's own spooler, with printers added through the spooler API.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>
#include <winspool.h>

#include <string>

#include "shell/CmdSwitches.h"
#include "shell/OSInfo.h"
#include "shell/PrinterCensus.h"
#include "TestPrinters.h"

namespace {
const char kMakerDriver[] = "Quellan Laser 5";
const char kOtherDriver[] = "Other Maker 100";
// Commas, quotes, and letters of code page 1252 (E9) and of 1251 (CF F0 E8 ED F2 E5 F0, a Cyrillic
// word) in a printer name.
const char kForeign[] = "QU Foreign, \"Caf\xe9\" \xcf\xf0\xe8\xed\xf2\xe5\xf0";

void SetText(HANDLE printer, const char* value, const char* text) {
    REQUIRE(SetPrinterDataA(printer, const_cast<char*>(value), REG_SZ,
                            reinterpret_cast<BYTE*>(const_cast<char*>(text)),
                            static_cast<DWORD>(strlen(text) + 1)) == ERROR_SUCCESS);
}

void SetBytes(HANDLE printer, const char* value, DWORD type, const std::string& bytes) {
    REQUIRE(SetPrinterDataA(printer, const_cast<char*>(value), type,
                            reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                            static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS);
}

void MarkDefaultByAttribute(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterA(printer, 2, NULL, 0, &needed);
    std::string buffer(needed, '\0');
    REQUIRE(GetPrinterA(printer, 2, reinterpret_cast<BYTE*>(&buffer[0]), needed, &needed));
    PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(&buffer[0]);
    info->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    REQUIRE(SetPrinterA(printer, 2, reinterpret_cast<BYTE*>(info), 0));
}

// The machine of these tests: the maker's printer (marker value), a Vizored printer of another
// driver, a foreign printer with a number as its Vizored value, one marked default by its attribute
// and by a marker too long for the buffer, two with over-long names in their Vizored value, and one
// whose name holds a backslash, which Wine lists without a name.
void SetUpPrinters() {
    static bool done = false;
    if (done) return;
    done = true;
    AddTestDriver(kMakerDriver);
    AddTestDriver(kOtherDriver);
    HANDLE p = AddTestPrinter("QU Maker One", kMakerDriver);
    SetText(p, "QuellanDriver01", "1");
    ClosePrinter(p);
    p = AddTestPrinter("QU Vizored", kOtherDriver);
    SetText(p, "VizPrinter", "QU Maker One");
    ClosePrinter(p);
    p = AddTestPrinter(kForeign, kOtherDriver);
    SetBytes(p, "VizPrinter", REG_DWORD, std::string("QU1", 4));  // read as a text: "QU1"
    ClosePrinter(p);
    p = AddTestPrinter("QU Default Attr", kOtherDriver);
    SetBytes(p, "QuellanDriver01", REG_BINARY, std::string(300, '1'));
    MarkDefaultByAttribute(p);
    ClosePrinter(p);
    // A text that fills the whole 256-byte buffer with its terminating NUL, and one too large.
    p = AddTestPrinter("QU Viz Full", kOtherDriver);
    SetText(p, "VizPrinter", std::string(255, 'V').c_str());
    ClosePrinter(p);
    p = AddTestPrinter("QU Viz Oversize", kOtherDriver);
    SetBytes(p, "VizPrinter", REG_SZ, std::string(300, 'W'));
    ClosePrinter(p);
    p = AddTestPrinter("QU Back\\Slash", kMakerDriver);
    SetText(p, "QuellanDriver01", "1");
    ClosePrinter(p);
}

struct Census {
    std::vector<InstalledPrinter> list;
    int result = 0;
    int spoolerDown = 0;
    const InstalledPrinter* Find(const char* name) const {
        for (const InstalledPrinter& p : list)
            if (strcmp(p.name.Text(), name) == 0) return &p;
        return nullptr;
    }
};

Census Take(const char* commandLine = "quinst01.exe") {
    SetUpPrinters();
    CCmdSwitches switches;
    switches.Parse(commandLine);
    Census census;
    census.result = BuildListOfInstalledPrinters(census.list, COSInfo(), switches,
                                                 [&census] { ++census.spoolerDown; });
    return census;
}

void SetDefaultDevice(const char* device) {
    REQUIRE(WriteProfileStringA("windows", "device", device));
}
}  // namespace

TEST_CASE("a machine without printers gives 0 without a message") {
    std::vector<InstalledPrinter> list;
    CCmdSwitches switches;
    int spoolerDown = 0;
    CHECK(BuildListOfInstalledPrinters(list, COSInfo(), switches, [&] { ++spoolerDown; }) == 0);
    CHECK(list.empty());
    CHECK(spoolerDown == 0);
}

TEST_CASE("every printer gets a record with the maker's marks") {
    SetDefaultDevice("QU Maker One,winspool,LPT1:");
    Census census = Take();
    COSInfo os;
    REQUIRE(census.result == 6);
    REQUIRE(census.list.size() == 6);
    CHECK(census.spoolerDown == 0);
    // Wine lists its printers in name order; the census keeps that order.
    CHECK(std::string(census.list[0].name.Text()) == "QU Default Attr");
    CHECK(std::string(census.list[5].name.Text()) == "QU Vizored");

    const InstalledPrinter* maker = census.Find("QU Maker One");
    REQUIRE(maker);
    CHECK(std::string(maker->driver.Text()) == kMakerDriver);
    CHECK(maker->isSpoolara == 1);
    CHECK(maker->isForeign == 0);
    CHECK(maker->vizoredName.IsEmpty());
    CHECK(maker->location.IsEmpty());
    CHECK(maker->offered == 1);
    CHECK(maker->excluded == 0);
    CHECK(maker->deleted == 0);

    const InstalledPrinter* vizored = census.Find("QU Vizored");
    REQUIRE(vizored);
    CHECK(std::string(vizored->vizoredName.Text()) == "QU Maker One");
    CHECK(vizored->isForeign == 0);
    CHECK(vizored->isSpoolara == (os.IsWin32s() ? 1 : 0));

    // A number is no printer's name: the printer stays another maker's.
    const InstalledPrinter* foreign = census.Find(kForeign);
    REQUIRE(foreign);
    CHECK(foreign->vizoredName.IsEmpty());
    CHECK(foreign->isForeign == (os.IsWin32s() ? 0 : 1));
    CHECK(foreign->offered == 1);

    // The marker counts whatever its size.
    CHECK(census.Find("QU Default Attr")->isSpoolara == 1);

    // The buffer edge: 256 bytes are read whole, a larger value not at all.
    const InstalledPrinter* full = census.Find("QU Viz Full");
    REQUIRE(full);
    CHECK(std::string(full->vizoredName.Text()) == std::string(255, 'V'));
    const InstalledPrinter* oversize = census.Find("QU Viz Oversize");
    REQUIRE(oversize);
    CHECK(oversize->vizoredName.IsEmpty());
}

TEST_CASE("the default printer is found by attribute and by the exact win.ini name") {
    SUBCASE("win.ini names a printer exactly") {
        SetDefaultDevice("QU Maker One,winspool,LPT1:");
        Census census = Take();
        CHECK(census.Find("QU Maker One")->isDefault == 1);
        CHECK(census.Find("QU Default Attr")->isDefault == 1);
        CHECK(census.Find(kForeign)->isDefault == 0);
    }
    SUBCASE("a name that differs only in case does not count") {
        SetDefaultDevice("qu maker one,winspool,LPT1:");
        Census census = Take();
        CHECK(census.Find("QU Maker One")->isDefault == 0);
        CHECK(census.Find("QU Default Attr")->isDefault == 1);
    }
    SUBCASE("the name alone, without driver and port") {
        SetDefaultDevice("QU Vizored");
        Census census = Take();
        CHECK(census.Find("QU Vizored")->isDefault == 1);
    }
    SUBCASE("a name with commas of its own") {
        SetDefaultDevice((std::string(kForeign) + ",winspool,LPT1:").c_str());
        Census census = Take();
        CHECK(census.Find(kForeign)->isDefault == 1);
        CHECK(census.Find("QU Maker One")->isDefault == 0);
    }
}

TEST_CASE("the switches filter the offered printers, and records are appended to the list") {
    struct Row {
        const char* commandLine;
        const char* offered;  // first letters of the offered printers' names after "QU ", in list order
    };
    const Row rows[] = {
        {"quinst01.exe", "D F M V V V"},
        {"quinst01.exe /NOPICK", "D F M V V V"},
        {"quinst01.exe /MFG:Quellan", "M"},
        {"quinst01.exe /MFG:\"other maker\"", "D F V V V"},
        {"quinst01.exe /MFG:", "D F M V V V"},
        {"quinst01.exe /MFG", ""},
        {"quinst01.exe /PRN:\"Quellan Laser 5\"", "M"},
        {"quinst01.exe /PRN:Quellan", ""},
        {"quinst01.exe -UNVIZ", "V V"},
        {"quinst01.exe -UNVIZ /MFG:Quellan", ""},
        {"quinst01.exe -UNVIZ /PRN:\"Other Maker 100\"", "V V"},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.commandLine));
        Census census = Take(row.commandLine);
        std::string offered;
        for (const InstalledPrinter& p : census.list) {
            CHECK(p.offered == 1 - p.excluded);
            if (p.offered) offered += std::string(offered.empty() ? "" : " ") + p.name.Text()[3];
        }
        CHECK(offered == row.offered);
    }

    SetUpPrinters();
    std::vector<InstalledPrinter> list(1);
    list[0].name.Assign("kept from before");
    CCmdSwitches none;
    CHECK(BuildListOfInstalledPrinters(list, COSInfo(), none, [] {}) == 6);
    CHECK(list.size() == 7);
    CHECK(std::string(list[0].name.Text()) == "kept from before");
}

TEST_CASE("the diagnostic text of a failure is bounded") {
    QuickExceptionInfo info = {1722, "GetPrinter", "unable to GetPrinter level 2 data", "hPrinter", 42, "Buffer", 136};
    char text[256];
    FormatCensusFailure(info, text, sizeof text);
    CHECK(std::string(text) ==
          "CLoadingDlg::BuildListOfInstalledPrinters failed \nFunction: GetPrinter \nLast Error Code: 1722 \n"
          "Desc: unable to GetPrinter level 2 data \nhPrinter: 42 \nBuffer: 136");
    info.secondLabel = nullptr;
    char small[40];
    FormatCensusFailure(info, small, sizeof small);
    CHECK(strlen(small) == sizeof small - 1);
}
