// The pure halves of the INI, log-on, registry and shortcut steps: field splitters, the load-line
// editor, the shortcut file names and the Program Manager commands.
#include <doctest/doctest.h>

#include <cstdio>
#include <string>

#include "script/UninstallDatabase.h"
#include "system/EntryFields.h"
#include "system/LoadLine.h"
#include "system/ProgmanCommands.h"
#include "system/ShortcutNames.h"

namespace {
std::string Join(const TextList& list) {
    std::string out;
    for (const TextItem& item : list) out += std::string(out.empty() ? "" : "|") + item.Text();
    return out;
}
}  // namespace

TEST_CASE("DeleteIni entries: file, section and key, quotes as written") {
    struct {
        const char* entry;
        bool valid;
        const char* file;
        const char* section;
        const char* key;
    } cases[] = {
        {"qln.ini,Printers,Laser", true, "qln.ini", "Printers", "Laser"},
        {"C:\\dir\\qln.ini,Printers,Laser,ignored,too", true, "C:\\dir\\qln.ini", "Printers", "Laser"},
        {"\"qln.ini\",Printers,\"Laser\"", true, "\"qln.ini\"", "Printers", "\"Laser\""},
        {"qln.ini,Printers", false, "", "", ""},
        {"qln.ini,,Laser", false, "", "", ""},
        {",Printers,Laser", false, "", "", ""},
        {"qln.ini,Printers,", false, "", "", ""},
        {"", false, "", "", ""},
    };
    for (const auto& c : cases) {
        CAPTURE(c.entry);
        IniEntryFields fields;
        REQUIRE(SplitIniEntry(c.entry, fields) == c.valid);
        if (!c.valid) continue;
        CHECK(std::string(fields.file.Text()) == c.file);
        CHECK(std::string(fields.section.Text()) == c.section);
        CHECK(std::string(fields.key.Text()) == c.key);
    }
}

TEST_CASE("DeleteLoadRun entries: value name and program, quotes removed") {
    struct {
        const char* entry;
        bool valid;
        const char* valueName;
        const char* program;
    } cases[] = {
        {"QLNStatus,QLNSTAT.EXE", true, "QLNStatus", "QLNSTAT.EXE"},
        {"\"Quellan Status\",\"C:\\Program Files\\QLNSTAT.EXE /q\"", true, "Quellan Status",
         "C:\\Program Files\\QLNSTAT.EXE /q"},
        {"Status,a.exe,b.exe", true, "Status", "a.exe,b.exe"},  // the program is the rest
        {"QLNStatus", false, "", ""},
        {"QLNStatus,", false, "", ""},
        {",QLNSTAT.EXE", false, "", ""},
        {"\"\",QLNSTAT.EXE", false, "", ""},  // would name the Run key's default value
    };
    for (const auto& c : cases) {
        CAPTURE(c.entry);
        LoadRunFields fields;
        REQUIRE(SplitLoadRunEntry(c.entry, fields) == c.valid);
        if (!c.valid) continue;
        CHECK(std::string(fields.valueName.Text()) == c.valueName);
        CHECK(std::string(fields.program.Text()) == c.program);
    }
}

