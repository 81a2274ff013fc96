#pragma once
// Every copy into a fixed character buffer goes through these: they cut at the capacity and always
// terminate, so no input can write past a buffer. Capacity is the buffer size in bytes, NUL included.
#include <cstddef>

// Copies src (null counts as empty); returns 1 when it fit whole, 0 when it was cut.
int CopyText(char* dst, size_t capacity, const char* src);
// Appends src to the text already in dst; returns 1 when it fit whole, 0 when it was cut.
int AppendText(char* dst, size_t capacity, const char* src);
// snprintf into dst; returns 1 when the whole result fit, 0 when it was cut or formatting failed.
int FormatText(char* dst, size_t capacity, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
