#pragma once
// The command texts sent to Program Manager over DDE on Win32s.
#include <cstddef>

// Program Manager commands are built in a buffer of this size: it holds group names of up to 48
// characters and item names of up to 49.
const size_t kProgmanCommandSize = 64;

// "[ShowGroup(group,1)]" and "[DeleteItem(item)]". Return 0 and leave command empty when the name is
// empty, does not fit (a cut name would name another group or item), or holds a character that
// ends a parameter or a command ("," "(" ")" "[" "]" or a double quote): such a name would make
// Program Manager act on another group or item, or run a command of the name's own.
int FormatShowGroupCommand(char (&command)[kProgmanCommandSize], const char* group);
int FormatDeleteItemCommand(char (&command)[kProgmanCommandSize], const char* item);
