// One script entry through every field splitter of the removal steps, and the fields on into what
// the steps build from them: shortcut file names and Program Manager commands.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "system/EntryFields.h"
#include "system/ProgmanCommands.h"
#include "system/ShortcutNames.h"

namespace {
void Require(bool condition) {
    if (!condition) __builtin_trap();
}

bool Has(const TextItem& field, const char* characters) {
    return strpbrk(field.Text(), characters) != nullptr;
}

// Quotes around a field are removed, so none may be left at either end.
bool Unquoted(const TextItem& field) {
    int length = field.Length();
    return length == 0 || (field.Text()[0] != '"' && field.Text()[length - 1] != '"');
}

void CheckFields(std::initializer_list<const TextItem*> fields) {
    for (const TextItem* field : fields) Require(field->Length() < TextItem::kCapacity);
}

void CheckProgmanCommand(const char* name, bool showGroup) {
    char command[kProgmanCommandSize];
    memset(command, 'x', sizeof command);
    int made = showGroup ? FormatShowGroupCommand(command, name) : FormatDeleteItemCommand(command, name);
    Require(memchr(command, 0, sizeof command) != nullptr);
    std::string expected =
        showGroup ? "[ShowGroup(" + std::string(name) + ",1)]" : "[DeleteItem(" + std::string(name) + ")]";
    if (made)
        Require(expected == command && *name && !strpbrk(name, ",()[]\""));
    else
        Require(command[0] == 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    const char* entry = input.c_str();

    IniEntryFields ini;
    bool iniSplit = SplitIniEntry(entry, ini);
    CheckFields({&ini.file, &ini.section, &ini.key});
    Require(!Has(ini.file, ",") && !Has(ini.section, ",") && !Has(ini.key, ","));
    if (iniSplit) Require(!ini.file.IsEmpty() && !ini.section.IsEmpty() && !ini.key.IsEmpty());

    LoadRunFields loadRun;
    bool loadRunSplit = SplitLoadRunEntry(entry, loadRun);
    CheckFields({&loadRun.valueName, &loadRun.program});
    Require(!Has(loadRun.valueName, ",") && Unquoted(loadRun.valueName) && Unquoted(loadRun.program));
    if (loadRunSplit) Require(!loadRun.valueName.IsEmpty() && !loadRun.program.IsEmpty());

    RegistryEntryFields registry;
    bool registrySplit = SplitRegistryEntry(entry, registry);
    CheckFields({&registry.root, &registry.subKey, &registry.valueName, &registry.flag});
    Require(Unquoted(registry.root) && Unquoted(registry.subKey) && Unquoted(registry.valueName));
    if (!registrySplit) Require(!registry.hasFlag);
    if (!registry.valueName.IsEmpty()) Require(registry.Form() == kRegistryValue);
    int root = RegistryRootFromName(registry.root.Text());
    if (root >= 0) Require(registry.root.Length() <= 4);

    ShortcutFields shortcut;
    bool shortcutSplit = SplitShortcutEntry(entry, shortcut);
    CheckFields({&shortcut.group, &shortcut.description, &shortcut.location});
    Require(!Has(shortcut.group, ",") && !Has(shortcut.description, ","));
    Require(Unquoted(shortcut.group) && Unquoted(shortcut.description) && Unquoted(shortcut.location));
    if (shortcutSplit) {
        Require(!shortcut.group.IsEmpty());
        CheckProgmanCommand(shortcut.group.Text(), true);
        CheckProgmanCommand(shortcut.description.Text(), false);
        TextList names;
        ShortcutFileNames(shortcut.description.Text(), names);
        Require(names.Count() <= 5);
        // Each name is joined to a folder: it must not climb out of it or name another folder.
        for (const TextItem& name : names) Require(!name.IsEmpty() && !Has(name, "\\/"));
    }

    HookEntryFields hook;
    bool hookSplit = SplitHookEntry(entry, hook);
    CheckFields({&hook.fileName, &hook.exportName});
    // The DLL is looked for in fixed directories only: no directory of the entry may survive.
    Require(!Has(hook.fileName, "\\/") && !Has(hook.fileName, ","));
    if (hookSplit) Require(!hook.fileName.IsEmpty() && !hook.exportName.IsEmpty());
    return 0;
}
