#include "UninstallProfile.h"

#include <climits>
#include <cstdlib>

#include "BoundedText.h"
#include "ScriptReader.h"
#include "Tokens.h"

namespace {
const char* const kListNames[kProfileListCount] = {
    "DeleteIni", "DeleteLoadRun", "UnSelfRegister", "PrintProcessors", "Monitors",  "Services",
    "Hooks",     "Files",         "Drivers",        "Shortcuts",       "OemPaths", "RegistryKeys",
};

const int kEntrySectionCapacity = 4096;

// Leading white space, an optional sign, digits; anything after the digits is ignored, no digits
// give 0. Values beyond the int range are clamped instead of overflowing.
int ReadNumber(const char* text) {
    if (!text) return 0;
    long value = strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
}  // namespace

const char* ProfileListName(int kind) {
    return (kind >= 0 && kind < kProfileListCount) ? kListNames[kind] : "";
}

bool IsSectionList(int kind) { return kind != kDrivers && kind != kOemPaths; }

TextList& UninstallProfile::List(int kind) {
    TextList* lists[kProfileListCount] = {&DeleteIni, &DeleteLoadRun, &UnSelfRegister, &PrintProcessors,
                                          &Monitors,  &Services,      &Hooks,          &Files,
                                          &Drivers,   &Shortcuts,     &OemPaths,       &RegistryKeys};
    return *lists[kind];
}

const TextList& UninstallProfile::List(int kind) const { return const_cast<UninstallProfile*>(this)->List(kind); }

bool ReadEntrySection(const ScriptReader& reader, const char* prefix, const char* suffix, TextList& list) {
    char sectionName[TextItem::kCapacity];
    if (!FormatText(sectionName, sizeof sectionName, "%s.%s", prefix ? prefix : "", suffix)) return false;
    char lines[kEntrySectionCapacity];
    lines[0] = 0;
    if (reader.GetSectionLines(sectionName, lines, sizeof lines) == 0) return false;
    TextList read;
    read.AppendMultiString(lines);
    if (read.IsEmpty()) return false;
    read.Sort();
    read.Unique();
    list = read;
    return true;
}

UninstallProfile MakeProfile(const char* starterText, const ScriptReader& reader) {
    UninstallProfile profile;
    TextItem text(starterText);
    char* field1 = text.Buffer();
    char* field2 = NextToken(field1, ',');
    char* field3 = field2 ? NextToken(field2, ',') : nullptr;
    TrimChar(field1, '"');
    profile.name.Assign(field1);
    profile.sectionPrefix.Assign(field2);
    profile.number = ReadNumber(field3);
    for (int kind = 0; kind < kProfileListCount; ++kind)
        if (IsSectionList(kind))
            ReadEntrySection(reader, profile.sectionPrefix.Text(), kListNames[kind], profile.List(kind));
    return profile;
}
