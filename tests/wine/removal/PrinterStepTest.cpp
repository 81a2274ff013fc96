// The printer step and the default printer on Wine's spooler, with the strict library for what
// Wine's spooler cannot show (job queues, connections, refused deletions).
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "RemovalTestSupport.h"
#include "shell/OSInfo.h"
#include "spooler/DefaultPrinter.h"
#include "spooler/PrinterRemoval.h"
#include "system/EntryFields.h"

namespace {
const char kDriver[] = "Quellan Laser 5";

void AddPrinter(const char* name) {
    static bool driver = false;
    if (!driver) AddTestDriver(kDriver);
    driver = true;
    ClosePrinter(AddTestPrinter(name, kDriver));
}

bool PrinterExists(const char* name) {
    HANDLE h = NULL;
    if (!OpenPrinterA(const_cast<char*>(name), &h, NULL)) return false;
    ClosePrinter(h);
    return true;
}

std::string DeviceValue() {
    char value[512] = "";
    GetProfileStringA("windows", "device", "", value, sizeof value);
    return value;
}

// Records WM_WININICHANGE broadcasts: "0" for a null lParam, else the text it points to.
struct BroadcastWatcher {
    static std::vector<std::string>& Seen() {
        static std::vector<std::string> seen;
        return seen;
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_WININICHANGE) {
            // Wine hands a broadcast's text to a Unicode window as the sender wrote it, unconverted
            // (and to an ANSI window mangled); take it as either form.
            std::string text = "0";
            const char* bytes = reinterpret_cast<const char*>(lParam);
            if (bytes && bytes[0] && !bytes[1]) {
                text.clear();
                for (const wchar_t* c = reinterpret_cast<const wchar_t*>(lParam); *c; ++c)
                    text += static_cast<char>(*c);
            } else if (bytes) {
                text = bytes;
            }
            Seen().push_back(text);
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    BroadcastWatcher() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = L"QuBroadcastWatcher";
        RegisterClassW(&wc);
        window = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, wc.hInstance, NULL);
        REQUIRE(window);
        Seen().clear();
    }
    ~BroadcastWatcher() { DestroyWindow(window); }
    HWND window;
};
}  // namespace

TEST_CASE("a queue of 150 jobs loses its first 100, cancelled then deleted, before the printer goes") {
    AddPrinter("Job Queue");
    ConfigureStrict("[Jobs]\nJob Queue=150\n");
    Removal removal;
    removal.Add("Job Queue", kDriver);
    RemovePrintersStep(removal.ctx);

    std::vector<std::string> calls = JournalLines({"printer=\"Job Queue\""});
    std::vector<std::string> jobCalls;
    size_t deleteAt = 0, lastJobAt = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].rfind("EnumJobsA", 0) == 0)
            CHECK(calls[i].find("first=0 count=100 level=1") != std::string::npos);
        if (calls[i].rfind("SetJobA", 0) == 0) {
            jobCalls.push_back(calls[i]);
            lastJobAt = i;
        }
        if (calls[i].rfind("DeletePrinter ", 0) == 0) deleteAt = i;
    }
    REQUIRE(jobCalls.size() == 200);
    for (size_t i = 0; i < jobCalls.size(); ++i) {
        std::string expected = "job=" + std::to_string(i / 2 + 1) + " level=0 command=" + (i % 2 ? "5" : "3");
        CHECK(jobCalls[i].find(expected) != std::string::npos);
    }
    CHECK(lastJobAt < deleteAt);
    CHECK(removal.log.Find("job", "Job Queue")->detail == "100 jobs");
    CHECK(removal.db.Printers()[0].deleted == 1);
    CHECK_FALSE(PrinterExists("Job Queue"));
}

