#pragma once
// The facts the About box shows, formatted without a window: the file version, the Windows family
// and the memory figures.
#include <cstddef>

// The fixed file version from the two version double words (most significant first), as
// "major.minor.build.revision" with the last three at least two digits wide. Returns 0 when it was
// cut to fit.
int FormatVersionNumbers(unsigned long mostSignificant, unsigned long leastSignificant, char* out,
                         size_t capacity);

// "Win32s", "Win9x", "WinNT" or, for any other family number, "Windows" (families as COSInfo gives
// them: 1 Win32s, 2 Windows 9x/Me, 3 NT).
const char* PlatformName(int osFamily);

// A byte count as whole kilobytes ("1023 kb" for anything from 1047552 to 1048575 bytes). Returns 0
// when it was cut to fit.
int FormatKilobytes(unsigned long long bytes, char* out, size_t capacity);
