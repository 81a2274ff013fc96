#include "ScriptReader.h"

#include <climits>
#include <cstring>
#include <memory>

namespace {
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Removes spaces (0x20 only; tabs stay) from both ends, in place.
char* TrimSpaces(char* text) {
    while (*text == ' ') ++text;
    size_t length = strlen(text);
    while (length > 0 && text[length - 1] == ' ') text[--length] = 0;
    return text;
}
}  // namespace

bool ScriptReader::LoadFromMemory(const char* data, size_t size) {
    if (!sections_.empty() || !data || size == 0) return false;
    // The same image Load builds: the data, then CR LF NUL so that a last line without a line end is
    // still a complete line.
    std::unique_ptr<char[]> buffer(new char[size + 3]);
    memcpy(buffer.get(), data, size);
    buffer[size] = '\r';
    buffer[size + 1] = '\n';
    buffer[size + 2] = 0;
    Parse(buffer.get(), size + 2);
    return true;
}

void ScriptReader::Parse(char* text, size_t length) {
    char* p = text;
    char* const end = text + length;
    for (;;) {
        // A run of CR and LF in any mix ends exactly one line, so blank lines never reach ParseLine.
        while (p < end && IsLineEnd(*p)) ++p;
        if (p == end) return;
        char* line = p;
        while (p < end && !IsLineEnd(*p)) ++p;
        size_t lineLength = static_cast<size_t>(p - line);
        if (p < end) *p++ = 0;
        ParseLine(line, lineLength);
    }
}

void ScriptReader::OpenSection(const char* name) {
    sections_.emplace_back();
    sections_.back().name.Assign(name);
}

void ScriptReader::ParseLine(char* line, size_t length) {
    if (*line == ' ' || *line == ';') return;
    // NUL bytes alone are padding (a file cut short by a crash is often filled up with them).
    bool padding = true;
    for (size_t i = 0; i < length && padding; ++i) padding = line[i] == 0;
    if (padding) return;
    // Text after a NUL byte would be lost without a trace, or read as another line.
    bool holdsNul = memchr(line, 0, length) != nullptr;
    if (*line == '[') {
        char* close = holdsNul ? nullptr : strchr(line + 1, ']');
        if (!holdsNul && !close) return;
        bool readable = close && close - (line + 1) < TextItem::kCapacity;
        if (readable) {
            *close = 0;
        } else {
            ++leftOut_;
        }
        // An empty name is never looked up: the entries of a header that cannot be read stay apart.
        OpenSection(readable ? line + 1 : "");
        return;
    }
    if (sections_.empty()) return;
    if (holdsNul) {
        ++leftOut_;
        return;
    }
    char* comment = strchr(line, ';');
    if (comment) *comment = 0;
    char* value = strchr(line, '=');
    if (value) *value++ = 0;
    const char* key = TrimSpaces(line);
    if (value) value = TrimSpaces(value);
    size_t textLength = strlen(key) + (value && *value ? 1 + strlen(value) : 0);
    if (textLength >= TextItem::kCapacity) {
        ++leftOut_;
        return;
    }
    sections_.back().entries.emplace_back();
    ScriptEntry& entry = sections_.back().entries.back();
    entry.key.Assign(key);
    if (value) entry.value.Assign(value);
}

const ScriptSection* ScriptReader::FindSection(const char* name) const {
    if (!name || !*name) return nullptr;
    for (const ScriptSection& section : sections_)
        if (section.name.EqualsNoCase(name)) return &section;
    return nullptr;
}

int ScriptReader::SectionEntryCount(const char* name) const {
    const ScriptSection* section = FindSection(name);
    return section ? static_cast<int>(section->entries.size()) : 0;
}

int ScriptReader::GetSectionKeys(const char* name, char* buffer, int capacity) const {
    return CopySection(name, buffer, capacity, false);
}

int ScriptReader::GetSectionLines(const char* name, char* buffer, int capacity) const {
    return CopySection(name, buffer, capacity, true);
}

int ScriptReader::CopySection(const char* name, char* buffer, int capacity, bool withValues) const {
    const ScriptSection* section = FindSection(name);
    if (!section || !buffer) return 0;
    // A buffer without room for even the closing NUL is never written.
    if (capacity > 0) buffer[0] = 0;
    // 64-bit so that no section, however long, can wrap the total.
    long long total = 0;
    bool truncated = false;
    for (const ScriptEntry& entry : section->entries) {
        int keyLength = entry.key.Length();
        bool joined = withValues && !entry.value.IsEmpty();
        int length = joined ? keyLength + 1 + entry.value.Length() : keyLength;
        // An empty text would read as the end of the multi-string and hide every later entry.
        if (length == 0) continue;
        long long start = total;
        total += length + 1;
        // Once one text does not fit, no later one is copied either (the total only grows).
        if (truncated || total >= capacity) {
            truncated = true;
            continue;
        }
        char* out = buffer + start;
        memcpy(out, entry.key.Text(), static_cast<size_t>(keyLength));
        if (joined) {
            out[keyLength] = '=';
            memcpy(out + keyLength + 1, entry.value.Text(), static_cast<size_t>(entry.value.Length()));
        }
        out[length] = 0;
        buffer[total] = 0;  // total < capacity: the buffer stays a well-formed multi-string
    }
    if (total > INT_MAX) total = INT_MAX;
    return static_cast<int>(truncated ? -total : total);
}