TEST_CASE("UniqueID keys: subkeys go until one cannot; an id that names no key of its own touches nothing") {
    // HKCR must never be emptied: this canary shows it was not.
    CreateKey(HKEY_CLASSES_ROOT, "QuCanary\\Inside");
    const char kBareId[33] = "QQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQ";  // 32 bytes, no zero among them
    struct Case {
        const char* printer;
        const char* id;       // the value's data
        DWORD type, size;     // its type and size in bytes
        const char* subKeys;  // created under HKCR\id, separated by '|'
        const char* remains;  // left under HKCR\id afterwards; null: the key is gone
        bool touchesClasses;  // any HKCR call at all
    } cases[] = {
        {"Id Plain", "{QU-ID-1}", REG_SZ, 10, "a|b|c", nullptr, true},
        {"Id Nested", "{QU-ID-2}", REG_SZ, 10, "a|b\\deep|c", "b\\deep|c", true},
        {"Id Empty", "", REG_SZ, 1, "", nullptr, false},
        {"Id Unterminated", kBareId, REG_SZ, 32, "", nullptr, false},
        // The bytes of a number, which read as a text would name the key QU1.
        {"Id Number", "QU1", REG_DWORD, 4, "inside", nullptr, false},
        // A path reaches below another key: this one would take the canary's subkey.
        {"Id Path", "QuCanary\\Inside", REG_SZ, 16, "", nullptr, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.printer);
        AddPrinter(c.printer);
        SetUniqueId(c.printer, c.type, c.id, c.size);
        for (const std::string& subKey : Split(c.subKeys, '|'))
            CreateKey(HKEY_CLASSES_ROOT, std::string(c.id) + "\\" + subKey);
        ConfigureStrict("");
        Removal removal;
        removal.Add(c.printer, kDriver);
        RemovePrintersStep(removal.ctx);

        CHECK(JournalLines({"key=\"HKCR"}).empty() == !c.touchesClasses);
        CHECK(KeyExists(HKEY_CLASSES_ROOT, "QuCanary\\Inside"));
        if (!c.touchesClasses) {
            for (const std::string& subKey : Split(c.subKeys, '|'))
                CHECK(KeyExists(HKEY_CLASSES_ROOT, std::string(c.id) + "\\" + subKey));
            continue;
        }
        if (!c.remains) {
            CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, c.id));
            CHECK(removal.log.Find("uniqueid-key", c.id)->outcome == kOutcomeRemoved);
            continue;
        }
        // Windows 9x deletes a key with everything under it.
        if (COSInfo().IsWin9x()) {
            CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, c.id));
            continue;
        }
        CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string(c.id) + "\\a"));
        CHECK(KeyExists(HKEY_CLASSES_ROOT, std::string(c.id) + "\\b\\deep"));
        CHECK(KeyExists(HKEY_CLASSES_ROOT, std::string(c.id) + "\\c"));
        CHECK(removal.log.Find("uniqueid-key", c.id)->outcome == kOutcomeFailed);
        // The loop stopped at the first subkey it could not delete instead of asking for it again.
        CHECK(JournalLines({"RegDeleteKeyA", "subkey=\"b\""}).size() == 1);
    }
}

TEST_CASE("printers named with commas, quotes and code-page characters go with their traces") {
    // E9 FC: Western letters in code page 1252; CF F0 E8 ED F2 E5 F0: a Cyrillic word in 1251.
    const char* const names[] = {"Named, with commas", "Named \"in quotes\"", "Named \"odd", "Named \xe9\xfc",
                                 "Named \xcf\xf0\xe8\xed\xf2\xe5\xf0"};
    const char kSettings[] = "Printers\\Settings";
    ConfigureStrict("");
    Removal removal;
    for (const char* name : names) {
        AddPrinter(name);
        removal.Add(name, kDriver);
        SetText(HKEY_CURRENT_USER, kSettings, name, "x");
    }
    RemovePrintersStep(removal.ctx);

    COSInfo os;
    for (const char* name : names) {
        CAPTURE(name);
        CHECK_FALSE(PrinterExists(name));
        CHECK(removal.log.Find("printer", name)->outcome == kOutcomeRemoved);
        CHECK(ValueExists(HKEY_CURRENT_USER, kSettings, name) == !os.IsNT());
    }
    if (!os.IsWin9x()) return;
    // The registry step must read each queued key back as written; a quote would end a field early.
    std::vector<std::string> keys;
    for (const TextItem& entry : removal.db.Removal().RegistryKeys) {
        RegistryEntryFields fields;
        REQUIRE(SplitRegistryEntry(entry.Text(), fields));
        CHECK(fields.Form() == kRegistryTree);
        keys.push_back(fields.subKey.Text());
    }
    const std::string prefix = "System\\CurrentControlSet\\control\\Print\\Printers\\";
    std::vector<std::string> expected;
    for (const char* name : names) {
        if (strchr(name, '"')) {
            CHECK(removal.log.Find("registry-key", name)->detail ==
                  "the printer's name does not fit a registry entry");
            continue;
        }
        expected.push_back(prefix + name + "\\PrinterDriverData");
        expected.push_back(prefix + name);
    }
    CHECK(keys == expected);
}

TEST_CASE("connections are deleted by the connection call alone") {
    ConfigureStrict("[ServerPrinter]\nName=\\\\PRINTSRV\\Shared Laser\nDriver=Quellan Laser 5\n");
    Removal removal;
    InstalledPrinter& shared = removal.Add("\\\\PRINTSRV\\Shared Laser", kDriver);
    shared.location.Assign("\\\\PRINTSRV");
    removal.Add("\\\\PRINTSRV\\Unknown", kDriver).location.Assign("\\\\PRINTSRV");
    RemovePrintersStep(removal.ctx);

    CHECK(removal.db.Printers()[0].deleted == 1);
    CHECK(removal.db.Printers()[1].deleted == 0);
    CHECK(removal.log.Find("connection", "\\\\PRINTSRV\\Unknown")->error == ERROR_INVALID_PRINTER_NAME);
    CHECK(JournalLines({"DeletePrinterConnectionA"}).size() == 2);
    for (const char* call : {"OpenPrinterA", "EnumJobsA", "RegDeleteValueA", "RegOpenKeyA"})
        CHECK(JournalLines({call}).empty());
}

