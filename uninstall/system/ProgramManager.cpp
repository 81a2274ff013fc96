#include "ProgramManager.h"

#include <windows.h>
// ddeml.h needs the types of windows.h.
#include <ddeml.h>

#include <cstring>

#include "ProgmanCommands.h"

namespace {
HDDEDATA CALLBACK IgnoreTransactions(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return NULL;
}
}  // namespace

int SendProgmanCommand(const char* command) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, IgnoreTransactions, APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS, 0) !=
        DMLERR_NO_ERROR)
        return 0;
    int accepted = 0;
    HSZ progman = DdeCreateStringHandleA(instance, "PROGMAN", 0);
    HCONV conversation = progman ? DdeConnect(instance, progman, progman, NULL) : NULL;
    if (conversation) {
        // The command goes with its terminating zero, as Program Manager expects execute data.
        HDDEDATA result = DdeClientTransaction(reinterpret_cast<BYTE*>(const_cast<char*>(command)),
                                               static_cast<DWORD>(strlen(command) + 1), conversation, NULL,
                                               CF_TEXT, XTYP_EXECUTE, 5000, NULL);
        accepted = result != NULL;
        DdeDisconnect(conversation);
    }
    if (progman) DdeFreeStringHandle(instance, progman);
    DdeUninitialize(instance);
    return accepted;
}

int DeleteProgmanItem(const char* group, const char* item) {
    char showGroup[kProgmanCommandSize];
    char deleteItem[kProgmanCommandSize];
    if (!FormatShowGroupCommand(showGroup, group) || !FormatDeleteItemCommand(deleteItem, item)) return 0;
    if (!SendProgmanCommand(showGroup)) return 0;
    return SendProgmanCommand(deleteItem);
}
