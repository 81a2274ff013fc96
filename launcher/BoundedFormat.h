#pragma once
// Formatting into fixed path buffers. A result that does not fit is refused, never cut: a cut path
// would name another file, and every caller skips the item instead.
#include <cstddef>

// snprintf into out; returns true when the whole result fit. On false, out holds "".
bool FormatBounded(char* out, size_t capacity, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
