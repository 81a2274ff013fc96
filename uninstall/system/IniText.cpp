#include "IniText.h"

#include <cstring>

#include "script/TextItem.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t SkipBlanks(const char* text, size_t length, size_t pos) {
    while (pos < length && IsBlank(text[pos])) ++pos;
    return pos;
}

size_t NextLine(const char* text, size_t length, size_t pos) {
    const void* lf = memchr(text + pos, '\n', length - pos);
    return lf ? static_cast<size_t>(static_cast<const char*>(lf) - text) + 1 : length;
}

bool MatchesAt(const char* text, size_t length, size_t pos, const char* word, size_t wordLength) {
    return wordLength <= length - pos && CompareNoCaseN(text + pos, word, wordLength) == 0;
}

// The key ends where the profile functions end it: at "=", at a blank before it, or at the line end.
bool EndsKey(const char* text, size_t length, size_t pos) {
    if (pos >= length) return true;
    char c = text[pos];
    return c == '=' || IsBlank(c) || c == '\r' || c == '\n';
}
}  // namespace

bool FindIniEntry(const char* text, size_t length, const char* section, const char* key, IniLine* line) {
    if (!text || !section || !key) return false;
    size_t sectionLength = strlen(section);
    size_t keyLength = strlen(key);
    if (sectionLength == 0 || keyLength == 0 || sectionLength + 2 > kIniNameLimit ||
        keyLength > kIniNameLimit)
        return false;
    char header[kIniNameLimit + 1];
    header[0] = '[';
    memcpy(header + 1, section, sectionLength);
    header[sectionLength + 1] = ']';
    header[sectionLength + 2] = 0;

    bool inSection = false;
    for (size_t start = 0; start < length;) {
        size_t end = NextLine(text, length, start);
        size_t pos = SkipBlanks(text, end, start);
        if (pos < end && text[pos] == '[') {
            inSection = MatchesAt(text, end, pos, header, sectionLength + 2);
        } else if (inSection && MatchesAt(text, end, pos, key, keyLength) &&
                   EndsKey(text, end, pos + keyLength)) {
            if (line) {
                line->start = start;
                line->end = end;
            }
            return true;
        }
        start = end;
    }
    return false;
}

int RemoveIniEntryLine(char* text, size_t* length, const char* section, const char* key) {
    if (!length) return 0;
    IniLine line;
    if (!FindIniEntry(text, *length, section, key, &line)) return 0;
    memmove(text + line.start, text + line.end, *length - line.end);
    *length -= line.end - line.start;
    return 1;
}
