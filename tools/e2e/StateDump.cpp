#include "StateDump.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <map>
#include <set>

#include "AuditScope.h"
#include "MachineVars.h"
#include "RegistryText.h"

namespace {

using Lines = std::vector<std::string>;

// Two-call enumeration, as the tool itself does it.
template <typename Fn>
std::vector<BYTE> Enumerate(Fn call, DWORD& count) {
    DWORD needed = 0;
    count = 0;
    call(nullptr, 0, &needed, &count);
    std::vector<BYTE> buf(needed + 4);
    if (!needed || !call(buf.data(), needed, &needed, &count)) count = 0;
    return buf;
}

std::string Str(const char* s) { return s ? s : ""; }

// What a walk leaves out, and how deep it goes: the scenario's own trees and folders are shallow,
// the whole-machine audit goes as deep as the machine does.
struct WalkLimits {
    const std::vector<AuditExclusion>* exclusions = nullptr;
    int maxDepth = 0;
    bool Excluded(const std::string& path) const { return exclusions && IsAuditExcluded(path, *exclusions); }
};
const WalkLimits kScenarioRegistry = {nullptr, 16};
const WalkLimits kScenarioFolders = {nullptr, 12};

// Walks one open key. Sizes come from RegQueryInfoKeyA so that each value is read with one call,
// and children are opened relative to their parent: the audit reads tens of thousands of keys.
void DumpOpenKey(HKEY h, const std::string& full, Lines& out, const WalkLimits& limits, int depth) {
    out.push_back("key " + full);
    DWORD subkeys = 0, maxKey = 0, values = 0, maxName = 0, maxData = 0;
    if (RegQueryInfoKeyA(h, nullptr, nullptr, nullptr, &subkeys, &maxKey, nullptr, &values, &maxName,
                         &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<char> name(maxName + 2);
    std::string data(maxData + 1, '\0');
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameLen = static_cast<DWORD>(name.size()), type = 0, dataLen = static_cast<DWORD>(data.size());
        LONG rc = RegEnumValueA(h, i, name.data(), &nameLen, nullptr, &type,
                                reinterpret_cast<BYTE*>(&data[0]), &dataLen);
        if (rc == ERROR_MORE_DATA) {  // the sizes are counted in another code page; grow and read again
            name.resize(16384);
            data.resize(dataLen + 1);
            nameLen = static_cast<DWORD>(name.size());
            dataLen = static_cast<DWORD>(data.size());
            rc = RegEnumValueA(h, i, name.data(), &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                               &dataLen);
        }
        if (rc != ERROR_SUCCESS) break;
        std::string value = "value " + full + " | " + (nameLen ? std::string(name.data(), nameLen) : "@");
        if (!limits.Excluded(value.substr(6)))
            out.push_back(value + " = " + DescribeRegistryValue(type, data.substr(0, dataLen)));
    }
    if (depth >= limits.maxDepth) return;
    std::vector<char> child(maxKey + 2);
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD childLen = static_cast<DWORD>(child.size());
        if (RegEnumKeyExA(h, i, child.data(), &childLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::string childPath = full + "\\" + std::string(child.data(), childLen);
        HKEY c;
        if (limits.Excluded(childPath) || RegOpenKeyExA(h, child.data(), 0, KEY_READ, &c) != ERROR_SUCCESS)
            continue;
        DumpOpenKey(c, childPath, out, limits, depth + 1);
        RegCloseKey(c);
    }
}

void DumpRegistryTree(HKEY root, const std::string& rootName, const std::string& sub, Lines& out,
                      const WalkLimits& limits = kScenarioRegistry) {
    HKEY h;
    std::string full = rootName + (sub.empty() ? "" : "\\" + sub);
    if (limits.Excluded(full) || RegOpenKeyExA(root, sub.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    DumpOpenKey(h, full, out, limits, 0);
    RegCloseKey(h);
}

void DumpPrinters(Lines& out) {
    DWORD count = 0;
    auto buf = Enumerate(
        [](BYTE* b, DWORD n, DWORD* need, DWORD* got) {
            return EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, b, n, need, got);
        },
        count);
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buf.data());
    for (DWORD i = 0; i < count; ++i) {
        char attrs[16];
        wsprintfA(attrs, "0x%lX", info[i].Attributes);
        std::string name = Str(info[i].pPrinterName);
        out.push_back("printer " + name + " | driver=" + Str(info[i].pDriverName) + " | port=" +
                      Str(info[i].pPortName) + " | processor=" + Str(info[i].pPrintProcessor) +
                      " | attributes=" + attrs);
        std::string key = "System\\CurrentControlSet\\Control\\Print\\Printers\\" + name + "\\PrinterDriverData";
        Lines data;
        DumpRegistryTree(HKEY_LOCAL_MACHINE, "", key, data);
        for (const auto& d : data) {
            size_t bar = d.find(" | ");
            if (d.rfind("value ", 0) == 0 && bar != std::string::npos)
                out.push_back("printer-data " + name + d.substr(bar));
        }
    }
    // From win.ini's device value ("name,driver,port") rather than GetDefaultPrinterA, which Wine
    // cuts at the first comma: a printer name may hold commas of its own.
    char device[1024] = "";
    GetProfileStringA("windows", "device", "", device, sizeof device);
    std::string def = device;
    for (int field = 0; field < 2 && def.find(',') != std::string::npos; ++field) def.erase(def.rfind(','));
    out.push_back("default-printer " + (def.empty() ? std::string("(none)") : def));
}

void DumpDrivers(Lines& out) {
    for (const auto& env : KnownEnvironments()) {
        DWORD count = 0;
        auto buf = Enumerate(
            [&](BYTE* b, DWORD n, DWORD* need, DWORD* got) {
                return EnumPrinterDriversA(nullptr, const_cast<char*>(env.c_str()), 3, b, n, need, got);
            },
            count);
        auto* info = reinterpret_cast<DRIVER_INFO_3A*>(buf.data());
        for (DWORD i = 0; i < count; ++i) {
            std::set<std::string> files;
            auto add = [&](const std::string& f) {
                if (!f.empty()) files.insert(f.substr(f.find_last_of('\\') + 1));
            };
            for (const char* p : {info[i].pDriverPath, info[i].pDataFile, info[i].pConfigFile, info[i].pHelpFile})
                add(Str(p));
            for (const char* d = info[i].pDependentFiles; d && *d; d += strlen(d) + 1) add(d);
            std::string list;
            for (const auto& f : files) list += (list.empty() ? "" : ",") + f;
            out.push_back("driver " + env + " | " + Str(info[i].pName) + " | files=" + list);
        }
    }
}

void DumpMonitorsAndProcessors(Lines& out) {
    DWORD count = 0;
    auto mons = Enumerate(
        [](BYTE* b, DWORD n, DWORD* need, DWORD* got) { return EnumMonitorsA(nullptr, 2, b, n, need, got); }, count);
    auto* m = reinterpret_cast<MONITOR_INFO_2A*>(mons.data());
    for (DWORD i = 0; i < count; ++i) out.push_back("monitor " + Str(m[i].pName) + " | " + Str(m[i].pDLLName));
    for (const auto& env : KnownEnvironments()) {
        auto procs = Enumerate(
            [&](BYTE* b, DWORD n, DWORD* need, DWORD* got) {
                return EnumPrintProcessorsA(nullptr, const_cast<char*>(env.c_str()), 1, b, n, need, got);
            },
            count);
        auto* p = reinterpret_cast<PRINTPROCESSOR_INFO_1A*>(procs.data());
        for (DWORD i = 0; i < count; ++i) out.push_back("processor " + env + " | " + Str(p[i].pName));
    }
}

void DumpServices(const std::set<std::string>& names, Lines& out) {
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!scm) return;
    for (const auto& n : names) {
        SC_HANDLE svc = OpenServiceA(scm, n.c_str(), SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS);
        if (!svc) continue;
        DWORD needed = 0;
        QueryServiceConfigA(svc, nullptr, 0, &needed);
        std::vector<BYTE> buf(needed + 8);
        auto* cfg = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buf.data());
        SERVICE_STATUS status = {};
        QueryServiceStatus(svc, &status);
        const char* state = status.dwCurrentState == SERVICE_RUNNING   ? "running"
                            : status.dwCurrentState == SERVICE_STOPPED ? "stopped"
                                                                       : "changing";
        if (QueryServiceConfigA(svc, cfg, needed, &needed))
            out.push_back("service " + n + " | type=" + std::to_string(cfg->dwServiceType) + " | start=" +
                          std::to_string(cfg->dwStartType) + " | image=" + Str(cfg->lpBinaryPathName) +
                          " | state=" + state);
        CloseServiceHandle(svc);
    }
    CloseServiceHandle(scm);
}

void DumpFolder(const std::string& dir, Lines& out, const WalkLimits& limits = kScenarioFolders,
                int depth = 0) {
    DWORD attrs = GetFileAttributesA(dir.c_str());
    if (depth > limits.maxDepth || limits.Excluded(dir) || attrs == INVALID_FILE_ATTRIBUTES ||
        !(attrs & FILE_ATTRIBUTE_DIRECTORY))
        return;
    out.push_back("dir " + dir);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    std::vector<std::string> subdirs;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == ".." || limits.Excluded(dir + "\\" + name)) continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            subdirs.push_back(dir + "\\" + name);
        } else {
            std::string line = "file " + dir + "\\" + name + " | " + std::to_string(fd.nFileSizeLow) + " bytes";
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY) line += " | read-only";
            out.push_back(line);
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    for (const auto& s : subdirs) DumpFolder(s, out, limits, depth + 1);
}

