// The pure halves of the INI, log-on, registry and shortcut steps: field splitters, the load-line
// editor and the shortcut file names.
#include <doctest/doctest.h>

#include <cstdio>
#include <string>

#include "script/UninstallDatabase.h"
#include "system/EntryFields.h"
#include "system/LoadLine.h"
#include "system/ShortcutNames.h"

namespace {
struct Case {
    const char* input;
    std::string expected;  // the fields joined by "|"; "-" for an entry that is skipped
};

std::string Fields(std::initializer_list<const TextItem*> fields) {
    std::string out;
    for (const TextItem* field : fields) out += std::string(out.empty() ? "" : "|") + field->Text();
    return out;
}

std::string Ini(const char* entry) {
    IniEntryFields f;
    return SplitIniEntry(entry, f) ? Fields({&f.file, &f.section, &f.key}) : "-";
}

std::string LoadRun(const char* entry) {
    LoadRunFields f;
    return SplitLoadRunEntry(entry, f) ? Fields({&f.valueName, &f.program}) : "-";
}

std::string Registry(const char* entry) {
    static const char* const kForms[] = {"value", "key", "tree"};
    RegistryEntryFields f;
    if (!SplitRegistryEntry(entry, f)) return "-";
    return Fields({&f.root, &f.subKey, &f.valueName}) + "|" + kForms[f.Form()];
}

std::string Shortcut(const char* entry) {
    ShortcutFields f;
    if (!SplitShortcutEntry(entry, f)) return "-";
    return Fields({&f.group, &f.description}) + (f.IsGroup() ? "|group" : "") +
           (f.IsStartup() ? "|startup" : "") + (f.GroupStaysInPrograms() ? "" : "|outside");
}

void Check(std::string (*split)(const char*), std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        CAPTURE(c.input);
        CHECK(split(c.input) == c.expected);
    }
}
}  // namespace

TEST_CASE("entry fields of the four lists") {
    SUBCASE("DeleteIni: three non-empty fields, quotes as written, more fields ignored") {
        Check(Ini, {{"C:\\dir\\qln.ini,Printers,Laser,more", "C:\\dir\\qln.ini|Printers|Laser"},
                    {"\"qln.ini\",Printers,\"Laser\"", "\"qln.ini\"|Printers|\"Laser\""},
                    {"qln.ini,Printers", "-"},
                    {"qln.ini,,Laser", "-"}});
    }
    SUBCASE("DeleteLoadRun: quotes removed, the program is the rest, neither may be empty") {
        Check(LoadRun,
              {{"\"Quellan Status\",\"C:\\Q\\QLNSTAT.EXE /q\"", "Quellan Status|C:\\Q\\QLNSTAT.EXE /q"},
               {"Status,a.exe,b.exe", "Status|a.exe,b.exe"},
               {"QLNStatus,", "-"},
               {"\"\",QLNSTAT.EXE", "-"}});  // would name the Run key's default value
    }
    SUBCASE("RegistryKeys: three fields at least; a value name decides before the flag") {
        Check(Registry,
              {{"HKLM,\"SOFTWARE\\Q\",\"\",1", "HKLM|SOFTWARE\\Q||tree"},
               {"HKLM,\"SOFTWARE\\Q\",\"\",1 Deltree", "HKLM|SOFTWARE\\Q||tree"},
               {"HKLM,\"SOFTWARE\\Q\",\"\",0", "HKLM|SOFTWARE\\Q||key"},
               {"HKLM,\"SOFTWARE\\Q\",\"\",\"1\"", "HKLM|SOFTWARE\\Q||key"},  // the flag keeps quotes
               {"\"HKU\",SOFTWARE\\Q,", "HKU|SOFTWARE\\Q||key"},
               {"hkcu,\"SOFTWARE\\Q\",\"Interval\",1", "hkcu|SOFTWARE\\Q|Interval|value"},
               {"HKLM,\"SOFTWARE\\Q\"", "-"},
               {"HKLM,\"SOFTWARE\\Q,\"\",1", "-"},  // an unbalanced quote makes one field
               // Commas inside quotes belong to the field: split there, these would name the
               // value "B" of key "A" and the value "P" of key "X".
               {"HKLM,\"A,B\",\"\",1", "HKLM|A,B||tree"},
               {"HKLM,\"X\",\"P,Q\",0", "HKLM|X|P,Q|value"}});
        CHECK(RegistryRootFromName("HkCu") == kRootCurrentUser);
        CHECK(RegistryRootFromName("HKU") == kRootUsers);
        CHECK(RegistryRootFromName("HKEY_LOCAL_MACHINE") == -1);
    }
    SUBCASE("Shortcuts: quotes removed, an empty group is no entry") {
        Check(Shortcut,
              {{"\"Quellan Printers\",\"\"", "Quellan Printers||group"},
               {"Quellan Printers,Quellan Status,startup", "Quellan Printers|Quellan Status|startup"},
               {"Quellan Printers,Quellan Status,STARTUP,more", "Quellan Printers|Quellan Status"},
               {"\"\",Quellan Setup", "-"},  // would name the Programs folder itself
               // Nested groups stay under Programs; these would name a folder elsewhere.
               {"Quellan\\Printers..,Setup", "Quellan\\Printers..|Setup"},
               {"Quellan\\..\\..\\..\\Windows,win.ini", "Quellan\\..\\..\\..\\Windows|win.ini|outside"},
               {"..", "..||group|outside"},
               {"C:\\Windows,win.ini", "C:\\Windows|win.ini|outside"},
               {"\\Windows,win.ini", "\\Windows|win.ini|outside"}});
    }
}

TEST_CASE("shortcut file names tried for a description") {
    auto names = [](const char* description) {
        TextList list;
        ShortcutFileNames(description, list);
        std::string out;
        for (const TextItem& name : list) out += std::string(out.empty() ? "" : "|") + name.Text();
        return out;
    };
    Check(names, {{"Setup", "Setup|Setup.LNK|Setup.PIF"},
                  {"Setup.lnk", "Setup.lnk|Setup.LNK|Setup.PIF"},
                  // The name part ends at the last dot; the whole description is tried as well.
                  {"Version 1.2", "Version 1.2|Version 1.LNK|Version 1.PIF|Version 1.2.LNK|Version 1.2.PIF"},
                  {"..\\..\\Windows\\Setup", "Setup|Setup.LNK|Setup.PIF"}});
    std::string name(255, 'n');  // with ".2.LNK" 261 characters: left out rather than cut
    CHECK(names((name + ".2").c_str()) == name + ".2|" + name + ".LNK|" + name + ".PIF");
}

TEST_CASE("Win32s load line: only the first occurrence decides") {
    auto remove = [](const char* input) {
        char line[64];
        snprintf(line, sizeof line, "%s", input);
        int changed = RemoveLoadLineProgram(line, "b.exe");
        return std::to_string(changed) + "|" + line;
    };
    Check(remove, {{"a.exe b.exe", "1|a.exe "},   // the space before it stays
                   {"b.exe  c.exe", "1| c.exe"},  // only the one space after it goes
                   {"a.exe b.exe c.exe", "1|a.exe c.exe"},
                   {"ab.exe b.exe", "0|ab.exe b.exe"},  // later occurrences are never examined
                   {"b.exex b.exe", "0|b.exex b.exe"},
                   {"", "0|"}});
}
