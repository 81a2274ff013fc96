// "count = N" on a [driver] or [printer] section seeds N of them, "%d" in the name (and in a printer's
// driver) standing for 1 to N. They are written straight into the spooler's registry keys, which
// Wine's spooler reads as it finds them: thousands of AddPrinterDriverA and AddPrinterA calls, each
// rewriting the per-user printer lists, would take minutes where this takes about a second.
#include <windows.h>

#include <cstdlib>

#include "RegistryText.h"
#include "Seed.h"

namespace {
const char kPrintKey[] = "System\\CurrentControlSet\\Control\\Print\\";

std::string Numbered(const std::string& pattern, int n) {
    std::string out = pattern;
    size_t at = out.find("%d");
    if (at != std::string::npos) out.replace(at, 2, std::to_string(n));
    return out;
}

class Key {
public:
    explicit Key(const std::string& path) {
        result_ = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key_, nullptr);
    }
    ~Key() {
        if (result_ == ERROR_SUCCESS) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    bool Set(const char* name, const std::string& text) { return Put(name, "sz:" + text); }
    bool Put(const char* name, const std::string& typedValue) {
        DWORD type = 0;
        std::string bytes;
        EncodeRegistryValue(typedValue, type, bytes);
        if (result_ == ERROR_SUCCESS)
            result_ = RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                     static_cast<DWORD>(bytes.size()));
        return result_ == ERROR_SUCCESS;
    }
    LONG Result() const { return result_; }

private:
    HKEY key_ = nullptr;
    LONG result_;
};

int Count(const ScenarioSection& s) {
    return std::atoi(s.Get("count").c_str());
}
}  // namespace

bool IsBulk(const ScenarioSection& s) {
    return s.Has("count");
}

std::string SeedDrivers(const ScenarioSection& s, const SeedContext&) {
    std::string env = s.Get("environment", "Windows x64");
    std::string version = EqualNoCase(env, "Windows 4.0") ? "0" : "3";
    std::string file = s.Get("driver-file", "QDRV.DLL");
    for (int n = 1; n <= Count(s); ++n) {
        std::string name = Numbered(s.name, n);
        Key k(kPrintKey + std::string("Environments\\") + env + "\\Drivers\\Version-" + version + "\\" +
              name);
        if (!(k.Set("Driver", file) && k.Set("Data File", file) && k.Set("Configuration File", file) &&
              k.Set("Help File", "") && k.Put("Dependent Files", "multi:") && k.Set("Monitor", "") &&
              k.Set("Datatype", "RAW") && k.Put("Previous Names", "multi:") &&
              k.Put("Version", "dword:" + version)))
            return "writing driver " + name + " gave " + std::to_string(k.Result());
    }
    return "";
}

std::string SeedPrinters(const ScenarioSection& s, const SeedContext& cx) {
    for (int n = 1; n <= Count(s); ++n) {
        std::string name = Numbered(s.name, n);
        std::string key = kPrintKey + std::string("Printers\\") + name;
        Key k(key);
        if (!(k.Set("Name", name) && k.Set("Port", s.Get("port", "LPT1:")) &&
              k.Set("Printer Driver", Numbered(s.Get("driver"), n)) &&
              k.Set("Print Processor", s.Get("processor", "winprint")) && k.Set("Datatype", "RAW") &&
              k.Put("Attributes", "dword:" + s.Get("attributes", "0"))))
            return "writing printer " + name + " gave " + std::to_string(k.Result());
        Key data(key + "\\PrinterDriverData");
        for (const auto& e : s.entries) {
            if (Lower(e.key).rfind("data ", 0) == 0 &&
                !data.Set(Trim(e.key.substr(5)).c_str(), cx.Expand(e.value)))
                return "writing printer data of " + name + " gave " + std::to_string(data.Result());
        }
    }
    return "";
}
