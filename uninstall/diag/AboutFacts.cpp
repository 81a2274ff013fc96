#include "AboutFacts.h"

#include "script/BoundedText.h"

int FormatVersionNumbers(unsigned long mostSignificant, unsigned long leastSignificant, char* out,
                         size_t capacity) {
    return FormatText(out, capacity, "%u.%02u.%02u.%02u",
                      static_cast<unsigned>((mostSignificant >> 16) & 0xFFFF),
                      static_cast<unsigned>(mostSignificant & 0xFFFF),
                      static_cast<unsigned>((leastSignificant >> 16) & 0xFFFF),
                      static_cast<unsigned>(leastSignificant & 0xFFFF));
}

const char* PlatformName(int osFamily) {
    switch (osFamily) {
        case 1:
            return "Win32s";
        case 2:
            return "Win9x";
        case 3:
            return "WinNT";
    }
    return "Windows";
}

// The figures are unsigned and, in a 64-bit process, wider than an int: the virtual address space
// alone is 128 TB. Digits are written here rather than through a printf format, whose 64-bit
// conversions differ between the runtimes.
int FormatKilobytes(unsigned long long bytes, char* out, size_t capacity) {
    char digits[24];
    size_t count = 0;
    unsigned long long kilobytes = bytes >> 10;
    do {
        digits[count++] = static_cast<char>('0' + kilobytes % 10);
        kilobytes /= 10;
    } while (kilobytes != 0);
    char text[32];
    for (size_t i = 0; i < count; ++i) text[i] = digits[count - 1 - i];
    text[count] = 0;
    if (!CopyText(out, capacity, text)) return 0;
    return AppendText(out, capacity, " kb");
}
