#include "StrictState.h"

#include <cstdio>
#include <map>

namespace {

CRITICAL_SECTION g_lock;
HMODULE g_module = nullptr;

struct State {
    std::string configText;
    FILETIME configTime = {0, 0};
    bool started = false;
    StrictConfig config;
    std::string journalPath;
    std::vector<unsigned long> ruleCalls;
    std::map<std::string, std::vector<SimulatedJob>, NoCaseLess> queues;
    std::vector<ServerPrinter> serverPrinters;
    std::map<HANDLE, std::string> printerNames;
    std::map<HANDLE, size_t> serverHandles;
    ULONG_PTR nextServerHandle = 0x51500001;
    std::map<HKEY, std::string> keyPaths;
};

State& TheState() {
    static State state;
    return state;
}

std::string Environment(const char* name) {
    char value[MAX_PATH];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) return std::string();
    return std::string(value, length);
}

std::string ConfigPath() {
    std::string path = Environment("QSPOOL_CONFIG");
    if (!path.empty()) return path;
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(g_module, module, sizeof module);
    if (length == 0 || length >= sizeof module) return std::string();
    path.assign(module, length);
    size_t slash = path.find_last_of("\\/");
    return path.substr(0, slash + 1) + "QSPOOL01.INI";
}

bool ReadWholeFile(const std::string& path, std::string* text, FILETIME* time) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    GetFileTime(file, nullptr, nullptr, time);
    char chunk[4096];
    DWORD got = 0;
    text->clear();
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text->append(chunk, got);
    CloseHandle(file);
    return true;
}

void StartSimulation(State& s) {
    s.config = ParseStrictConfig(s.configText);
    s.ruleCalls.assign(s.config.failRules.size(), 0);
    s.queues.clear();
    DWORD nextJob = 1;
    for (const auto& entry : s.config.jobs) {
        std::vector<SimulatedJob>& queue = s.queues[entry.first];
        for (unsigned long i = 0; i < entry.second; ++i) {
            SimulatedJob job;
            job.id = nextJob++;
            job.document = "Document " + std::to_string(i + 1);
            queue.push_back(job);
        }
    }
    s.serverPrinters.clear();
    for (const ServerPrinterConfig& printer : s.config.serverPrinters) {
        ServerPrinter p;
        p.config = printer;
        s.serverPrinters.push_back(p);
    }
    s.serverHandles.clear();
}

// Rereading the configuration on every call lets a test change it between calls of one process.
void RefreshConfig() {
    State& s = TheState();
    std::string text;
    FILETIME time = {0, 0};
    if (!ReadWholeFile(ConfigPath(), &text, &time)) text.clear();
    if (!s.started || text != s.configText || CompareFileTime(&time, &s.configTime) != 0) {
        s.started = true;
        s.configText = text;
        s.configTime = time;
        StartSimulation(s);
    }
    s.journalPath = Environment("QSPOOL_JOURNAL");
    if (s.journalPath.empty()) s.journalPath = s.config.journal;
}

const char* RootName(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) return "HKCR";
    if (key == HKEY_CURRENT_USER) return "HKCU";
    if (key == HKEY_LOCAL_MACHINE) return "HKLM";
    if (key == HKEY_USERS) return "HKU";
    if (key == HKEY_CURRENT_CONFIG) return "HKCC";
    return nullptr;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        InitializeCriticalSection(&g_lock);
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&g_lock);
    }
    return TRUE;
}

StrictCall::StrictCall() {
    EnterCriticalSection(&g_lock);
    DWORD savedError = GetLastError();
    RefreshConfig();
    SetLastError(savedError);
}

StrictCall::~StrictCall() {
    LeaveCriticalSection(&g_lock);
}

void StrictCall::Log(const JournalLine& line) const {
    line.Write(TheState().journalPath);
}