TEST_CASE("NT family: the printer's values under the four per-user keys go, also when the spooler lost it" *
          doctest::skip(!COSInfo().IsNT())) {
    const char* const keys[] = {"Printers\\DevModes2", "Printers\\Settings",
                                "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices",
                                "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts"};
    AddPrinter("Per User");
    AddPrinter("Per User Busy");
    for (const char* key : keys) {
        for (const char* name : {"Per User", "Ghost Printer", "Someone Else", "Per User Busy"})
            SetText(HKEY_CURRENT_USER, key, name, "x");
    }
    ConfigureStrict("[Fail]\nFunction=OpenPrinterA\nPrinter=Per User Busy\nError=1722\n");
    Removal removal;
    removal.Add("Per User", kDriver);
    removal.Add("Ghost Printer", kDriver);
    removal.Add("Per User Busy", kDriver);
    RemovePrintersStep(removal.ctx);

    for (const char* key : keys) {
        CAPTURE(key);
        CHECK_FALSE(ValueExists(HKEY_CURRENT_USER, key, "Per User"));
        CHECK_FALSE(ValueExists(HKEY_CURRENT_USER, key, "Ghost Printer"));
        CHECK(ValueExists(HKEY_CURRENT_USER, key, "Someone Else"));
        CHECK(ValueExists(HKEY_CURRENT_USER, key, "Per User Busy"));
    }
    // A printer the spooler does not know is taken as gone; one it cannot reach now stays.
    CHECK(removal.db.Printers()[1].deleted == 1);
    CHECK(removal.db.Printers()[2].deleted == 0);
    CHECK(removal.log.Find("printer", "Per User Busy")->outcome == kOutcomeFailed);
    CHECK(removal.log.Find("printer", "Per User Busy")->error == 1722);
    CHECK(removal.db.Removal().RegistryKeys.IsEmpty());
}

TEST_CASE(
    "Windows 9x: the two spooler keys of a printer that is gone are queued, not those of one that stays" *
    doctest::skip(!COSInfo().IsWin9x())) {
    AddPrinter("Nine Stuck");
    AddPrinter("Nine Busy");
    ConfigureStrict(
        "[Fail]\nFunction=DeletePrinter\nPrinter=Nine Stuck\nError=5\n"
        "[Fail]\nFunction=OpenPrinterA\nPrinter=Nine Busy\nError=1722\n");
    Removal removal;
    removal.Add("Nine Stuck", kDriver);
    removal.Add("Nine Ghost", kDriver);
    removal.Add("Nine Busy", kDriver);
    RemovePrintersStep(removal.ctx);

    CHECK(removal.db.Printers()[0].deleted == 0);
    // A printer the spooler cannot reach now, or would not delete, is left as it is, keys and all.
    CHECK(removal.db.Printers()[2].deleted == 0);
    CHECK(removal.log.Find("printer", "Nine Stuck")->error == ERROR_ACCESS_DENIED);
    std::string queued;
    for (const TextItem& entry : removal.db.Removal().RegistryKeys)
        queued += std::string(entry.Text()) + "\n";
    const std::string key = "HKLM,\"System\\CurrentControlSet\\control\\Print\\Printers\\";
    CHECK(queued == key + "Nine Ghost\\PrinterDriverData\",\"\",1\n" + key + "Nine Ghost\",\"\",1\n");
    CHECK(JournalLines({"RegDeleteValueA"}).empty());
}

