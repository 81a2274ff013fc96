#pragma once
// One starter line of an uninstall script: a manufacturer or driver profile with the twelve entry
// lists that belong to its installation.
#include "TextList.h"

class ScriptReader;

// The entry lists, in the order they stand in a profile.
enum ProfileListKind {
    kDeleteIni,
    kDeleteLoadRun,
    kUnSelfRegister,
    kPrintProcessors,
    kMonitors,
    kServices,
    kHooks,
    kFiles,
    kDrivers,
    kShortcuts,
    kOemPaths,
    kRegistryKeys,
    kProfileListCount
};

// The list's name, which is also the suffix of its entry section ("DeleteIni" ...).
const char* ProfileListName(int kind);
// True for the ten lists filled from entry sections (all but Drivers and OemPaths).
bool IsSectionList(int kind);

struct UninstallProfile {
    TextItem name;
    int isManufacturer = 0;
    int isCatchAll = 0;
    int isIgnore = 0;
    int number = 0;  // third field of the starter line; carried, not used
    TextItem sectionPrefix;
    TextItem scriptPath;
    TextList DeleteIni;
    TextList DeleteLoadRun;
    TextList UnSelfRegister;
    TextList PrintProcessors;
    TextList Monitors;
    TextList Services;
    TextList Hooks;
    TextList Files;
    TextList Drivers;
    TextList Shortcuts;
    TextList OemPaths;
    TextList RegistryKeys;

    TextList& List(int kind);
    const TextList& List(int kind) const;
    void Clear() { *this = UninstallProfile(); }
};

// Reads the entry section "<prefix>.<suffix>" into list, sorted ascending and unique ignoring case.
// Returns whether the section had at least one line. The lines are taken through a 4096-byte
// multi-string: the first line that does not fit and all later ones are left out. A section name
// longer than 259 characters is not looked up at all (a cut name could find another section).
bool ReadEntrySection(const ScriptReader& reader, const char* prefix, const char* suffix, TextList& list);

// Makes a profile from a starter text "name,prefix,number": the name without its surrounding double
// quotes, the prefix as written, the number read as a decimal integer, and the ten section-fed
// lists. The caller sets the flags, scriptPath and the Drivers entry.
UninstallProfile MakeProfile(const char* starterText, const ScriptReader& reader);
