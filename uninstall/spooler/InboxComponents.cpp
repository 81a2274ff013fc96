#include "InboxComponents.h"

#include <cstddef>

#include "script/TextItem.h"

namespace {
const char* const kInboxMonitors[] = {
    "Local Port",
    "Standard TCP/IP Port",
    "LPR Port",
    "USB Monitor",
    "WSD Port",
    "BJ Language Monitor",
    "PJL Language Monitor",
    "AppleTalk Printing Devices",
    "Windows NT Fax Monitor",
    "Microsoft Shared Fax Monitor",
};
const char* const kInboxPrintProcessors[] = {"WinPrint"};
const char* const kWindowsServices[] = {
    "Spooler",  "RpcSs",        "RpcEptMapper",      "DcomLaunch", "PlugPlay",
    "EventLog", "LanmanServer", "LanmanWorkstation", "Fax",        "HTTP",
    "SamSs",    "Tcpip",        "Winmgmt",           "Schedule",   "PrintNotify",
};

template <size_t N>
bool Listed(const char* const (&table)[N], const char* name) {
    if (!name) return false;
    for (const char* entry : table) {
        if (EqualsNoCase(entry, name)) return true;
    }
    return false;
}
}  // namespace

bool IsInboxMonitor(const char* name) {
    return Listed(kInboxMonitors, name);
}

bool IsInboxPrintProcessor(const char* name) {
    return Listed(kInboxPrintProcessors, name);
}

bool IsWindowsService(const char* name) {
    return Listed(kWindowsServices, name);
}
