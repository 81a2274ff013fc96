// The platform-independent half of FileSpec: splitting and joining paths.
#include <cstring>

#include "BoundedText.h"
#include "FileSpec.h"

namespace {
inline bool IsSlash(char c) { return c == '\\' || c == '/'; }

void AssignPart(TextItem& item, const char* text, size_t length) {
    char part[TextItem::kCapacity];
    size_t n = length < sizeof part - 1 ? length : sizeof part - 1;
    memcpy(part, text, n);
    part[n] = 0;
    item.Assign(part);
}

void AppendDrive(TextItem& out, const TextItem& drive) {
    out.Append(drive.Text());
    if (drive.Length() == 1) out.Append(":");
}

void AppendDirectory(TextItem& out, const TextItem& directory) {
    if (directory.IsEmpty()) return;
    out.Append(directory.Text());
    if (!IsSlash(directory.Text()[directory.Length() - 1])) out.Append("\\");
}

void AppendExtension(TextItem& out, const TextItem& extension) {
    if (extension.IsEmpty()) return;
    if (extension.Text()[0] != '.') out.Append(".");
    out.Append(extension.Text());
}
}  // namespace

void FileSpec::Clear() {
    drive.Clear();
    directory.Clear();
    fileName.Clear();
    extension.Clear();
    result.Clear();
}

void FileSpec::SetPath(const char* path) {
    drive.Clear();
    directory.Clear();
    fileName.Clear();
    extension.Clear();
    if (!path) return;

    const char* rest = path;
    if (rest[0] != 0 && rest[1] == ':') {
        AssignPart(drive, rest, 2);
        rest += 2;
    }
    const char* name = rest;
    for (const char* p = rest; *p; ++p)
        if (IsSlash(*p)) name = p + 1;
    AssignPart(directory, rest, static_cast<size_t>(name - rest));

    const char* dot = strrchr(name, '.');
    if (dot) {
        AssignPart(fileName, name, static_cast<size_t>(dot - name));
        extension.Assign(dot);
    } else {
        fileName.Assign(name);
    }
}

const char* FileSpec::FullPath() {
    result.Clear();
    AppendDrive(result, drive);
    AppendDirectory(result, directory);
    result.Append(fileName.Text());
    AppendExtension(result, extension);
    return result.Text();
}

const char* FileSpec::DirectoryPath() {
    result.Clear();
    AppendDrive(result, drive);
    AppendDirectory(result, directory);
    return result.Text();
}

const char* FileSpec::NameAndExtension() {
    result.Clear();
    result.Append(fileName.Text());
    AppendExtension(result, extension);
    return result.Text();
}

const char* FileSpec::AppendSubdirectory(const char* name) {
    if (name && *name) {
        // Built aside and taken only whole: a cut directory would name some other folder.
        TextItem longer(directory);
        if (AppendBackslash(longer) && longer.Append(name) && longer.Append("\\")) directory = longer;
    }
    return FullPath();
}

int AppendBackslash(char* text, size_t capacity) {
    if (!text || capacity == 0) return 0;
    size_t length = strnlen(text, capacity);
    if (length == capacity) return 0;  // unterminated: leave it to the caller, write nothing
    if (length == 0 || text[length - 1] == '\\') return 1;
    return AppendText(text, capacity, "\\");
}

int AppendBackslash(TextItem& text) { return AppendBackslash(text.Buffer(), TextItem::kCapacity); }

bool IsFullPath(const char* path) {
    if (!path || !path[0]) return false;
    if (IsSlash(path[0])) return IsSlash(path[1]);
    return path[1] == ':' && IsSlash(path[2]);
}
