// The database's set computations against the plain model, on thousands of random machines. The
// random data reuses entries and names in several spellings ("a.dll", "A.DLL"), because which
// spelling survives a union is part of what the removal steps see.
#include <doctest/doctest.h>

#include <random>
#include <string>

#include "../model/RemovalSetModel.h"
#include "script/UninstallDatabase.h"

namespace {
class RandomMachine {
public:
    explicit RandomMachine(unsigned seed) : rng_(seed) {}

    void Fill(UninstallDatabase& db, model::Database& m) {
        int profiles = Pick(14);
        for (int i = 0; i < profiles; ++i) AddProfile(db, m);
        int printers = Pick(10);
        for (int i = 0; i < printers; ++i) AddPrinter(db, m);
    }

    // A new selection on the same printers, as the selection page would make it.
    void Reselect(UninstallDatabase& db, model::Database& m) {
        for (size_t i = 0; i < db.Printers().size(); ++i) {
            int excluded = Pick(2);
            db.Printers()[i].excluded = excluded;
            m.printers[i].excluded = excluded;
        }
    }

    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

private:
    std::string Spelling(std::string text) {
        for (char& c : text)
            if (Pick(3) == 0) c = static_cast<char>((c >= 'a' && c <= 'z') ? c - 32 : (c >= 'A' && c <= 'Z') ? c + 32 : c);
        return text;
    }

    std::string ProfileName() {
        static const char* const names[] = {"Quellan 100", "Quellan 200", "Quellan", "Quellan Fax", "Vizora",
                                            "Acme",        "Acme Laser",  "Acme_1",  "Quellan 100 PS"};
        return Spelling(names[Pick(9)]);
    }

    std::string Entry() {
        static const char* const entries[] = {"a.dll", "b.dll", "q_mon", "Qa", "viz.exe", "vizora32.exe",
                                              "x",     "y",     "z",     "[z]", "HKLM,\"S\",\"\",1"};
        return Spelling(entries[Pick(11)]);
    }

    void AddProfile(UninstallDatabase& db, model::Database& m) {
        static const char* const paths[] = {"C:\\A\\Qunz__01.unm", "C:\\B\\QUNZ__01.UNM", "C:\\C\\other.txt",
                                            "D:x.unm", ""};
        UninstallProfile p;
        model::Profile mp;
        mp.name = ProfileName();
        int kind = Pick(4);
        mp.isManufacturer = kind == 0;
        mp.isCatchAll = kind == 2;
        mp.isIgnore = kind == 3;
        mp.scriptPath = paths[Pick(5)];
        bool sorted = Pick(4) != 0;  // as scripts give them; now and then in any order
        for (int k = 0; k < model::kLists; ++k) {
            int count = Pick(5);
            for (int e = 0; e < count; ++e) mp.lists[k].push_back(Entry());
            if (k == kDrivers && kind != 0) mp.lists[k].push_back(mp.name);
            if (sorted) {
                model::Sort(mp.lists[k]);
                model::Unique(mp.lists[k]);
            }
        }
        p.name.Assign(mp.name.c_str());
        p.isManufacturer = mp.isManufacturer;
        p.isCatchAll = mp.isCatchAll;
        p.isIgnore = mp.isIgnore;
        p.scriptPath.Assign(mp.scriptPath.c_str());
        for (int k = 0; k < model::kLists; ++k)
            for (const std::string& e : mp.lists[k]) p.List(k).Append(e.c_str());
        db.Profiles().push_back(p);
        m.profiles.push_back(mp);
    }

    void AddPrinter(UninstallDatabase& db, model::Database& m) {
        static const char* const names[] = {"P0", "P1", "P2", "P3", "p1", "Fax"};
        static const char* const drivers[] = {"Quellan 100", "QUELLAN 999", "QuellanX 1", "Acme Laser",
                                              "acme",        "Other",       "Vizora",     "Quellan"};
        model::Printer mp;
        mp.name = names[Pick(6)];
        mp.driver = Pick(2) ? ProfileName() : Spelling(drivers[Pick(8)]);
        mp.vizoredName = Pick(3) == 0 ? Spelling(names[Pick(6)]) : "";
        mp.isForeign = Pick(10) == 0;
        mp.deleted = Pick(10) == 0;
        mp.excluded = Pick(2);
        InstalledPrinter p;
        p.name.Assign(mp.name.c_str());
        p.driver.Assign(mp.driver.c_str());
        p.vizoredName.Assign(mp.vizoredName.c_str());
        p.isForeign = mp.isForeign;
        p.deleted = mp.deleted;
        p.excluded = mp.excluded;
        db.Printers().push_back(p);
        m.printers.push_back(mp);
    }

    std::mt19937 rng_;
};

std::string Text(const TextList& list) {
    std::string out;
    for (const TextItem& item : list) out += std::string(item.Text()) + "|";
    return out;
}

std::string Text(const model::List& list) {
    std::string out;
    for (const std::string& item : list) out += item + "|";
    return out;
}

// Every list of a profile in one text, so that a difference shows where it is.
std::string Dump(const UninstallProfile& p) {
    std::string out = std::string(p.name.Text()) + "\n";
    for (int k = 0; k < model::kLists; ++k) out += std::string(ProfileListName(k)) + ": " + Text(p.List(k)) + "\n";
    return out;
}

std::string Dump(const model::Profile& p) {
    std::string out = p.name + "\n";
    for (int k = 0; k < model::kLists; ++k) out += std::string(ProfileListName(k)) + ": " + Text(p.lists[k]) + "\n";
    return out;
}

std::string Flags(const UninstallDatabase& db) {
    std::string out = std::to_string(db.RemovedPrinterCount()) + "/" + std::to_string(db.RemainingPrinterCount()) +
                      "/" + std::to_string(db.VizoraKept()) + " excluded ";
    for (const InstalledPrinter& p : db.Printers()) out += std::to_string(p.excluded);
    out += " profiles ";
    for (const UninstallProfile& p : db.Profiles()) out += std::string(p.name.Text()) + "|";
    return out;
}

std::string Flags(const model::Database& m) {
    std::string out = std::to_string(m.removedCount) + "/" + std::to_string(m.remainingCount) + "/" +
                      std::to_string(m.vizoraKept) + " excluded ";
    for (const model::Printer& p : m.printers) out += std::to_string(p.excluded);
    out += " profiles ";
    for (const model::Profile& p : m.profiles) out += p.name + "|";
    return out;
}

void CheckSame(const UninstallDatabase& db, const model::Database& m) {
    CHECK(Dump(db.Candidate()) == Dump(m.candidate));
    CHECK(Dump(db.Keep()) == Dump(m.keep));
    CHECK(Dump(db.Removal()) == Dump(m.removal));
    CHECK(Flags(db) == Flags(m));
}
}  // namespace

TEST_CASE("database: candidates and removal sets equal the plain model on random machines") {
    for (unsigned seed = 1; seed <= 1500; ++seed) {
        CAPTURE(seed);
        RandomMachine machine(seed);
        int family = 1 + machine.Pick(3);
        UninstallDatabase db(family);
        model::Database m;
        m.osFamily = family;
        machine.Fill(db, m);
        bool unviz = machine.Pick(4) == 0;
        REQUIRE(db.BuildCandidates(unviz) == m.BuildCandidates(unviz));
        // Each computation starts from the candidates and the current flags, so a second one with
        // another selection must not see anything of the first.
        for (int round = 0; round < 2; ++round) {
            REQUIRE(db.ComputeRemovalSet());
            m.ComputeRemovalSet();
            CheckSame(db, m);
            machine.Reselect(db, m);
        }
    }
}
