// SETUPGATE: prepares the machine for the package's driver installer, runs it, and tidies up after
// it. Everything it does comes from its string table; it shows nothing and always exits with 0.
#include <windows.h>

#include "ConfigStrings.h"
#include "LauncherStrings.h"
#include "OemInfCleanup.h"
#include "ProgramSearch.h"
#include "ShortcutCleanup.h"

static void RunInfCleanup() {
    char lineText[kConfigTextSize];
    GetConfigText(IDS_INF_LINE_TEXT, lineText);
    CleanOemInfFiles(GetConfigSwitch(IDS_INF_LINE_NUMBER), lineText);
}

// The search starts in the current directory, not the launcher's own: the package is started from
// its top directory.
static void RunInstaller() {
    char directory[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
    if (length == 0 || length >= sizeof directory) return;
    char program[kConfigTextSize];
    char companion[kConfigTextSize];
    GetConfigText(IDS_INSTALLER_NAME, program);
    GetConfigText(IDS_COMPANION_NAME, companion);
    FindAndRunInstaller(directory, program, companion, GetConfigSwitch(IDS_VISIT_LIMIT));
}

static void RunShortcutCleanup() {
    char keepA[kConfigTextSize];
    char duplicateA[kConfigTextSize];
    char keepB[kConfigTextSize];
    char duplicateB[kConfigTextSize];
    GetConfigText(IDS_SHORTCUT_A_KEEP, keepA);
    GetConfigText(IDS_SHORTCUT_A_DUPLICATE, duplicateA);
    GetConfigText(IDS_SHORTCUT_B_KEEP, keepB);
    GetConfigText(IDS_SHORTCUT_B_DUPLICATE, duplicateB);
    CleanDuplicateShortcuts(keepA, duplicateA, keepB, duplicateB);
}

// The order matters: stale INF copies go before the installer runs, and duplicate shortcuts can only
// be removed after the installer has finished creating them.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    SetConfigInstance(instance);
    if (GetConfigSwitch(IDS_INF_CLEANUP)) RunInfCleanup();
    if (GetConfigSwitch(IDS_RUN_INSTALLER)) RunInstaller();
    if (GetConfigSwitch(IDS_SHORTCUT_CLEANUP)) RunShortcutCleanup();
    return 0;
}