TEST_CASE("RegistryKeys entries: root, subkey, value name and the form they ask for") {
    struct {
        const char* entry;
        bool valid;
        const char* root;
        const char* subKey;
        const char* valueName;
        RegistryEntryForm form;
    } cases[] = {
        {"HKLM,\"SOFTWARE\\Q\\Status\",\"\",1", true, "HKLM", "SOFTWARE\\Q\\Status", "", kRegistryTree},
        {"HKLM,\"SOFTWARE\\Q\",\"\",0", true, "HKLM", "SOFTWARE\\Q", "", kRegistryKey},
        {"HKLM,\"SOFTWARE\\Q\",\"\",", true, "HKLM", "SOFTWARE\\Q", "", kRegistryKey},
        {"HKLM,\"SOFTWARE\\Q\",\"\"", true, "HKLM", "SOFTWARE\\Q", "", kRegistryKey},
        {"HKLM,SOFTWARE\\Q,", true, "HKLM", "SOFTWARE\\Q", "", kRegistryKey},
        {"HKLM,\"SOFTWARE\\Q\",\"\",1 Deltree", true, "HKLM", "SOFTWARE\\Q", "", kRegistryTree},
        {"HKLM,\"SOFTWARE\\Q\",\"\",\"1\"", true, "HKLM", "SOFTWARE\\Q", "",
         kRegistryKey},  // flag keeps quotes
        {"HKCU,\"SOFTWARE\\Q\",\"Interval\",1", true, "HKCU", "SOFTWARE\\Q", "Interval", kRegistryValue},
        {"\"HKU\",\".DEFAULT\\Q\",Name", true, "HKU", ".DEFAULT\\Q", "Name", kRegistryValue},
        // A comma inside quotes belongs to the field: split at it, the entry would delete the value
        // "B" of key "A" (and "Q" of "SOFTWARE\X").
        {"HKLM,\"SOFTWARE\\A,B\",\"\",1", true, "HKLM", "SOFTWARE\\A,B", "", kRegistryTree},
        {"HKLM,\"SOFTWARE\\X\",\"P,Q\",0", true, "HKLM", "SOFTWARE\\X", "P,Q", kRegistryValue},
        {"HKLM,\"SOFTWARE\\Q\"", false, "", "", "", kRegistryKey},
        {"HKLM,\"SOFTWARE\\Q,\"\",1", false, "", "", "", kRegistryKey},  // unbalanced quote: one field
        {"HKLM", false, "", "", "", kRegistryKey},
    };
    for (const auto& c : cases) {
        CAPTURE(c.entry);
        RegistryEntryFields fields;
        REQUIRE(SplitRegistryEntry(c.entry, fields) == c.valid);
        if (!c.valid) continue;
        CHECK(std::string(fields.root.Text()) == c.root);
        CHECK(std::string(fields.subKey.Text()) == c.subKey);
        CHECK(std::string(fields.valueName.Text()) == c.valueName);
        CHECK(fields.Form() == c.form);
    }
}

TEST_CASE("registry roots are the four short names only") {
    CHECK(RegistryRootFromName("HKLM") == kRootLocalMachine);
    CHECK(RegistryRootFromName("hkcr") == kRootClassesRoot);
    CHECK(RegistryRootFromName("HkCu") == kRootCurrentUser);
    CHECK(RegistryRootFromName("HKU") == kRootUsers);
    CHECK(RegistryRootFromName("HKEY_LOCAL_MACHINE") == -1);
    CHECK(RegistryRootFromName("HKCC") == -1);
    CHECK(RegistryRootFromName("") == -1);
}

TEST_CASE("Shortcuts entries: group, description, location") {
    struct {
        const char* entry;
        bool valid;
        const char* group;
        const char* description;
        bool isGroup;
        bool isStartup;
    } cases[] = {
        {"Quellan Printers", true, "Quellan Printers", "", true, false},
        {"Quellan Printers,", true, "Quellan Printers", "", true, false},
        {"\"Quellan Printers\",\"\"", true, "Quellan Printers", "", true, false},
        {"Quellan Printers,Quellan Setup", true, "Quellan Printers", "Quellan Setup", false, false},
        {"\"Quellan Printers\",\"Quellan Status\",\"startup\"", true, "Quellan Printers", "Quellan Status",
         false, true},
        {"Quellan Printers,Quellan Status,Desktop", true, "Quellan Printers", "Quellan Status", false, false},
        {"Quellan Printers,Quellan Status,STARTUP,more", true, "Quellan Printers", "Quellan Status", false,
         false},
        {",Quellan Setup", false, "", "", false, false},
        {"\"\",Quellan Setup", false, "", "", false, false},  // would name the Programs folder itself
    };
    for (const auto& c : cases) {
        CAPTURE(c.entry);
        ShortcutFields fields;
        REQUIRE(SplitShortcutEntry(c.entry, fields) == c.valid);
        if (!c.valid) continue;
        CHECK(std::string(fields.group.Text()) == c.group);
        CHECK(std::string(fields.description.Text()) == c.description);
        CHECK(fields.IsGroup() == c.isGroup);
        CHECK(fields.IsStartup() == c.isStartup);
    }
}

