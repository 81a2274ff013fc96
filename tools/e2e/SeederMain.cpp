// qe2e_seed: builds a scenario's machine in the current Wine prefix.
//   qe2e_seed SCENARIO            seed every machine section, in file order
//   qe2e_seed --hold SCENARIO M   open the [file] sections marked "held = yes" without delete
//                                 sharing, create the marker file M, and keep them open until the
//                                 session ends or Windows restarts, so that deleting them fails as
//                                 with a running user
// The [strict ...] sections become the strict spooler library's QSPOOL01.INI beside the tool.
#include <windows.h>

#include <cstdio>
#include <map>

#include "Seed.h"

using SeedFn = std::string (*)(const ScenarioSection&, const SeedContext&);

static const std::map<std::string, SeedFn>& Seeders() {
    static const std::map<std::string, SeedFn> table = {
        {"driver", SeedDriver},       {"printer", SeedPrinter},   {"monitor", SeedMonitor},
        {"processor", SeedProcessor}, {"service", SeedService},   {"directory", SeedDirectory},
        {"file", SeedFile},           {"registry", SeedRegistry}, {"ini", SeedIni},
        {"shortcut", SeedShortcut},   {"pending", SeedPending},
    };
    return table;
}

static std::string DirOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// [strict Jobs], [strict ServerPrinter], [strict Fail] ... become the sections of QSPOOL01.INI
// beside the tool, where the strict spooler library reads them; its journal goes beside it too
// unless QSPOOL_JOURNAL names another file (the runner keeps it with the run's artifacts).
static bool WriteStrictConfig(const Scenario& sc, const SeedContext& cx) {
    std::vector<const ScenarioSection*> sections = sc.All("strict");
    if (sections.empty() && !EqualNoCase(sc.First("machine").Get("library"), "strict")) return true;
    std::string text = "[Journal]\r\nFile=" + cx.Expand("%TOOLDIR%\\QSPOOL01.journal") + "\r\n";
    for (const auto* s : sections) {
        text += "[" + s->name + "]\r\n";
        for (const auto& e : s->entries) text += e.key + "=" + cx.Expand(e.value) + "\r\n";
    }
    return WriteWholeFile(cx.Expand("%TOOLDIR%\\QSPOOL01.INI"), text);
}

static bool StartSpooler() {
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE svc = scm ? OpenServiceA(scm, "Spooler", SERVICE_START) : nullptr;
    bool ok = svc && (StartServiceA(svc, 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING);
    if (svc) CloseServiceHandle(svc);
    if (scm) CloseServiceHandle(scm);
    return ok;
}

static int Hold(const Scenario& sc, const SeedContext& cx, const std::string& marker) {
    std::vector<HANDLE> held;
    for (const auto* s : sc.All("file")) {
        if (!EqualNoCase(s->Get("held", "no"), "yes")) continue;
        std::string path = cx.Expand(s->name);
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "seed: cannot hold %s, error %lu\n", path.c_str(), GetLastError());
            return 1;
        }
        held.push_back(h);
    }
    // A restart ends every program that uses the files before the deferred deletions run. Wine
    // ends only the processes that own a window, so the holder keeps a hidden one.
    HWND window = CreateWindowExA(0, "STATIC", "qe2e held files", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        std::fprintf(stderr, "seed: cannot create the holder's window, error %lu\n", GetLastError());
        return 1;
    }
    WriteWholeFile(marker, "held\n");
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

int main(int argc, char** argv) {
    bool hold = argc == 4 && std::string(argv[1]) == "--hold";
    if (argc != 2 && !hold) {
        std::fprintf(stderr, "usage: qe2e_seed SCENARIO | qe2e_seed --hold SCENARIO MARKER\n");
        return 2;
    }
    std::string path = hold ? argv[2] : argv[1];
    Scenario sc;
    if (!LoadScenario(path, sc)) {
        std::fprintf(stderr, "seed: cannot read %s\n", path.c_str());
        return 2;
    }
    SeedContext cx{MachineVars(sc), DirOf(path)};
    if (hold) return Hold(sc, cx, argv[3]);

    int failures = 0;
    for (const auto& s : sc.sections) {
        auto it = Seeders().find(s.kind);
        if (it == Seeders().end()) continue;
        SeedFn seed = it->second;
        if (IsBulk(s) && s.kind == "driver") seed = SeedDrivers;
        if (IsBulk(s) && s.kind == "printer") seed = SeedPrinters;
        std::string err = seed(s, cx);
        if (!err.empty()) {
            std::fprintf(stderr, "%s:%d: [%s %s]: %s\n", path.c_str(), s.line, s.kind.c_str(), s.name.c_str(),
                         err.c_str());
            ++failures;
        }
    }
    // Every new Wine session starts with the spooler stopped; "spooler = running" starts it. The
    // dry-run report needs it running (it never starts the spooler itself), so "report = yes" too.
    const ScenarioSection& machine = sc.First("machine");
    bool spooler = EqualNoCase(machine.Get("spooler"), "running") || EqualNoCase(machine.Get("report"), "yes");
    if (spooler && !StartSpooler()) {
        std::fprintf(stderr, "%s: cannot start the spooler service, error %lu\n", path.c_str(), GetLastError());
        ++failures;
    }
    if (!WriteStrictConfig(sc, cx)) {
        std::fprintf(stderr, "%s: cannot write the strict library's configuration\n", path.c_str());
        ++failures;
    }
    return failures ? 1 : 0;
}
