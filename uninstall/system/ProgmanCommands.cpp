#include "ProgmanCommands.h"

#include <cstring>

#include "script/BoundedText.h"

namespace {
int FormatCommand(char (&command)[kProgmanCommandSize], const char* format, const char* name) {
    command[0] = 0;
    if (!name || !*name || strpbrk(name, ",()[]\"")) return 0;
    if (FormatText(command, sizeof command, format, name)) return 1;
    command[0] = 0;
    return 0;
}
}  // namespace

int FormatShowGroupCommand(char (&command)[kProgmanCommandSize], const char* group) {
    return FormatCommand(command, "[ShowGroup(%s,1)]", group);
}

int FormatDeleteItemCommand(char (&command)[kProgmanCommandSize], const char* item) {
    return FormatCommand(command, "[DeleteItem(%s)]", item);
}
