#include "Tokens.h"

#include <cstring>

namespace {
char* NextInMultiString(char* text) {
    if (!text || !*text) return nullptr;
    char* next = text + strlen(text) + 1;
    return *next ? next : nullptr;
}
}  // namespace

char* NextToken(char* text, char separator) {
    if (separator == 0) return NextInMultiString(text);
    if (!text || !*text) return nullptr;
    char* at = strchr(text, separator);
    if (!at) return nullptr;
    *at = 0;
    return at + 1;
}

char* NextQuotedToken(char* text, char separator) {
    if (separator == 0) return NextInMultiString(text);
    if (!text || !*text) return nullptr;
    bool quoted = false;
    for (char* p = text; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (*p == separator && !quoted) {
            *p = 0;
            return p + 1;
        }
    }
    return nullptr;
}

void TrimChar(char* text, char c) {
    if (!text || !*text || c == 0) return;
    size_t len = strlen(text);
    while (len > 0 && text[len - 1] == c) text[--len] = 0;
    size_t start = 0;
    while (text[start] == c) ++start;
    if (start > 0) memmove(text, text + start, len - start + 1);
}
