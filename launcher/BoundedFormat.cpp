#include "BoundedFormat.h"

#include <cstdarg>
#include <cstdio>

bool FormatBounded(char* out, size_t capacity, const char* format, ...) {
    if (capacity == 0) return false;
    va_list args;
    va_start(args, format);
    int length = vsnprintf(out, capacity, format, args);
    va_end(args);
    // Some C runtimes return -1 on truncation and leave the buffer unterminated.
    if (length < 0 || static_cast<size_t>(length) >= capacity) {
        out[0] = '\0';
        return false;
    }
    return true;
}
