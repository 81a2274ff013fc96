#include "Locations.h"

#include <cstring>

#include "FileSpec.h"

namespace {
struct LabelRow {
    int location;
    const char* label;
};
const LabelRow kLabels[] = {
    {kLocWindowsDir, "WINDIR"},
    {kLocSystemDir, "SYSDIR"},
    {kLocColorDir, "COLORDIR"},
    {kLocPrintProcDir, "PRINTPROCDIR"},
    {kLocPrintProcDirW40, "PRINTPROCDIR_W40"},
    {kLocPrintDriverDir, "PRINTDRIVERDIR"},
    {kLocPrintDriverDirW40, "PRINTDRIVERDIR_W40"},
};

struct ShellRow {
    int location;
    int csidl;
};
// CSIDL values as the shell defines them; kept as plain numbers so the table compiles anywhere.
const ShellRow kShellFolders[] = {
    {kLocDesktop, 0},           {kLocFavorites, 6},         {kLocAppData, 26},
    {kLocInternetCache, 32},    {kLocCookies, 33},          {kLocFonts, 20},
    {kLocHistory, 34},          {kLocNetHood, 19},          {kLocPersonal, 5},
    {kLocPrintHood, 27},        {kLocPrograms, 2},          {kLocRecent, 8},
    {kLocSendTo, 9},            {kLocStartMenu, 11},        {kLocStartup, 7},
    {kLocAltStartup, 29},       {kLocCommonStartup, 24},    {kLocCommonAltStartup, 30},
    {kLocTemplates, 21},        {kLocProgramFiles, 38},     {kLocPrinters, 4},
    {kLocCommonPrograms, 23},
};
}  // namespace

const char* LocationLabel(int location) {
    for (const LabelRow& row : kLabels)
        if (row.location == location) return row.label;
    return nullptr;
}

int ShellFolderCsidl(int location) {
    for (const ShellRow& row : kShellFolders)
        if (row.location == location) return row.csidl;
    return -1;
}

bool UseShellFolderPath(const char* shellPath, TextItem& out) {
    out.Clear();
    if (!shellPath || strlen(shellPath) + 1 >= static_cast<size_t>(TextItem::kCapacity)) return false;
    out.Assign(shellPath);
    AppendBackslash(out);
    return true;
}
