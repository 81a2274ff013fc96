#pragma once
// Program Manager's groups and items, reached over DDE (service and topic "PROGMAN") on Win32s.

// Sends one command in its own conversation; 1 when Program Manager accepted it, 0 when it
// rejected it or did not answer within 5 seconds, or when no Program Manager serves DDE.
int SendProgmanCommand(const char* command);

// "[ShowGroup(group,1)]", then "[DeleteItem(item)]": 1 when both were accepted. 0 without sending
// anything when a name cannot be put into a command (ProgmanCommands.h).
int DeleteProgmanItem(const char* group, const char* item);
