#pragma once
// The numbered well-known locations. Scripts name files only; the removal steps find them in these
// directories. Every location that names a directory ends with a backslash once resolved.
#include "TextItem.h"

enum Location {
    kLocNone = 0,
    kLocProgramFile = 1,  // full path of the running program (no backslash)
    kLocProgramDir = 2,
    kLocWindowsDir = 3,
    kLocSystemDir = 4,
    kLocTempDir = 5,
    kLocDesktop = 6,
    kLocFavorites = 7,
    // 8 would be a new empty temporary file, created on every resolve. No part of the tool uses it,
    // so the table does not offer it: resolving 8 leaves the record empty instead of littering files.
    kLocAppData = 9,
    kLocInternetCache = 10,
    kLocCookies = 11,
    kLocFonts = 12,
    kLocHistory = 13,
    kLocNetHood = 14,
    kLocPersonal = 15,
    kLocPrintHood = 16,
    kLocPrograms = 17,
    kLocRecent = 18,
    kLocSendTo = 19,
    kLocStartMenu = 20,
    kLocStartup = 21,
    kLocAltStartup = 22,
    kLocCommonStartup = 23,
    kLocCommonAltStartup = 24,
    kLocTemplates = 25,
    kLocPrintDriverDir = 26,     // driver directory of the running environment
    kLocPrintDriverDirW40 = 27,  // driver directory of the Windows 9x environment
    kLocPrintProcDir = 28,
    kLocPrintProcDirW40 = 29,  // answered exactly like 28
    kLocProgramFiles = 30,
    kLocPrinters = 31,
    kLocCommonPrograms = 32,
    kLocColorDir = 33,
    kLocCurrentDir = 34,
    kLocInfDir = 35,
    kLocLast = 35,
};

// The label under which the profile viewer shows a location ("WINDIR", "SYSDIR", ...), or null
// for a location without one.
const char* LocationLabel(int location);

// The shell folder (CSIDL value) behind a location, or -1 when the location is not a shell folder.
int ShellFolderCsidl(int location);

// Takes a path the shell answered for a folder: it is used only when it leaves room for the
// backslash that ends every directory (length plus one below 260). Returns false and leaves out
// empty otherwise.
bool UseShellFolderPath(const char* shellPath, TextItem& out);
