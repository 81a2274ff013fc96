// Loading, candidate building and removal-set computation on generated machines, beside the plain
// model (the literal baseline) and one plain sort of every entry (the floor).
//
// Scale 1 is 20 scripts of 25 profiles (3 manufacturers, 18 drivers, 2 catch-all, 2 ignored), each of
// the ten section lists holding 100 entries, and 500 printers of which half stay. Entries are drawn
// from a window of a shared pool, so neighbouring profiles share about three quarters of them, and
// are written in random letter case. Scales 4 and 16 multiply scripts, pool and printers.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "../model/RemovalSetModel.h"
#include "script/UninstallDatabase.h"

namespace {
const int kProfilesPerScript = 25;
const int kEntriesPerList = 100;

struct Workload {
    std::vector<std::string> scripts;
    std::vector<std::string> paths;
    std::vector<InstalledPrinter> printers;
};

std::string RandomCase(std::string text, std::mt19937& rng) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z' && rng() % 4 == 0) c = static_cast<char>(c - 32);
    return text;
}

std::string EntryText(int kind, int n) {
    switch (kind) {
    case kRegistryKeys: return "HKLM,\"software\\q\\k" + std::to_string(n) + "\",\"\",1";
    case kDeleteIni: return "q" + std::to_string(n) + ".ini,sect,key";
    case kShortcuts: return "grp,item" + std::to_string(n) + ",";
    default: return std::string(ProfileListName(kind)).substr(0, 3) + "_entry" + std::to_string(n) + ".dll";
    }
}

std::string ProfileName(int id) {
    static const char letters[] = {'M', 'M', 'M', 'D', 'D', 'D', 'D', 'D', 'D', 'D', 'D', 'D', 'D',
                                   'D', 'D', 'D', 'D', 'D', 'D', 'D', 'D', 'C', 'C', 'I', 'I'};
    return std::string(1, letters[id % kProfilesPerScript]) + std::to_string(id);
}

Workload Generate(int scale) {
    std::mt19937 rng(1234);
    Workload w;
    int scripts = 20 * scale;
    int profiles = scripts * kProfilesPerScript;
    for (int s = 0; s < scripts; ++s) {
        std::string mfgs = "[UnPrinterMfgs]\n", drivers = "[UnPrinterDrivers]\n", catchAll = "[Unz_CatchAll]\n",
                    ignored = "[Unx_Ignore]\n", sections;
        for (int i = 0; i < kProfilesPerScript; ++i) {
            int id = s * kProfilesPerScript + i;
            std::string name = ProfileName(id);
            std::string line = name + "," + name + "\n";
            switch (name[0]) {
            case 'M': mfgs += line; break;
            case 'D': drivers += line; break;
            case 'C': catchAll += line; break;
            default: ignored += line; break;
            }
            for (int kind = 0; kind < kProfileListCount; ++kind) {
                if (!IsSectionList(kind)) continue;
                sections += "[" + name + "." + ProfileListName(kind) + "]\n";
                // A window of 130 pool entries per profile, moving 30 per profile.
                int base = id * 30;
                std::vector<int> picks;
                for (int n = 0; n < 130; ++n) picks.push_back(base + n);
                std::shuffle(picks.begin(), picks.end(), rng);
                for (int e = 0; e < kEntriesPerList; ++e) sections += RandomCase(EntryText(kind, picks[e]), rng) + "\n";
            }
        }
        w.scripts.push_back(mfgs + drivers + catchAll + ignored + sections);
        w.paths.push_back("C:\\WINDOWS\\SYSTEM32\\spool\\drivers\\w32x86\\" + std::to_string(s) + "\\Qunz__01.unm");
    }
    int printers = 500 * scale;
    for (int p = 0; p < printers; ++p) {
        InstalledPrinter printer;
        printer.name.Assign(("Printer " + std::to_string(p)).c_str());
        int id = static_cast<int>(rng() % static_cast<unsigned>(profiles));
        std::string driver = ProfileName(id);
        // Manufacturer profiles are met through the first word of a model name.
        if (driver[0] == 'M') driver += " Model " + std::to_string(p);
        printer.driver.Assign(RandomCase(driver, rng).c_str());
        if (p % 10 == 0 && p > 0) printer.vizoredName.Assign(("printer " + std::to_string(p - 1)).c_str());
        printer.isSpoolara = 1;
        printer.excluded = p % 2;
        w.printers.push_back(printer);
    }
    return w;
}

// One loaded machine per scale, kept while benchmarks of that scale run.
struct Machine {
    int scale = 0;
    std::unique_ptr<UninstallDatabase> db;
    Workload work;
};

Machine& Loaded(int scale) {
    static Machine machine;
    if (machine.scale != scale) {
        machine.db.reset();
        machine.work = Generate(scale);
        machine.db.reset(new UninstallDatabase(3));
        for (size_t i = 0; i < machine.work.scripts.size(); ++i)
            machine.db->LoadScriptText(machine.work.scripts[i].data(), machine.work.scripts[i].size(),
                                       machine.work.paths[i].c_str());
        machine.db->BuildCandidates(false);
        machine.db->Printers() = machine.work.printers;
        machine.scale = scale;
    }
    return machine;
}