void DumpFile(const std::string& path, Lines& out) {
    WIN32_FILE_ATTRIBUTE_DATA fa;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &fa)) return;
    if (fa.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return DumpFolder(path, out);
    std::string line = "file " + path + " | " + std::to_string(fa.nFileSizeLow) + " bytes";
    if (fa.dwFileAttributes & FILE_ATTRIBUTE_READONLY) line += " | read-only";
    out.push_back(line);
}

// Every section of the file, or only those named in sections (win.ini holds much of Wine's own).
void DumpIni(const std::string& file, const std::set<std::string>& sections, Lines& out) {
    std::vector<char> names(65536);
    DWORD n = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), file.c_str());
    for (const char* s = names.data(); s < names.data() + n && *s; s += strlen(s) + 1) {
        if (!sections.empty() && !sections.count(Lower(s))) continue;
        std::vector<char> body(65536);
        DWORD m = GetPrivateProfileSectionA(s, body.data(), static_cast<DWORD>(body.size()), file.c_str());
        for (const char* k = body.data(); k < body.data() + m && *k; k += strlen(k) + 1)
            out.push_back("ini " + file + " | [" + s + "] " + k);
    }
}

// win.ini's [windows], [Devices] and [PrinterPorts] live in the registry on NT and in Wine; read
// the lines the tool reads, through the same profile API.
void DumpWinIniMapped(Lines& out) {
    for (const char* key : {"device", "load", "run"}) {
        char buf[1024] = "";
        GetProfileStringA("windows", key, "", buf, sizeof(buf));
        if (*buf) out.push_back(std::string("ini win.ini | [windows] ") + key + "=" + buf);
    }
    for (const char* section : {"Devices", "PrinterPorts"}) {
        std::vector<char> keys(65536);
        DWORD n = GetProfileStringA(section, nullptr, "", keys.data(), static_cast<DWORD>(keys.size()));
        for (const char* k = keys.data(); k < keys.data() + n && *k; k += strlen(k) + 1) {
            char buf[1024] = "";
            GetProfileStringA(section, k, "", buf, sizeof(buf));
            out.push_back(std::string("ini win.ini | [") + section + "] " + k + "=" + buf);
        }
    }
}

