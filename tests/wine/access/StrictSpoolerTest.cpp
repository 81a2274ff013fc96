// The strict QSPOOL01.DLL that other tests run programs with: what it adds to Wine's spooler
// (queues, print-server printers, drivers in use, print-processor removal), the failures a test
// configures, and the journal of the calls it received. Runs in a fresh prefix: it adds printers.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>
#include <winspool.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
}

// Writes the strict library's configuration; the library starts its simulation again from it.
void Configure(const std::string& text) {
    static int generation = 0;
    std::string path = TempPath("qspool-strict.ini");
    SetEnvironmentVariableA("QSPOOL_CONFIG", path.c_str());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "; generation " << ++generation << "\n"
                                                            << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Printers, drivers and processors are set up through Wine's spooler directly, the way an
// installer would have left them; these functions are not bound through QSPOOL01.
template <typename F>
F Winspool(const char* name) {
    static HMODULE module = LoadLibraryA("winspool.drv");
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void AddDriver(const char* name) {
    auto add = Winspool<BOOL(WINAPI*)(LPSTR, DWORD, LPBYTE)>("AddPrinterDriverA");
    DRIVER_INFO_3A info = {};
    info.cVersion = 3;
    info.pName = const_cast<LPSTR>(name);
    info.pDriverPath = const_cast<LPSTR>("STRICTDRV.DLL");
    info.pDataFile = const_cast<LPSTR>("STRICTDRV.PPD");
    info.pConfigFile = const_cast<LPSTR>("STRICTDRV.DLL");
    REQUIRE(add(nullptr, 3, reinterpret_cast<LPBYTE>(&info)));
}

void AddPrinter(const char* name, const char* driver) {
    auto add = Winspool<HANDLE(WINAPI*)(LPSTR, DWORD, LPBYTE)>("AddPrinterA");
    auto close = Winspool<BOOL(WINAPI*)(HANDLE)>("ClosePrinter");
    PRINTER_INFO_2A info = {};
    info.pPrinterName = const_cast<LPSTR>(name);
    info.pPortName = const_cast<LPSTR>("FILE:");
    info.pDriverName = const_cast<LPSTR>(driver);
    info.pPrintProcessor = const_cast<LPSTR>("winprint");
    info.pDatatype = const_cast<LPSTR>("RAW");
    HANDLE printer = add(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    REQUIRE(printer != nullptr);
    close(printer);
}

HANDLE Open(const char* name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterA(const_cast<LPSTR>(name), &printer, &defaults)) return nullptr;
    return printer;
}

// The two-call pattern of the tool: size first, then a buffer of that size rounded up to 4.
std::vector<BYTE> ListPrinters(DWORD flags, DWORD level, DWORD* count) {
    DWORD needed = 0;
    *count = 0;
    if (EnumPrintersA(flags, nullptr, level, nullptr, 0, &needed, count) || needed == 0) return {};
    std::vector<BYTE> buffer((needed + 3) & ~3u);
    REQUIRE(EnumPrintersA(flags, nullptr, level, buffer.data(), static_cast<DWORD>(buffer.size()), &needed,
                          count));
    return buffer;
}

std::vector<JOB_INFO_1A> ListJobs(HANDLE printer, DWORD count, std::vector<BYTE>& buffer) {
    DWORD needed = 0, returned = 0;
    if (EnumJobsA(printer, 0, count, 1, nullptr, 0, &needed, &returned)) return {};
    CHECK(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
    buffer.assign((needed + 3) & ~3u, 0);
    REQUIRE(EnumJobsA(printer, 0, count, 1, buffer.data(), static_cast<DWORD>(buffer.size()), &needed,
                      &returned));
    const JOB_INFO_1A* jobs = reinterpret_cast<const JOB_INFO_1A*>(buffer.data());
    return std::vector<JOB_INFO_1A>(jobs, jobs + returned);
}

bool ProcessorListed(const char* name) {
    DWORD needed = 0, count = 0;
    if (EnumPrintProcessorsA(nullptr, nullptr, 1, nullptr, 0, &needed, &count) || needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    REQUIRE(EnumPrintProcessorsA(nullptr, nullptr, 1, buffer.data(), needed, &needed, &count));
    const PRINTPROCESSOR_INFO_1A* info = reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (lstrcmpiA(info[i].pName, name) == 0) return true;
    }
    return false;
}

const char kServerPrinter[] =
    "[ServerPrinter]\n"
    "Name=\\\\PRINTSRV\\Shared Laser\n"
    "Driver=Quellan Shared 5\n"
    "Port=IP_10.0.0.5\n"
    "Data.QuellanDriver01=1\n";

}  // namespace

TEST_CASE("a configured failure reaches the caller as often as configured") {
    SUBCASE("the spooler does not answer the first enumeration only") {
        Configure("[Fail]\nFunction=EnumPrintersA\nError=1722\nTimes=1\n");
        DWORD needed = 99, returned = 99;
        CHECK_FALSE(EnumPrintersA(6, nullptr, 4, nullptr, 0, &needed, &returned));
        CHECK(GetLastError() == 1722);
        CHECK(needed == 0);
        CHECK(returned == 0);
        BOOL ok = EnumPrintersA(6, nullptr, 4, nullptr, 0, &needed, &returned);
        CHECK((ok || GetLastError() == ERROR_INSUFFICIENT_BUFFER));
    }
    SUBCASE("one printer cannot be opened and one level cannot be read") {
        AddDriver("Strict Fail Driver");
        AddPrinter("Strict Closed", "Strict Fail Driver");
        AddPrinter("Strict Open", "Strict Fail Driver");
        Configure(
            "[Fail]\nFunction=OpenPrinterA\nPrinter=strict closed\nError=5\n"
            "[Fail]\nFunction=GetPrinterA\nLevel=2\nAfter=1\nError=1722\n");
        CHECK(Open("Strict Closed") == nullptr);
        CHECK(GetLastError() == ERROR_ACCESS_DENIED);
        HANDLE printer = Open("Strict Open");
        REQUIRE(printer != nullptr);
        DWORD needed = 0;
        CHECK_FALSE(GetPrinterA(printer, 2, nullptr, 0, &needed));
        CHECK(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
        std::vector<BYTE> buffer(needed);
        CHECK_FALSE(GetPrinterA(printer, 2, buffer.data(), needed, &needed));
        CHECK(GetLastError() == 1722);
        CHECK(GetPrinterA(printer, 4, nullptr, 0, &needed) == FALSE);
        CHECK(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
        ClosePrinter(printer);
    }
    SUBCASE("a registry function returns the configured code") {
        Configure("[Fail]\nFunction=RegOpenKeyExA\nError=5\nTimes=2\n");
        HKEY key = nullptr;
        CHECK(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key) == ERROR_ACCESS_DENIED);
        CHECK(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key) == ERROR_ACCESS_DENIED);
        REQUIRE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS);
        RegCloseKey(key);
    }
}

TEST_CASE("a printer's queue is listed and its jobs cancelled") {
    AddDriver("Strict Queue Driver");
    AddPrinter("Strict Queue", "Strict Queue Driver");
    AddPrinter("Strict Busy", "Strict Queue Driver");
    Configure("[Jobs]\nStrict Queue=3\nstrict busy=150\n");

    HANDLE printer = Open("Strict Queue");
    REQUIRE(printer != nullptr);
    std::vector<BYTE> buffer;
    std::vector<JOB_INFO_1A> jobs = ListJobs(printer, 100, buffer);
    REQUIRE(jobs.size() == 3);
    CHECK(std::string(jobs[0].pDocument) == "Document 1");
    CHECK(std::string(jobs[2].pPrinterName) == "Strict Queue");
    CHECK(jobs[0].JobId != jobs[1].JobId);

    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    REQUIRE(GetPrinterA(printer, 2, info.data(), needed, &needed));
    CHECK(reinterpret_cast<PRINTER_INFO_2A*>(info.data())->cJobs == 3);

    DWORD cancelled = jobs[1].JobId;
    CHECK(SetJobA(printer, cancelled, 0, nullptr, JOB_CONTROL_CANCEL));
    CHECK_FALSE(SetJobA(printer, cancelled, 0, nullptr, JOB_CONTROL_DELETE));
    CHECK(GetLastError() == ERROR_INVALID_PARAMETER);
    CHECK(SetJobA(printer, jobs[0].JobId, 0, nullptr, JOB_CONTROL_DELETE));
    jobs = ListJobs(printer, 100, buffer);
    REQUIRE(jobs.size() == 1);
    CHECK(std::string(jobs[0].pDocument) == "Document 3");

    SUBCASE("a buffer one byte short is refused and left alone") {
        DWORD returned = 0;
        REQUIRE_FALSE(EnumJobsA(printer, 0, 100, 1, nullptr, 0, &needed, &returned));
        std::vector<BYTE> small(needed - 1, 0xAB);
        CHECK_FALSE(EnumJobsA(printer, 0, 100, 1, small.data(), needed - 1, &needed, &returned));
        CHECK(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
        CHECK(returned == 0);
        CHECK(small[0] == 0xAB);
    }
    SUBCASE("a long queue is listed a hundred at a time") {
        HANDLE busy = Open("Strict Busy");
        REQUIRE(busy != nullptr);
        std::vector<BYTE> busyBuffer;
        std::vector<JOB_INFO_1A> first = ListJobs(busy, 100, busyBuffer);
        REQUIRE(first.size() == 100);
        for (const JOB_INFO_1A& job : first) SetJobA(busy, job.JobId, 0, nullptr, JOB_CONTROL_CANCEL);
        CHECK(ListJobs(busy, 100, busyBuffer).size() == 50);
        ClosePrinter(busy);
    }
    ClosePrinter(printer);
}

TEST_CASE("a print-server printer is listed with its server and removed as a connection") {
    Configure(kServerPrinter);
    DWORD count = 0;
    std::vector<BYTE> buffer = ListPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, 4, &count);
    const PRINTER_INFO_4A* level4 = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
    REQUIRE(count >= 1);
    const PRINTER_INFO_4A& last = level4[count - 1];
    CHECK(std::string(last.pPrinterName) == "\\\\PRINTSRV\\Shared Laser");
    REQUIRE(last.pServerName != nullptr);
    CHECK(std::string(last.pServerName) == "\\\\PRINTSRV");
    for (DWORD i = 0; i + 1 < count; ++i) CHECK(level4[i].pServerName == nullptr);

    buffer = ListPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, 2, &count);
    const PRINTER_INFO_2A& entry = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data())[count - 1];
    CHECK(std::string(entry.pDriverName) == "Quellan Shared 5");
    CHECK(std::string(entry.pShareName) == "Shared Laser");

    DWORD localCount = 0;
    ListPrinters(PRINTER_ENUM_LOCAL, 4, &localCount);
    CHECK(localCount == count - 1);

    HANDLE printer = Open("\\\\printsrv\\shared laser");
    REQUIRE(printer != nullptr);
    char data[256] = {};
    DWORD type = 0, needed = 0;
    CHECK(GetPrinterDataA(printer, const_cast<LPSTR>("QuellanDriver01"), &type,
                          reinterpret_cast<LPBYTE>(data), sizeof data, &needed) == ERROR_SUCCESS);
    CHECK(std::string(data) == "1");
    CHECK(GetPrinterDataA(printer, const_cast<LPSTR>("VizPrinter"), &type, reinterpret_cast<LPBYTE>(data),
                          sizeof data, &needed) == ERROR_FILE_NOT_FOUND);
    CHECK(GetPrinterDataA(printer, const_cast<LPSTR>("QuellanDriver01"), &type,
                          reinterpret_cast<LPBYTE>(data), 1, &needed) == ERROR_MORE_DATA);
    CHECK(needed == 2);
    ClosePrinter(printer);

    CHECK(DeletePrinterConnectionA(const_cast<LPSTR>("\\\\PRINTSRV\\Shared Laser")));
    ListPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, 4, &count);
    CHECK(count == localCount);
    CHECK(Open("\\\\PRINTSRV\\Shared Laser") == nullptr);
    CHECK_FALSE(DeletePrinterConnectionA(const_cast<LPSTR>("\\\\PRINTSRV\\Shared Laser")));
    CHECK(GetLastError() == ERROR_INVALID_PRINTER_NAME);
}

