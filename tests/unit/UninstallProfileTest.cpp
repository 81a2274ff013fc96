#include <doctest/doctest.h>

#include <string>

#include "script/ScriptReader.h"
#include "script/UninstallProfile.h"

namespace {
ScriptReader Read(const std::string& text) {
    ScriptReader reader;
    reader.LoadFromMemory(text.data(), text.size());
    return reader;
}

std::string Join(const TextList& list) {
    std::string out;
    for (const TextItem& item : list) out += std::string(item.Text()) + "|";
    return out;
}
}  // namespace

TEST_CASE("profile: starter fields") {
    ScriptReader reader = Read("[X]\n");
    UninstallProfile p = MakeProfile("\"\"Quellan 2000 PS\"\",\"Pre\", 42abc", reader);
    CHECK(std::string(p.name.Text()) == "Quellan 2000 PS");
    CHECK(std::string(p.sectionPrefix.Text()) == "\"Pre\"");  // quotes around the prefix stay
    CHECK(p.number == 42);
    CHECK(p.isManufacturer == 0);

    UninstallProfile spaced = MakeProfile(" Name , P ,x7", reader);
    CHECK(std::string(spaced.name.Text()) == " Name ");
    CHECK(std::string(spaced.sectionPrefix.Text()) == " P ");
    CHECK(spaced.number == 0);

    CHECK(MakeProfile("A,B,-12", reader).number == -12);
    CHECK(MakeProfile("A,B,99999999999", reader).number == 2147483647);
    CHECK(MakeProfile("A,B", reader).number == 0);
    CHECK(MakeProfile("A,B,3,4", reader).number == 3);
}

TEST_CASE("profile: entry sections are read sorted and unique, by prefix and suffix") {
    ScriptReader reader = Read(
        "[P.Files]\nb.dll\nA.DLL\na.dll\nc.dll=ignored by the file step\n"
        "[p.MONITORS]\nMon\n"
        "[P.Services]\n"
        "[P.Drivers]\nnot read\n"
        "[P.OemPaths]\nnot read\n"
        "[.Files]\nbare.dll\n");
    UninstallProfile p = MakeProfile("Drv,P,1", reader);
    CHECK(Join(p.Files) == "A.DLL|b.dll|c.dll=ignored by the file step|");
    CHECK(Join(p.Monitors) == "Mon|");
    CHECK(p.Services.IsEmpty());
    CHECK(p.Drivers.IsEmpty());
    CHECK(p.OemPaths.IsEmpty());

    // Without any comma the prefix is empty and the sections are ".Files" and so on.
    UninstallProfile bare = MakeProfile("Drv", reader);
    CHECK(Join(bare.Files) == "bare.dll|");
}

TEST_CASE("profile: an entry section is read through 4096 bytes") {
    std::string text = "[P.Files]\n";
    for (int i = 0; i < 50; ++i) text += "f" + std::to_string(100 + i) + std::string(95, 'x') + "\n";  // 100 bytes
    ScriptReader reader = Read(text);
    UninstallProfile p = MakeProfile("D,P,0", reader);
    CHECK(p.Files.Count() == 40);  // 40 * 100 = 4000 < 4096; the 41st would reach 4100

    // A section name over 259 characters is never looked up, so a cut name cannot find another section.
    std::string prefix(255, 'p');
    ScriptReader longName = Read("[" + prefix + ".Fil]\nwrong.dll\n[" + prefix + ".Files]\nright.dll\n");
    UninstallProfile q = MakeProfile(("D," + prefix + ",0").c_str(), longName);
    CHECK(q.Files.IsEmpty());
}

TEST_CASE("profile: list access follows the declared order") {
    UninstallProfile p;
    for (int kind = 0; kind < kProfileListCount; ++kind) p.List(kind).Append(ProfileListName(kind));
    CHECK(Join(p.DeleteIni) == "DeleteIni|");
    CHECK(Join(p.Drivers) == "Drivers|");
    CHECK(Join(p.RegistryKeys) == "RegistryKeys|");
    CHECK_FALSE(IsSectionList(kDrivers));
    CHECK_FALSE(IsSectionList(kOemPaths));
    CHECK(IsSectionList(kShortcuts));
    UninstallProfile copy = p;
    p.Clear();
    CHECK(p.Hooks.IsEmpty());
    CHECK(Join(copy.Hooks) == "Hooks|");
}
