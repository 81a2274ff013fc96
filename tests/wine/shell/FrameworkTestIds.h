#pragma once
// Resource ids of the framework test program's own string table and dialog.
#define IDS_T_FIRST 1
#define IDS_T_SECOND 2
#define IDS_T_THIRD 3
#define IDS_T_FOURTH 4
#define IDS_T_FIFTH 5
#define IDS_T_INI_WINDIR 10
#define IDS_T_INI_SEARCHPATH 11
#define IDS_T_INI_BOTH 12
#define IDS_T_INI_FULLPATH 13
#define IDS_T_INI_MISSING 14
#define IDS_T_TWO_FIELDS 15
#define IDS_T_PLAIN_BACKSLASH_N 16
#define IDS_T_LONG 17
#define IDS_T_UNUSED 999

#define IDD_T_DIALOG 200
#define IDC_T_FRAME 201
