#include "LoadLine.h"

#include <cstring>

int RemoveLoadLineProgram(char* line, const char* program) {
    if (!line || !program || !*program) return 0;
    char* at = strstr(line, program);
    if (!at) return 0;
    char* after = at + strlen(program);
    if (at != line && at[-1] != ' ') return 0;
    if (*after != ' ' && *after != 0) return 0;
    if (*after == ' ') ++after;
    memmove(at, after, strlen(after) + 1);
    return 1;
}