TEST_CASE("a driver still used by a printer is not deleted") {
    AddDriver("Strict Used Driver");
    AddPrinter("Strict Driver User", "Strict Used Driver");
    Configure(std::string(kServerPrinter) + "Driver=Strict Shared Driver\n");
    AddDriver("Strict Shared Driver");

    CHECK_FALSE(DeletePrinterDriverA(nullptr, nullptr, const_cast<LPSTR>("strict used driver")));
    CHECK(GetLastError() == ERROR_PRINTER_DRIVER_IN_USE);
    CHECK_FALSE(DeletePrinterDriverA(nullptr, nullptr, const_cast<LPSTR>("Strict Shared Driver")));
    CHECK(GetLastError() == ERROR_PRINTER_DRIVER_IN_USE);

    HANDLE printer = Open("Strict Driver User");
    REQUIRE(printer != nullptr);
    CHECK(DeletePrinter(printer));
    ClosePrinter(printer);
    CHECK(DeletePrinterDriverA(nullptr, nullptr, const_cast<LPSTR>("Strict Used Driver")));
    CHECK_FALSE(DeletePrinterDriverA(nullptr, nullptr, const_cast<LPSTR>("Strict Used Driver")));
    CHECK(GetLastError() == ERROR_UNKNOWN_PRINTER_DRIVER);
}

