#pragma once
// String-table ids that configure the launcher. Shared by the code and the .rc files, so only
// #define lines belong here.

// Switches ("_YES_" or a number); nonzero runs the job.
#define IDS_INF_CLEANUP 1
#define IDS_RUN_INSTALLER 11
#define IDS_SHORTCUT_CLEANUP 21

// The INF cleanup: which line of an oem*.inf identifies this package, and the text it begins with.
#define IDS_INF_LINE_NUMBER 2
#define IDS_INF_LINE_TEXT 3

// The installer search: installer name, the companion file beside it, the entry-visit limit.
#define IDS_INSTALLER_NAME 12
#define IDS_COMPANION_NAME 13
#define IDS_VISIT_LIMIT 14

// The shortcut pairs, relative to the Programs folder: the second of a pair goes when the first exists.
#define IDS_SHORTCUT_A_KEEP 22
#define IDS_SHORTCUT_A_DUPLICATE 23
#define IDS_SHORTCUT_B_KEEP 24
#define IDS_SHORTCUT_B_DUPLICATE 25
