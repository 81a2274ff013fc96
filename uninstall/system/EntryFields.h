#pragma once
// The comma-separated fields of the DeleteIni, DeleteLoadRun, RegistryKeys, Shortcuts and Hooks
// entries of the uninstall scripts. Each splitter copies the entry first, so it never changes the list it
// walks, and takes any text without writing past a field.
#include "script/TextItem.h"

// INI file, section, key. Anything after a third comma is ignored; quotes stay as written.
struct IniEntryFields {
    TextItem file;
    TextItem section;
    TextItem key;
};
// False unless all three fields are present and non-empty.
bool SplitIniEntry(const char* entry, IniEntryFields& out);

// Run value name (the program's display name), then the program file name: the rest of the entry.
struct LoadRunFields {
    TextItem valueName;
    TextItem program;
};
// Surrounding double quotes are removed from both. False unless both are non-empty after that: an
// empty value name would name the Run key's default value.
bool SplitLoadRunEntry(const char* entry, LoadRunFields& out);

// What a RegistryKeys entry removes.
enum RegistryEntryForm {
    kRegistryValue,  // one value; the key stays
    kRegistryKey,    // the key, which the NT family deletes only when it has no subkeys
    kRegistryTree,   // the key with all its subkeys
};

// Root name, subkey, value name, and the optional tree flag (the rest of the entry).
struct RegistryEntryFields {
    TextItem root;
    TextItem subKey;
    TextItem valueName;
    TextItem flag;
    bool hasFlag = false;

    // A value name makes a value entry whatever the flag says; else "1" as the flag's first
    // character makes a tree entry.
    RegistryEntryForm Form() const;
};
// Surrounding double quotes are removed from the first three fields, not from the flag. A comma
// between double quotes belongs to its field, as in the entries the tool writes itself
// (HKLM,"key","value",1): a subkey or value name with a comma would otherwise name another key or
// value. False unless root, subkey and value fields are present (the value name may be empty).
bool SplitRegistryEntry(const char* entry, RegistryEntryFields& out);

// The root a RegistryKeys entry names ("HKLM", "HKCR", "HKCU", "HKU", ignoring case) as a
// RegistryRoot value; -1 for any other text, the hives' full names included.
int RegistryRootFromName(const char* name);

// Program group (a folder under Programs), shortcut description, special location (the rest).
struct ShortcutFields {
    TextItem group;
    TextItem description;
    TextItem location;

    // An entry without a description stands for the group folder itself.
    bool IsGroup() const { return description.IsEmpty(); }
    // The location "STARTUP" (any case) adds the start-up folders to the search.
    bool IsStartup() const { return location.EqualsNoCase("STARTUP"); }
    // A group is a folder under Programs, nested or not. One with a drive, a leading backslash or a
    // ".." component would name a folder elsewhere ("..\..\..\Windows"), whose files would then go.
    bool GroupStaysInPrograms() const;
};
// Surrounding double quotes are removed from every field. False when the group is empty after that:
// an empty group would name the Programs folder itself.
bool SplitShortcutEntry(const char* entry, ShortcutFields& out);

// A hook DLL's file name and the export to call in it.
struct HookEntryFields {
    TextItem fileName;
    TextItem exportName;
};
// "FILE.DLL,Export", split at the first comma. Only the file's name and extension are kept: the DLL
// is looked for in fixed directories, never where a directory in the entry would point. False when
// the entry has no comma or either part is empty.
bool SplitHookEntry(const char* entry, HookEntryFields& out);