TEST_CASE("splitters take any entry without writing past a field") {
    std::string longEntry(300, ',');
    longEntry += std::string(300, '"');
    IniEntryFields ini;
    LoadRunFields run;
    RegistryEntryFields reg;
    ShortcutFields link;
    SplitIniEntry(longEntry.c_str(), ini);
    SplitLoadRunEntry(longEntry.c_str(), run);
    SplitRegistryEntry(longEntry.c_str(), reg);
    SplitShortcutEntry(longEntry.c_str(), link);
    CHECK_FALSE(SplitShortcutEntry(nullptr, link));
    CHECK_FALSE(SplitRegistryEntry(nullptr, reg));
}

TEST_CASE("shortcut file names tried for a description") {
    struct {
        const char* description;
        const char* names;
    } cases[] = {
        {"Quellan Setup", "Quellan Setup|Quellan Setup.LNK|Quellan Setup.PIF"},
        {"Quellan Setup.lnk", "Quellan Setup.lnk|Quellan Setup.LNK|Quellan Setup.PIF"},
        {"Setup.pif", "Setup.pif|Setup.LNK|Setup.PIF"},
        // The name part ends at the last dot; the whole description with the extensions is tried too.
        {"Version 1.2", "Version 1.2|Version 1.LNK|Version 1.PIF|Version 1.2.LNK|Version 1.2.PIF"},
        {"Read me.txt", "Read me.txt|Read me.LNK|Read me.PIF|Read me.txt.LNK|Read me.txt.PIF"},
        {"..\\..\\Windows\\Setup", "Setup|Setup.LNK|Setup.PIF"},  // no directory part leaves the folder
        {".lnk", ".lnk"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.description);
        TextList names;
        ShortcutFileNames(c.description, names);
        CHECK(Join(names) == c.names);
    }
    TextList names;
    std::string longName(255, 'n');
    ShortcutFileNames((longName + ".2").c_str(), names);
    CHECK(Join(names) == longName + ".2|" + longName + ".LNK|" + longName + ".PIF");  // 261 would not fit
}

TEST_CASE("Win32s load line: the first occurrence decides") {
    struct {
        const char* line;
        const char* program;
        int changed;
        const char* after;
    } cases[] = {
        {"a.exe b.exe", "b.exe", 1, "a.exe "},  // the space before it stays
        {"a.exe b.exe c.exe", "b.exe", 1, "a.exe c.exe"},
        {"b.exe c.exe", "b.exe", 1, "c.exe"},
        {"b.exe", "b.exe", 1, ""},
        {"xabc.exe abc.exe def.exe", "abc.exe", 0, "xabc.exe abc.exe def.exe"},
        {"abc.exex abc.exe", "abc.exe", 0, "abc.exex abc.exe"},
        {"a.exe  b.exe  c.exe", "b.exe", 1, "a.exe   c.exe"},  // only the one space after it goes
        {"a.exe", "b.exe", 0, "a.exe"},
        {"", "b.exe", 0, ""},
        {"a.exe", "", 0, "a.exe"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.line);
        char line[64];
        snprintf(line, sizeof line, "%s", c.line);
        CHECK(RemoveLoadLineProgram(line, c.program) == c.changed);
        CHECK(std::string(line) == c.after);
    }
}

TEST_CASE("Program Manager commands fit 64 characters or are refused") {
    char command[kProgmanCommandSize];
    CHECK(FormatShowGroupCommand(command, "Quellan Printers"));
    CHECK(std::string(command) == "[ShowGroup(Quellan Printers,1)]");
    CHECK(FormatDeleteItemCommand(command, "Quellan Setup"));
    CHECK(std::string(command) == "[DeleteItem(Quellan Setup)]");

    CHECK(FormatShowGroupCommand(command, std::string(48, 'g').c_str()));
    CHECK_FALSE(FormatShowGroupCommand(command, std::string(49, 'g').c_str()));
    CHECK(std::string(command).empty());
    CHECK(FormatDeleteItemCommand(command, std::string(49, 'i').c_str()));
    CHECK_FALSE(FormatDeleteItemCommand(command, std::string(50, 'i').c_str()));

    const char* unsafe[] = {"",     "Printers, Inc", "Setup)][DeleteGroup(Accessories",
                            "A[1]", "\"Quoted\"",    "(x)"};
    for (const char* name : unsafe) {
        CAPTURE(name);
        CHECK_FALSE(FormatShowGroupCommand(command, name));
        CHECK_FALSE(FormatDeleteItemCommand(command, name));
    }
}