TEST_CASE(
    "the default printer: the last printer that stays takes over, or the user hears that none is left") {
    struct Case {
        const char* printers;  // name:flags, flags d default, x excluded, f foreign
        const char* fail;      // strict configuration
        const char* notice;    // expected notice, "" none
        const char* newDefault;
    } cases[] = {
        {"Def Gone:d|Def Kept 1:x|Def Other Maker:f|Def Kept 2:x", "", "160 Def Kept 2", "Def Kept 2"},
        {"Def Alone 1:d|Def Alone 2:", "", "159", ""},
        {"Def Stuck:d|Def Keeper:x", "[Fail]\nFunction=DeletePrinter\nPrinter=Def Stuck\nError=5\n", "", ""},
        {"Def Gone 2:d|Def Refuses:x", "[Fail]\nFunction=OpenPrinterA\nPrinter=Def Refuses\nError=5\n",
         "157 Def Refuses", ""},
        // Selected too, but the spooler keeps it: it is still there to take over.
        {"Def Gone 3:d|Def Stuck 2:", "[Fail]\nFunction=DeletePrinter\nPrinter=Def Stuck 2\nError=5\n",
         "160 Def Stuck 2", "Def Stuck 2"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.printers);
        ConfigureStrict(c.fail);
        WriteProfileStringA("windows", "device", "Nobody,winspool,LPT9:");
        Removal removal;
        std::vector<int> wasDefault;
        for (const std::string& item : Split(c.printers, '|')) {
            std::string name = item.substr(0, item.find(':')), flags = item.substr(item.find(':') + 1);
            AddPrinter(name.c_str());
            InstalledPrinter& p = removal.Add(name.c_str(), kDriver, flags.find('x') != std::string::npos,
                                              flags.find('f') != std::string::npos);
            p.isDefault = flags.find('d') != std::string::npos;
            wasDefault.push_back(p.isDefault);
        }
        RemovePrintersStep(removal.ctx);

        CHECK(removal.prompts.shown ==
              (*c.notice ? std::vector<std::string>{c.notice} : std::vector<std::string>{}));
        for (size_t i = 0; i < removal.db.Printers().size(); ++i) {
            const InstalledPrinter& p = removal.db.Printers()[i];
            CHECK(p.isDefault == (*c.newDefault ? p.name.EqualsNoCase(c.newDefault) : wasDefault[i]));
        }
        if (*c.newDefault) CHECK(DeviceValue().rfind(std::string(c.newDefault) + ",winspool,", 0) == 0);
    }
}

TEST_CASE("MakeDefaultPrinter keeps the default where the Windows family keeps it") {
    COSInfo os;
    AddPrinter("Office Laser");
    ConfigureStrict("");
    WriteProfileStringA("windows", "device", "Before,winspool,LPT2:");
    BroadcastWatcher watcher;
    REQUIRE(MakeDefaultPrinter(os, "Office Laser") == 1);

    HANDLE h = NULL;
    REQUIRE(OpenPrinterA(const_cast<char*>("Office Laser"), &h, NULL));
    DWORD needed = 0;
    GetPrinterA(h, 2, NULL, 0, &needed);
    std::vector<BYTE> info(needed);
    REQUIRE(GetPrinterA(h, 2, info.data(), needed, &needed));
    ClosePrinter(h);
    CHECK((reinterpret_cast<PRINTER_INFO_2A*>(info.data())->Attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0);

    // Windows 9x keeps the default in the attribute alone and names the changed section.
    if (os.IsWin9x()) {
        CHECK(DeviceValue() == "Before,winspool,LPT2:");
        CHECK(BroadcastWatcher::Seen() == std::vector<std::string>{"windows"});
    } else {
        CHECK(DeviceValue() == (os.IsNT() ? "Office Laser,winspool,LPT1:" : "Office Laser,QUTEST,LPT1:"));
        CHECK(BroadcastWatcher::Seen() == std::vector<std::string>{"0"});
    }

    SUBCASE("a printer that does not exist changes and announces nothing") {
        BroadcastWatcher::Seen().clear();
        CHECK(MakeDefaultPrinter(os, "No Such Printer") == 0);
        CHECK(MakeDefaultPrinter(os, "") == 0);
        CHECK(BroadcastWatcher::Seen().empty());
    }
    SUBCASE("a device value beyond 255 characters is refused, not cut") {
        std::string longName(250, 'L');
        AddPrinter(longName.c_str());
        int result = MakeDefaultPrinter(os, longName.c_str());
        CHECK(result == (os.IsWin9x() ? 1 : 0));
        CHECK(DeviceValue().rfind("Office Laser,", 0) == (os.IsWin9x() ? std::string::npos : 0));
    }
    SUBCASE("on the NT family a printer the user may only use still becomes the default through WIN.INI") {
        ConfigureStrict("[Fail]\nFunction=OpenPrinterA\nPrinter=Office Laser\nError=5\nTimes=1\n");
        WriteProfileStringA("windows", "device", "Before,winspool,LPT2:");
        CHECK(MakeDefaultPrinter(os, "Office Laser") == (os.IsNT() ? 1 : 0));
        if (os.IsNT()) {
            CHECK(DeviceValue() == "Office Laser,winspool,LPT1:");
            CHECK(JournalLines({"OpenPrinterA", "access=8 "}).size() == 1);
            CHECK(JournalLines({"SetPrinterA"}).empty());
        }
    }
    SUBCASE("a default attribute that cannot be written is a failure on Windows 9x") {
        ConfigureStrict("[Fail]\nFunction=SetPrinterA\nPrinter=Office Laser\nError=5\n");
        CHECK(MakeDefaultPrinter(os, "Office Laser") == (os.IsWin9x() ? 0 : 1));
    }
}
