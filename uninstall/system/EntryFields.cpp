#include "EntryFields.h"

#include <cstring>

#include "script/FileSpec.h"
#include "script/Tokens.h"
#include "script/UninstallDatabase.h"

namespace {
void Unquote(TextItem& field) {
    TrimChar(field.Buffer(), '"');
}
}  // namespace

bool SplitIniEntry(const char* entry, IniEntryFields& out) {
    TextItem copy(entry);
    char* file = copy.Buffer();
    char* section = NextToken(file, ',');
    char* key = NextToken(section, ',');
    NextToken(key, ',');
    out.file.Assign(file);
    out.section.Assign(section);
    out.key.Assign(key);
    return !out.file.IsEmpty() && !out.section.IsEmpty() && !out.key.IsEmpty();
}

bool SplitLoadRunEntry(const char* entry, LoadRunFields& out) {
    TextItem copy(entry);
    char* name = copy.Buffer();
    char* program = NextToken(name, ',');
    out.valueName.Assign(name);
    out.program.Assign(program);
    Unquote(out.valueName);
    Unquote(out.program);
    return !out.valueName.IsEmpty() && !out.program.IsEmpty();
}

RegistryEntryForm RegistryEntryFields::Form() const {
    if (!valueName.IsEmpty()) return kRegistryValue;
    return hasFlag && flag.Text()[0] == '1' ? kRegistryTree : kRegistryKey;
}

bool SplitRegistryEntry(const char* entry, RegistryEntryFields& out) {
    TextItem copy(entry);
    char* root = copy.Buffer();
    char* subKey = NextQuotedToken(root, ',');
    char* valueName = NextQuotedToken(subKey, ',');
    char* flag = NextQuotedToken(valueName, ',');
    out.root.Assign(root);
    out.subKey.Assign(subKey);
    out.valueName.Assign(valueName);
    out.flag.Assign(flag);
    out.hasFlag = flag != nullptr;
    Unquote(out.root);
    Unquote(out.subKey);
    Unquote(out.valueName);
    return valueName != nullptr;
}

int RegistryRootFromName(const char* name) {
    static const char* const kNames[] = {"HKLM", "HKCR", "HKCU", "HKU"};
    static const int kRoots[] = {kRootLocalMachine, kRootClassesRoot, kRootCurrentUser, kRootUsers};
    for (int i = 0; i < 4; ++i)
        if (EqualsNoCase(name, kNames[i])) return kRoots[i];
    return -1;
}

bool SplitShortcutEntry(const char* entry, ShortcutFields& out) {
    TextItem copy(entry);
    char* group = copy.Buffer();
    char* description = NextToken(group, ',');
    char* location = NextToken(description, ',');
    out.group.Assign(group);
    out.description.Assign(description);
    out.location.Assign(location);
    Unquote(out.group);
    Unquote(out.description);
    Unquote(out.location);
    return !out.group.IsEmpty();
}

bool ShortcutFields::GroupStaysInPrograms() const {
    const char* text = group.Text();
    if (text[0] == '\\' || text[0] == '/' || strchr(text, ':')) return false;
    for (const char* part = text; *part;) {
        size_t length = strcspn(part, "\\/");
        if (length == 2 && part[0] == '.' && part[1] == '.') return false;
        part += length;
        if (*part) ++part;
    }
    return true;
}

bool SplitHookEntry(const char* entry, HookEntryFields& out) {
    TextItem copy(entry);
    char* file = copy.Buffer();
    char* exportName = NextToken(file, ',');
    out.fileName.Clear();
    out.exportName.Clear();
    if (!exportName) return false;
    FileSpec spec;
    spec.SetPath(file);
    out.fileName.Assign(spec.NameAndExtension());
    out.exportName.Assign(exportName);
    return !out.fileName.IsEmpty() && !out.exportName.IsEmpty();
}
