#include "ShortcutNames.h"

#include "script/FileSpec.h"

namespace {
void AppendName(TextList& names, const char* base, const char* extension) {
    TextItem name(base);
    if (!name.IsEmpty() && name.Append(extension)) names.Append(name);
}
}  // namespace

void ShortcutFileNames(const char* description, TextList& names) {
    FileSpec spec;
    spec.SetPath(description);
    TextItem baseName(spec.NameAndExtension());
    AppendName(names, baseName.Text(), "");
    AppendName(names, spec.fileName.Text(), ".LNK");
    AppendName(names, spec.fileName.Text(), ".PIF");
    if (!spec.extension.IsEmpty() && !spec.extension.EqualsNoCase(".LNK") &&
        !spec.extension.EqualsNoCase(".PIF")) {
        AppendName(names, baseName.Text(), ".LNK");
        AppendName(names, baseName.Text(), ".PIF");
    }
}