void DumpPendingRenames(Lines& out) {
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &h) !=
        ERROR_SUCCESS)
        return;
    DWORD size = 0, type = 0;
    std::string data;
    if (RegQueryValueExA(h, "PendingFileRenameOperations", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        data.resize(size);
        RegQueryValueExA(h, "PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(size);
    }
    RegCloseKey(h);
    std::vector<std::string> items;
    size_t pos = 0;
    while (pos < data.size()) {
        size_t end = data.find('\0', pos);
        if (end == std::string::npos) end = data.size();
        items.push_back(data.substr(pos, end - pos));
        pos = end + 1;
    }
    auto plain = [](std::string p) { return p.rfind("\\??\\", 0) == 0 ? p.substr(4) : p; };
    for (size_t i = 0; i + 1 < items.size(); i += 2) {
        if (items[i].empty()) break;
        if (items[i + 1].empty())
            out.push_back("pending delete " + plain(items[i]));
        else
            out.push_back("pending rename " + plain(items[i]) + " -> " + plain(items[i + 1]));
    }
}

// Sorted ignoring case first, so that one key's lines stay together however each walk spelled it;
// the lower-case texts are made once, not per comparison (the audit sorts some 35,000 lines).
Lines SortedLines(Lines& out) {
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(out.size());
    for (auto& line : out) keyed.emplace_back(Lower(line), std::move(line));
    std::sort(keyed.begin(), keyed.end());
    out.clear();
    for (auto& k : keyed)
        if (out.empty() || out.back() != k.second) out.push_back(std::move(k.second));
    return out;
}

}  // namespace

