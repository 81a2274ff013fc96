#include "PromptText.h"

#include <cstring>

namespace {
// Writes into a fixed buffer, cutting at its capacity; remembers whether anything was cut.
class BoundedWriter {
public:
    BoundedWriter(char* buffer, size_t capacity) : dst(buffer), room(capacity - 1) { dst[0] = 0; }
    void Put(const char* text, size_t length) {
        size_t n = length < room - used ? length : room - used;
        memcpy(dst + used, text, n);
        used += n;
        dst[used] = 0;
        if (n < length) whole = false;
    }
    void Put(const char* text) {
        if (text) Put(text, strlen(text));
    }
    bool whole = true;

private:
    char* dst;
    size_t room;
    size_t used = 0;
};
}  // namespace

int FormatPrompt(char* dst, size_t capacity, const char* pattern, const char* argument) {
    if (!dst || capacity == 0) return 0;
    BoundedWriter out(dst, capacity);
    if (!pattern) return 1;
    bool argumentUsed = false;
    const char* literal = pattern;  // start of the text not yet written
    for (const char* p = pattern; *p; ++p) {
        bool percent = p[0] == '%' && p[1] == '%';
        bool placeholder = p[0] == '%' && p[1] == 's' && !argumentUsed;
        if (!percent && !placeholder) continue;
        out.Put(literal, static_cast<size_t>(p - literal));
        if (percent) {
            out.Put("%", 1);
        } else {
            out.Put(argument);
            argumentUsed = true;
        }
        ++p;
        literal = p + 1;
    }
    out.Put(literal);
    return out.whole ? 1 : 0;
}
