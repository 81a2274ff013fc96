#pragma once
// Resource identifiers of the uninstall tool, named by kind. Shared by the .rc file and the code.

// Icons
#define IDI_MAIN 1
#define IDI_SMALL 2

// Dialog templates; three are named by text, the others by number.
#define IDD_MAIN_NAME "IDD_MAIN"
#define IDD_MAIN_NOBMP_NAME "IDD_MAIN_NOBMP"
#define IDD_SELECT_NAME "IDD_SELECT"
#define IDD_REMOVE_NAME "IDD_REMOVE"
#define IDD_ABOUT 114
#define IDD_LOADING 115
#define IDD_PROFILEVIEW 116

// Bitmaps
#define IDB_PANEL 102
#define IDB_PRINTERS_SMALL 116
#define IDB_PRINTERS_LARGE 117
#define IDB_CHECKMARKS 119

// Menus and accelerators
#define IDM_CONTEXT 117
#define IDA_SELECT 118

// Menu commands
#define IDM_LARGEICONS 40004
#define IDM_SMALLICONS 40005
#define IDM_LIST 40006
#define IDM_DETAILS 40007
#define IDM_REMOVEPRINTERS 40009
#define IDM_SELECTALL 40010
#define IDM_OTHERDETAILS 40012
#define IDM_ABOUT 156  // system-menu entry

// Controls
#define IDC_PLACEHOLDER 1003
#define IDC_PANEL 1004
#define IDC_SEPARATOR 1005
#define IDC_PRINTERLIST 1020
#define IDC_PROGRESS 1023
#define IDC_EXIT 1052
#define IDC_UNINSTALL 1080
#define IDC_LOADINGICON 1082
#define IDC_LOADINGTEXT 1083
#define IDC_SELECTLABEL 1084
#define IDC_SELECTWARNING 1085
#define IDC_LOADINGEXTRA 1086

// Strings
#define IDS_RUN_KEY 51
#define IDS_INI_PATTERN 99
#define IDS_NOT_ADMIN 151
#define IDS_SPOOLER_UNSTABLE 152
#define IDS_BUILDING_DATABASE 153
#define IDS_ABOUT_MENU 156
#define IDS_NO_SCRIPTS 158
#define IDS_CAPTION 161
#define IDS_UNINSTALL 162
#define IDS_CANCEL 163
#define IDS_LOADING_TITLE 164
#define IDS_LEGAL 167
#define IDS_CLOSE 168
#define IDS_SELECT_LABEL 178
#define IDS_SELECT_WARNING 179
#define IDS_COL_NAME 180
#define IDS_COL_DRIVER 181
#define IDS_COL_LOCATION 182
#define IDS_LOCAL 183
#define IDS_COL_DEFAULT 184
#define IDS_COL_SPOOLARA 185
#define IDS_COL_VIZORED 186
#define IDS_YES 187
#define IDS_NO 188
#define IDS_NOT_APPLICABLE 189
#define IDS_LOADING_ROW 198
#define IDS_STOP_QUESTION 202
#define IDS_SPOOLER_NOT_RESPONDING 206

// Private messages to the main dialog
#define UM_ENABLEUNINSTALL (WM_USER + 103)
#define UM_STARTREMOVAL (WM_USER + 104)
#define UM_REMOVALDONE (WM_USER + 105)