model::Database ModelOf(const UninstallDatabase& db) {
    model::Database m;
    m.osFamily = db.OSFamily();
    for (const UninstallProfile& p : db.Profiles()) {
        model::Profile mp;
        mp.name = p.name.Text();
        mp.isManufacturer = p.isManufacturer;
        mp.isCatchAll = p.isCatchAll;
        mp.isIgnore = p.isIgnore;
        mp.scriptPath = p.scriptPath.Text();
        for (int k = 0; k < kProfileListCount; ++k)
            for (const TextItem& item : p.List(k)) mp.lists[k].push_back(item.Text());
        m.profiles.push_back(mp);
    }
    for (const InstalledPrinter& p : db.Printers()) {
        model::Printer mp;
        mp.name = p.name.Text();
        mp.driver = p.driver.Text();
        mp.vizoredName = p.vizoredName.Text();
        mp.isForeign = p.isForeign;
        mp.deleted = p.deleted;
        mp.excluded = p.excluded;
        m.printers.push_back(mp);
    }
    return m;
}

size_t EntryCount(const UninstallDatabase& db) {
    size_t n = 0;
    for (const UninstallProfile& p : db.Profiles())
        for (int k = 0; k < kProfileListCount; ++k) n += static_cast<size_t>(p.List(k).Count());
    return n;
}

void LoadScripts(benchmark::State& state) {
    int scale = static_cast<int>(state.range(0));
    Machine& machine = Loaded(scale);
    for (auto _ : state) {
        UninstallDatabase db(3);
        for (size_t i = 0; i < machine.work.scripts.size(); ++i)
            db.LoadScriptText(machine.work.scripts[i].data(), machine.work.scripts[i].size(),
                              machine.work.paths[i].c_str());
        benchmark::DoNotOptimize(db.Profiles().data());
    }
    state.counters["profiles"] = static_cast<double>(machine.db->Profiles().size());
}

void BuildCandidates(benchmark::State& state) {
    Machine& machine = Loaded(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(machine.db->BuildCandidates(false));
    state.counters["entries"] = static_cast<double>(EntryCount(*machine.db));
}

void ComputeRemovalSet(benchmark::State& state) {
    Machine& machine = Loaded(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        machine.db->Printers() = machine.work.printers;
        benchmark::DoNotOptimize(machine.db->ComputeRemovalSet());
    }
    state.counters["removed"] = static_cast<double>(machine.db->Removal().Files.Count());
}

void LiteralBuildCandidates(benchmark::State& state) {
    Machine& machine = Loaded(static_cast<int>(state.range(0)));
    model::Database m = ModelOf(*machine.db);
    for (auto _ : state) benchmark::DoNotOptimize(m.BuildCandidates(false));
}

void LiteralComputeRemovalSet(benchmark::State& state) {
    Machine& machine = Loaded(static_cast<int>(state.range(0)));
    model::Database m = ModelOf(*machine.db);
    m.BuildCandidates(false);
    std::vector<model::Printer> printers = m.printers;
    for (auto _ : state) {
        m.printers = printers;
        m.ComputeRemovalSet();
    }
}

// The floor: one sort of pointers to every entry of every profile, with the same comparison.
void SortAllEntries(benchmark::State& state) {
    Machine& machine = Loaded(static_cast<int>(state.range(0)));
    std::vector<const TextItem*> all;
    for (const UninstallProfile& p : machine.db->Profiles())
        for (int k = 0; k < kProfileListCount; ++k)
            for (const TextItem& item : p.List(k)) all.push_back(&item);
    for (auto _ : state) {
        std::vector<const TextItem*> copy = all;
        std::sort(copy.begin(), copy.end(),
                  [](const TextItem* a, const TextItem* b) { return CompareNoCase(a->Text(), b->Text()) < 0; });
        benchmark::DoNotOptimize(copy.data());
    }
    state.counters["entries"] = static_cast<double>(all.size());
}
}  // namespace

// Grouped by scale so each generated machine is built once.
#define QU_AT_SCALE(scale)                                                                          \
    BENCHMARK(LoadScripts)->Arg(scale)->Unit(benchmark::kMillisecond);                             \
    BENCHMARK(BuildCandidates)->Arg(scale)->Unit(benchmark::kMillisecond);                         \
    BENCHMARK(ComputeRemovalSet)->Arg(scale)->Unit(benchmark::kMillisecond);                       \
    BENCHMARK(SortAllEntries)->Arg(scale)->Unit(benchmark::kMillisecond);

QU_AT_SCALE(1)
BENCHMARK(LiteralBuildCandidates)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LiteralComputeRemovalSet)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
QU_AT_SCALE(4)
QU_AT_SCALE(16)

BENCHMARK_MAIN();
