#include <windows.h>
#include <winspool.h>

#include <vector>

#include "Seed.h"

static std::string Fail(const std::string& what) {
    return what + " failed, error " + std::to_string(GetLastError());
}

static const char* EnvOrNull(const std::string& env) { return env.empty() ? nullptr : env.c_str(); }

// A driver's files must lie in the root of the environment's driver directory before the spooler
// adds the driver; it then copies them into the version subdirectory, as a real installer would.
std::string SeedDriver(const ScenarioSection& s, const SeedContext& cx) {
    std::string env = s.Get("environment");
    char dir[MAX_PATH] = "";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(EnvOrNull(env)), 1,
                                    reinterpret_cast<BYTE*>(dir), sizeof(dir), &needed))
        return Fail("GetPrinterDriverDirectoryA(" + env + ")");

    std::string driverFile = s.Get("driver-file", "QDRV.DLL");
    std::string dataFile = s.Get("data-file", driverFile);
    std::string configFile = s.Get("config-file", driverFile);
    std::string helpFile = s.Get("help-file");
    std::vector<std::string> dependent = SplitList(s.Get("dependent-files"), ',');
    std::vector<std::string> all = {driverFile, dataFile, configFile};
    if (!helpFile.empty()) all.push_back(helpFile);
    all.insert(all.end(), dependent.begin(), dependent.end());
    for (const auto& f : all)
        if (!WriteWholeFile(std::string(dir) + "\\" + f, "driver file " + f + "\r\n"))
            return Fail("writing driver file " + f);

    std::string multi;
    for (const auto& d : dependent) multi += d + '\0';
    multi += '\0';
    std::string monitor = s.Get("monitor");
    std::string datatype = s.Get("datatype", "RAW");

    DRIVER_INFO_3A info = {};
    info.cVersion = 3;
    info.pName = const_cast<char*>(s.name.c_str());
    info.pEnvironment = const_cast<char*>(EnvOrNull(env));
    info.pDriverPath = const_cast<char*>(driverFile.c_str());
    info.pDataFile = const_cast<char*>(dataFile.c_str());
    info.pConfigFile = const_cast<char*>(configFile.c_str());
    info.pHelpFile = helpFile.empty() ? nullptr : const_cast<char*>(helpFile.c_str());
    info.pDependentFiles = dependent.empty() ? nullptr : &multi[0];
    info.pMonitorName = monitor.empty() ? nullptr : const_cast<char*>(monitor.c_str());
    info.pDefaultDataType = const_cast<char*>(datatype.c_str());
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info))) return Fail("AddPrinterDriverA");
    (void)cx;
    return "";
}

static std::string SetData(HANDLE h, const std::string& name, DWORD type, const std::string& bytes) {
    DWORD rc = SetPrinterDataA(h, const_cast<char*>(name.c_str()), type,
                               reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                               static_cast<DWORD>(bytes.size()));
    return rc == ERROR_SUCCESS ? "" : "SetPrinterDataA(" + name + ") gave " + std::to_string(rc);
}

// Printer data is written as "data NAME = text" (REG_SZ) or "dword NAME = number".
static std::string SeedPrinterData(HANDLE h, const ScenarioSection& s, const SeedContext& cx) {
    for (const auto& e : s.entries) {
        std::string lower = Lower(e.key);
        std::string err;
        if (lower.rfind("data ", 0) == 0) {
            std::string text = cx.Expand(Unescape(e.value));
            err = SetData(h, Trim(e.key.substr(5)), REG_SZ, text + '\0');
        } else if (lower.rfind("dword ", 0) == 0) {
            DWORD v = static_cast<DWORD>(std::strtoul(e.value.c_str(), nullptr, 0));
            err = SetData(h, Trim(e.key.substr(6)), REG_DWORD, std::string(reinterpret_cast<char*>(&v), 4));
        }
        if (!err.empty()) return err;
    }
    return "";
}