bool InjectFailure(const char* function, const std::string& printer, long level, DWORD* error) {
    State& s = TheState();
    bool fire = false;
    for (size_t i = 0; i < s.config.failRules.size(); ++i) {
        const FailRule& rule = s.config.failRules[i];
        if (!EqualNoCase(rule.function, function)) continue;
        if (!rule.printer.empty() && !EqualNoCase(rule.printer, printer)) continue;
        if (rule.level >= 0 && rule.level != level) continue;
        unsigned long call = ++s.ruleCalls[i];
        bool inWindow = call > rule.after && (rule.times == 0 || call <= rule.after + rule.times);
        if (inWindow && !fire) {
            fire = true;
            *error = rule.error;
        }
    }
    return fire;
}

std::vector<SimulatedJob>* QueueOf(const std::string& printer) {
    return &TheState().queues[printer];
}

void ClearQueue(const std::string& printer) {
    TheState().queues.erase(printer);
}

std::vector<ServerPrinter>& ServerPrinters() {
    return TheState().serverPrinters;
}

ServerPrinter* FindServerPrinter(const std::string& name) {
    for (ServerPrinter& p : TheState().serverPrinters) {
        if (!p.removed && EqualNoCase(p.config.name, name)) return &p;
    }
    return nullptr;
}

void RememberPrinterHandle(HANDLE printer, const char* name) {
    TheState().printerNames[printer] = name != nullptr ? name : "";
}

HANDLE OpenServerPrinterHandle(ServerPrinter* printer) {
    State& s = TheState();
    HANDLE handle = reinterpret_cast<HANDLE>(s.nextServerHandle++);
    s.serverHandles[handle] = static_cast<size_t>(printer - s.serverPrinters.data());
    s.printerNames[handle] = printer->config.name;
    return handle;
}

ServerPrinter* ServerPrinterOfHandle(HANDLE printer) {
    State& s = TheState();
    auto it = s.serverHandles.find(printer);
    if (it == s.serverHandles.end() || it->second >= s.serverPrinters.size()) return nullptr;
    ServerPrinter* p = &s.serverPrinters[it->second];
    return p->removed ? nullptr : p;
}

bool IsServerPrinterHandle(HANDLE printer) {
    return TheState().serverHandles.count(printer) != 0;
}

bool IsKnownPrinterHandle(HANDLE printer) {
    return TheState().printerNames.count(printer) != 0;
}

std::string PrinterNameOfHandle(HANDLE printer) {
    State& s = TheState();
    auto it = s.printerNames.find(printer);
    return it != s.printerNames.end() ? it->second : std::string();
}

void ForgetPrinterHandle(HANDLE printer) {
    TheState().printerNames.erase(printer);
    TheState().serverHandles.erase(printer);
}

JournalLine& LogPrinter(JournalLine& line, HANDLE printer) {
    State& s = TheState();
    auto it = s.printerNames.find(printer);
    if (it == s.printerNames.end()) {
        char text[32];
        std::snprintf(text, sizeof text, "%p", static_cast<void*>(printer));
        return line.Text("handle", text);
    }
    return line.Text("printer", it->second.empty() ? nullptr : it->second.c_str());
}

std::string KeyPath(HKEY key) {
    if (const char* root = RootName(key)) return root;
    State& s = TheState();
    auto it = s.keyPaths.find(key);
    if (it != s.keyPaths.end()) return it->second;
    char text[32];
    std::snprintf(text, sizeof text, "%p", static_cast<void*>(key));
    return text;
}

void RememberKey(HKEY key, HKEY parent, const char* subKey) {
    if (RootName(key) != nullptr) return;
    std::string path = KeyPath(parent);
    if (subKey != nullptr && *subKey != '\0') path += std::string("\\") + subKey;
    TheState().keyPaths[key] = path;
}

void ForgetKey(HKEY key) {
    TheState().keyPaths.erase(key);
}

const char* NativeEnvironment() {
    // Wine's spooler follows the emulated Windows version: a Windows 9x program gets the 9x drivers.
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return "Windows 4.0";
#ifdef _WIN64
    return "Windows x64";
#else
    return "Windows NT x86";
#endif
}