TEST_CASE("a deleted print processor is gone") {
    Configure("");
    auto add = Winspool<BOOL(WINAPI*)(LPSTR, LPSTR, LPSTR, LPSTR)>("AddPrintProcessorA");
    REQUIRE(add(nullptr, nullptr, const_cast<LPSTR>("strictproc.dll"), const_cast<LPSTR>("StrictProc")));
    REQUIRE(ProcessorListed("StrictProc"));

    CHECK(DeletePrintProcessorA(nullptr, nullptr, const_cast<LPSTR>("strictproc")));
    CHECK_FALSE(ProcessorListed("StrictProc"));
    CHECK(ProcessorListed("winprint"));
    CHECK_FALSE(DeletePrintProcessorA(nullptr, nullptr, const_cast<LPSTR>("StrictProc")));
    CHECK(GetLastError() == ERROR_UNKNOWN_PRINTPROCESSOR);
    CHECK_FALSE(
        DeletePrintProcessorA(nullptr, const_cast<LPSTR>("Bogus Env"), const_cast<LPSTR>("winprint")));
    CHECK(GetLastError() == ERROR_INVALID_ENVIRONMENT);
}

TEST_CASE("the journal holds one line per call with its arguments and result") {
    std::string journal = TempPath("qspool-journal.txt");
    DeleteFileA(journal.c_str());
    Configure("[Journal]\nFile=" + journal + "\n[Fail]\nFunction=EnumPrintersA\nError=1722\n");

    DWORD needed = 0, returned = 0;
    EnumPrintersA(6, nullptr, 4, nullptr, 0, &needed, &returned);
    DeletePrinterDriverA(nullptr, const_cast<LPSTR>("Windows NT x86"), const_cast<LPSTR>("Nobody's Driver"));
    HKEY key = nullptr;
    REQUIRE(RegOpenKeyA(HKEY_CURRENT_USER, "Software", &key) == ERROR_SUCCESS);
    RegDeleteValueA(key, "No Such Value");
    RegCloseKey(key);

    CHECK(ReadFile(journal) ==
          "EnumPrintersA flags=6 name=null level=4 size=0 -> 0 err=1722 needed=0 returned=0\n"
          "DeletePrinterDriverA server=null env=\"Windows NT x86\" name=\"Nobody's Driver\" -> 0 err=1797\n"
          "RegOpenKeyA key=\"HKCU\" subkey=\"Software\" -> 0\n"
          "RegDeleteValueA key=\"HKCU\\Software\" value=\"No Such Value\" -> 2\n"
          "RegCloseKey key=\"HKCU\\Software\" -> 0\n");

    SUBCASE("QSPOOL_JOURNAL names the journal instead") {
        std::string other = TempPath("qspool-journal-env.txt");
        DeleteFileA(other.c_str());
        SetEnvironmentVariableA("QSPOOL_JOURNAL", other.c_str());
        DeletePrinterConnectionA(const_cast<LPSTR>("\\\\NOBODY\\Nothing"));
        SetEnvironmentVariableA("QSPOOL_JOURNAL", nullptr);
        CHECK(ReadFile(other) == "DeletePrinterConnectionA name=\"\\\\NOBODY\\Nothing\" -> 0 err=1801\n");
    }
}

TEST_CASE("a Windows 9x program deletes the 9x print processor when it names no environment") {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS) {
        MESSAGE("runs as a Windows 9x program only (access_strict_win98)");
        return;
    }
    Configure("");
    auto add = Winspool<BOOL(WINAPI*)(LPSTR, LPSTR, LPSTR, LPSTR)>("AddPrintProcessorA");
    REQUIRE(add(nullptr, const_cast<LPSTR>("Windows 4.0"), const_cast<LPSTR>("strict9x.dll"),
                const_cast<LPSTR>("Strict9xProc")));
    REQUIRE(ProcessorListed("Strict9xProc"));
    CHECK(DeletePrintProcessorA(nullptr, nullptr, const_cast<LPSTR>("Strict9xProc")));
    CHECK_FALSE(ProcessorListed("Strict9xProc"));
}
