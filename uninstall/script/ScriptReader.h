#pragma once
// Reads one uninstall script into an ordered list of sections, each an ordered list of key/value
// entries, and copies a section's keys or lines out as a multi-string. The syntax is INI-like but
// stricter: lines beginning with a space or ";" are ignored, "[name]" opens a section, any other line
// is "key=value ; comment". Nothing is merged or sorted.
//
// A line that cannot be read as written is left out rather than cut or split: one holding a NUL byte,
// a section name over 259 characters, or an entry whose text (key, or key=value) is over 259
// characters. Cut or split, its text could name another file, key or section. Such a header still
// opens a section, one that no lookup finds, so that its entries never join the section before it.
#include <cstddef>
#include <vector>

#include "TextItem.h"

struct ScriptEntry {
    TextItem key;
    TextItem value;
};

struct ScriptSection {
    TextItem name;  // exactly as written between the brackets
    std::vector<ScriptEntry> entries;
};

class ScriptReader {
public:
    // Reads the whole file with one read and parses it (Win32 only). False when the reader already
    // holds a section, the file cannot be opened or read, or it is empty.
    bool Load(const char* path);
    // The same for a file image already in memory: same checks, same results as Load.
    bool LoadFromMemory(const char* data, size_t size);

    // First section, in file order, whose name equals name ignoring case; null for a missing or empty
    // name or no match.
    const ScriptSection* FindSection(const char* name) const;
    int SectionEntryCount(const char* name) const;

    // Copy the keys (or the lines: key, or key=value when the value is not empty) of the section as a
    // multi-string. Empty texts (an empty key, or a line "=") are skipped, since one would end the
    // multi-string early. Each text is copied only while the running total of (length + 1) stays below
    // capacity; the buffer is always a well-formed multi-string. Returns the total, negated when
    // something was left out; 0 for no match, a missing or empty name or a missing buffer.
    int GetSectionKeys(const char* name, char* buffer, int capacity) const;
    int GetSectionLines(const char* name, char* buffer, int capacity) const;

    int SectionCount() const { return static_cast<int>(sections_.size()); }
    const ScriptSection& Section(int index) const { return sections_[static_cast<size_t>(index)]; }
    // Lines left out because they could not be read as written (see above).
    int LeftOutLines() const { return leftOut_; }
    // Why the last Load read nothing: the Windows error of a file that exists and could not be
    // opened or read whole (held open by another program, access refused), 0 for an empty file.
    unsigned long LoadError() const { return loadError_; }

private:
    // Parses the file image [text, text + length) in place (line ends and separators are overwritten).
    void Parse(char* text, size_t length);
    void ParseLine(char* line, size_t length);
    void OpenSection(const char* name);
    int CopySection(const char* name, char* buffer, int capacity, bool withValues) const;

    std::vector<ScriptSection> sections_;
    int leftOut_ = 0;
    unsigned long loadError_ = 0;
};
