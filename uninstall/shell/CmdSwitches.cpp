#include "CmdSwitches.h"

#include <cstring>

#include "script/BoundedText.h"
#include "script/Tokens.h"

int CCmdSwitches::Parse(const char* commandLine) {
    if (!commandLine || !*commandLine) return 0;
    // Tokens are cut in place, so the text is copied first; a longer command line is cut here.
    char text[kCommandLineCapacity];
    // What does not fit is never read: it counts as a word that is no switch, which an unattended
    // run refuses, since a switch cut in its value or dropped whole would select other printers.
    if (strlen(commandLine) >= sizeof text) ++strayArguments_;
    CopyText(text, sizeof text, commandLine);

    int stored = 0;
    bool first = true;
    char* token = text;
    while (token) {
        // Runs of spaces give empty tokens, which are skipped.
        while (*token == ' ') ++token;
        if (!*token) break;
        char* rest = NextQuotedToken(token, ' ');
        // A whole switch in quotes ("/PRINTER:Office Laser") is how shells and deployment tools
        // pass an argument that holds blanks; it is the same switch.
        size_t length = strlen(token);
        if (length > 2 && token[0] == '"' && token[length - 1] == '"' &&
            (token[1] == '/' || token[1] == '-')) {
            token[length - 1] = 0;
            ++token;
        }
        if (*token == '/' || *token == '-') {
            AddSwitch(token + 1);
            stored = 1;
        } else if (!first) {
            ++strayArguments_;
        }
        first = false;
        token = rest;
    }
    return stored;
}

void CCmdSwitches::AddSwitch(char* token) {
    TextList entry;
    char* values = NextQuotedToken(token, ':');
    entry.Append(token);
    if (values) {
        // Every value is kept, empty ones too: "/PRN:" has one empty value.
        char* value = values;
        while (value) {
            char* next = NextQuotedToken(value, ',');
            entry.Append(value);
            value = next;
        }
    }
    entries_.push_back(entry);
}

int CCmdSwitches::Find(const char* name) const {
    for (size_t i = entries_.size(); i-- > 0;)
        if (entries_[i].At(0).EqualsNoCase(name)) return entries_[i].Count() - 1;
    return -1;
}

int CCmdSwitches::GetValues(const char* name, char* buffer, int* size) const {
    if (!size || !name || !*name) return 0;
    int needed = 0;
    for (const TextList& entry : entries_) {
        if (!entry.At(0).EqualsNoCase(name)) continue;
        for (int v = 1; v < entry.Count(); ++v) needed += entry.At(v).Length() + 1;
    }
    if (needed > 0) ++needed;  // the closing NUL

    int capacity = *size;
    *size = needed;
    // "Smaller than" also keeps the empty multi-string (one NUL) inside a buffer of at least one byte.
    if (!buffer || needed >= capacity) return 0;
    char* out = buffer;
    for (const TextList& entry : entries_) {
        if (!entry.At(0).EqualsNoCase(name)) continue;
        for (int v = 1; v < entry.Count(); ++v) {
            size_t length = static_cast<size_t>(entry.At(v).Length());
            memcpy(out, entry.At(v).Text(), length + 1);
            out += length + 1;
        }
    }
    *out = 0;
    return 1;
}