std::string SeedPrinter(const ScenarioSection& s, const SeedContext& cx) {
    std::string driver = s.Get("driver");
    std::string port = s.Get("port", "LPT1:");
    std::string processor = s.Get("processor", "winprint");
    std::string datatype = s.Get("datatype", "RAW");
    std::string location = s.Get("location");
    std::string comment = s.Get("comment");
    PRINTER_INFO_2A info = {};
    info.pPrinterName = const_cast<char*>(s.name.c_str());
    info.pPortName = const_cast<char*>(port.c_str());
    info.pDriverName = const_cast<char*>(driver.c_str());
    info.pPrintProcessor = const_cast<char*>(processor.c_str());
    info.pDatatype = const_cast<char*>(datatype.c_str());
    info.pLocation = const_cast<char*>(location.c_str());
    info.pComment = const_cast<char*>(comment.c_str());
    info.Attributes = static_cast<DWORD>(std::strtoul(s.Get("attributes", "0").c_str(), nullptr, 0));
    HANDLE h = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!h) return Fail("AddPrinterA (is driver \"" + driver + "\" seeded?)");
    std::string err = SeedPrinterData(h, s, cx);
    ClosePrinter(h);
    if (!err.empty()) return err;
    if (EqualNoCase(s.Get("default", "no"), "yes")) {
        // The value that GetProfileString("windows", "device") reads, written the way Windows does.
        std::string device = s.name + ",winspool," + port;
        if (!WriteProfileStringA("windows", "device", device.c_str())) return Fail("WriteProfileStringA(device)");
    }
    return "";
}

// Monitors are registered by key, as the spooler reads them, because AddMonitorA insists on a
// loadable monitor DLL and a scenario's monitor is only a name and a file.
std::string SeedMonitor(const ScenarioSection& s, const SeedContext& cx) {
    std::string dll = s.Get("driver", "qmon.dll");
    std::string key = "System\\CurrentControlSet\\Control\\Print\\Monitors\\" + s.name;
    HKEY h;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS) return "creating monitor key gave " + std::to_string(rc);
    rc = RegSetValueExA(h, "Driver", 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                        static_cast<DWORD>(dll.size() + 1));
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS) return "writing monitor Driver gave " + std::to_string(rc);
    if (EqualNoCase(s.Get("file", "yes"), "yes"))
        WriteWholeFile(cx.Expand("%SYSDIR%\\") + dll, "monitor " + s.name + "\r\n");
    return "";
}

std::string SeedProcessor(const ScenarioSection& s, const SeedContext& cx) {
    std::string env = s.Get("environment");
    std::string dll = s.Get("driver", "qproc.dll");
    char dir[MAX_PATH] = "";
    DWORD needed = 0;
    if (GetPrintProcessorDirectoryA(nullptr, const_cast<char*>(EnvOrNull(env)), 1, reinterpret_cast<BYTE*>(dir),
                                    sizeof(dir), &needed))
        WriteWholeFile(std::string(dir) + "\\" + dll, "print processor " + s.name + "\r\n");
    if (!AddPrintProcessorA(nullptr, const_cast<char*>(EnvOrNull(env)), const_cast<char*>(dll.c_str()),
                            const_cast<char*>(s.name.c_str())))
        return Fail("AddPrintProcessorA");
    (void)cx;
    return "";
}

std::string SeedService(const ScenarioSection& s, const SeedContext& cx) {
    std::string binary = cx.Expand(s.Get("binary", "%SYSDIR%\\" + s.name + ".exe"));
    std::string type = Lower(s.Get("type", "own"));
    std::string start = Lower(s.Get("start", "demand"));
    DWORD svcType = type == "driver" ? SERVICE_KERNEL_DRIVER : SERVICE_WIN32_OWN_PROCESS;
    DWORD svcStart = start == "auto" ? SERVICE_AUTO_START : start == "disabled" ? SERVICE_DISABLED
                                                                                 : SERVICE_DEMAND_START;
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!scm) return Fail("OpenSCManagerA");
    std::string display = s.Get("display", s.name);
    SC_HANDLE svc = CreateServiceA(scm, s.name.c_str(), display.c_str(), SERVICE_ALL_ACCESS, svcType, svcStart,
                                   SERVICE_ERROR_NORMAL, binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    std::string err = svc ? "" : Fail("CreateServiceA");
    if (svc) CloseServiceHandle(svc);
    CloseServiceHandle(scm);
    return err;
}
