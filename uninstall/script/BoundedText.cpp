#include "BoundedText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

int CopyText(char* dst, size_t capacity, const char* src) {
    if (!dst || capacity == 0) return 0;
    if (src == dst) return AppendText(dst, capacity, nullptr);  // self-copy: only ensure termination
    dst[0] = 0;
    return AppendText(dst, capacity, src);
}

int AppendText(char* dst, size_t capacity, const char* src) {
    if (!dst || capacity == 0) return 0;
    size_t used = strnlen(dst, capacity);
    if (used >= capacity) {  // unterminated input: terminate it at the last byte
        dst[capacity - 1] = 0;
        return 0;
    }
    if (!src) return 1;
    size_t len = strlen(src);
    size_t room = capacity - 1 - used;
    size_t n = len < room ? len : room;
    memmove(dst + used, src, n);
    dst[used + n] = 0;
    return n == len;
}

int FormatText(char* dst, size_t capacity, const char* format, ...) {
    if (!dst || capacity == 0) return 0;
    va_list args;
    va_start(args, format);
    int n = vsnprintf(dst, capacity, format, args);
    va_end(args);
    if (n < 0) {
        dst[0] = 0;
        return 0;
    }
    return static_cast<size_t>(n) < capacity;
}