std::vector<std::string> AuditMachine() {
    Lines out;
    const WalkLimits files = {&AuditFileExclusions(), 64};
    DumpFolder(AuditDrive(), out, files);
    const WalkLimits keys = {&AuditRegistryExclusions(), 64};
    for (const auto& t : AuditRegistryRoots()) {
        HKEY root;
        std::string sub;
        if (SplitRegistryPath(t, root, sub))
            DumpRegistryTree(root, t.substr(0, t.find('\\')), sub, out, keys);
    }
    return SortedLines(out);
}

std::vector<std::string> DumpMachine(const Scenario& sc) {
    VarList vars = MachineVars(sc);
    auto expand = [&](const std::string& s) { return ExpandVars(s, vars); };
    Lines out;
    DumpPrinters(out);
    DumpDrivers(out);
    DumpMonitorsAndProcessors(out);

    const ScenarioSection& dump = sc.First("dump");
    std::set<std::string> services;
    for (const auto* s : sc.All("service")) services.insert(s->name);
    for (const auto& n : SplitList(dump.Get("services"), ',')) services.insert(n);
    DumpServices(services, out);

    std::vector<std::string> trees = {"HKLM\\SOFTWARE\\TOVARI QUELLAN", "HKCU\\SOFTWARE\\TOVARI QUELLAN",
                                      "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                                      "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"};
    for (const auto* s : sc.All("registry")) trees.push_back(expand(s->name));
    for (const auto& e : dump.entries)
        if (EqualNoCase(e.key, "registry")) trees.push_back(expand(e.value));
    std::set<std::string> seenTrees;
    for (const auto& t : trees) {
        HKEY root;
        std::string sub;
        if (!SplitRegistryPath(t, root, sub) || !seenTrees.insert(Lower(t)).second) continue;
        DumpRegistryTree(root, t.substr(0, t.find('\\')), sub, out);
    }

    std::vector<std::string> folders = {"%DRIVERDIR_X64%", "%DRIVERDIR_X86%", "%DRIVERDIR_W40%", "%PROCDIR%",
                                        "%PROGRAMS%",      "%STARTUP%",       "%COMMONPROGRAMS%",
                                        "%COMMONSTARTUP%", "%TOOLDIR%"};
    for (const auto& e : dump.entries)
        if (EqualNoCase(e.key, "folder")) folders.push_back(e.value);
    for (const auto& f : folders) DumpFolder(expand(f), out);
    for (const auto* s : sc.All("file")) DumpFile(expand(s->name), out);
    for (const auto* s : sc.All("directory")) DumpFile(expand(s->name), out);

    DumpWinIniMapped(out);
    // INI files by full path, each with the sections to show (none listed: all of them).
    std::map<std::string, std::set<std::string>> inis = {{expand("%WINDIR%\\wininit.ini"), {}},
                                                         {expand("%TOOLDIR%\\zwininit.ini"), {}}};
    for (const auto* s : sc.All("ini")) {
        std::vector<std::string> parts = SplitList(s->name, '|');
        std::string file = expand(parts.front());
        if (file.find('\\') == std::string::npos) file = expand("%WINDIR%\\") + file;
        bool winIni = EqualNoCase(file, expand("%WINDIR%\\win.ini"));
        if (winIni && parts.size() > 1) inis[file].insert(Lower(parts[1]));
        else if (!winIni) inis[file];
    }
    for (const auto& f : inis)
        if (GetFileAttributesA(f.first.c_str()) != INVALID_FILE_ATTRIBUTES) DumpIni(f.first, f.second, out);
    DumpPendingRenames(out);

    return SortedLines(out);
}
