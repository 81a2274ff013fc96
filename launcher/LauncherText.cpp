#include "LauncherText.h"

#include <cstdlib>
#include <cstring>

unsigned ParseConfigSwitch(const char* text) {
    if (std::strcmp(text, "_YES_") == 0) return 1;
    // strtol, unlike atoi, is defined on overflow: it clamps, as the Windows runtime's atoi does.
    return static_cast<unsigned>(std::strtol(text, NULL, 10));
}

// Reads one line into line (cut to its first kInfLineSize - 1 characters, its line feed included when
// it fits); false at the end of the file. The rest of an overlong line is skipped, so that line
// numbers count the lines of the file and a piece of a long line is never taken for the line that
// identifies the package. Read by character rather than with fgets: a NUL byte inside a line would
// hide the line feed that fgets stored, and the next line would be skipped as the rest of this one.
static bool ReadLine(FILE* file, char* line) {
    int c = std::fgetc(file);
    if (c == EOF) return false;
    int length = 0;
    for (; c != EOF; c = std::fgetc(file)) {
        if (length < kInfLineSize - 1) line[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    line[length] = '\0';
    return true;
}

bool InfLineBeginsWith(FILE* file, unsigned lineNumber, const char* lineText) {
    // An empty text would match every INF file on the machine, other makers' included.
    size_t textLength = std::strlen(lineText);
    if (lineNumber == 0 || textLength == 0) return false;
    char line[kInfLineSize];
    unsigned linesRead = 0;
    bool found = false;
    while (linesRead < lineNumber && ReadLine(file, line)) {
        if (++linesRead == lineNumber) found = std::strncmp(line, lineText, textLength) == 0;
    }
    return found;
}
