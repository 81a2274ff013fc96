// Shows every dialog of the uninstall tool, filled with texts and sample rows the way the
// program fills them, one after the other, so that a script can photograph each one.
//
//   ShowDialogs.exe FOLDER
//
// For each view it writes FOLDER\<view>.ready holding the X display, then waits (up to 20 s)
// until FOLDER\<view>.done exists before it moves on.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "../Photographer.h"
#include "resource.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

std::string Text(UINT id) {
    char buffer[512] = "";
    LoadStringA(Module(), id, buffer, sizeof buffer);
    return buffer;
}

// The removal page's rows: which one is current, for painting the step images.
int g_currentRow = -1;
HIMAGELIST g_checks = nullptr;
HFONT g_bold = nullptr;

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_CTLCOLORSTATIC && g_checks) {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id >= IDC_STEPICON_FIRST && id <= IDC_STEPICON_LAST) {
            const int row = id - IDC_STEPICON_FIRST;
            const int image = row < g_currentRow ? 1 : row == g_currentRow ? 2 : 0;
            ImageList_Draw(g_checks, image, reinterpret_cast<HDC>(wParam), 0, 0, ILD_NORMAL);
            return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        }
    }
    (void)page;
    return FALSE;
}

INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void PlaceOver(HWND page, HWND parent, int placeholder) {
    RECT r;
    GetWindowRect(GetDlgItem(parent, placeholder), &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(page, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
}

void AddColumn(HWND list, int index, const std::string& header, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(header.c_str());
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void AddRow(HWND list, int image, const std::string* cells, int count) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.iImage = image;
    item.pszText = const_cast<char*>(cells[0].c_str());
    const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (int i = 1; i < count; ++i) {
        LVITEMA sub = {};
        sub.mask = LVIF_TEXT;
        sub.iItem = row;
        sub.iSubItem = i;
        sub.pszText = const_cast<char*>(cells[i].c_str());
        SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&sub));
    }
}

void FillPrinterList(HWND list, DWORD view) {
    for (int c = 0; c < 6; ++c) AddColumn(list, c, Text(IDS_COL_NAME + (c < 3 ? c : c + 1)), 100);
    const COLORREF magenta = RGB(255, 0, 255);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(ImageList_LoadImageA(Module(), MAKEINTRESOURCEA(IDB_PRINTERS_SMALL), 18,
                                                               10, magenta, IMAGE_BITMAP, 0)));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(ImageList_LoadImageA(Module(), MAKEINTRESOURCEA(IDB_PRINTERS_LARGE), 32,
                                                               10, magenta, IMAGE_BITMAP, 0)));
    const std::string rows[][6] = {
        {"Office Laser 4410", "Office Laser 4410 PS", Text(IDS_LOCAL), Text(IDS_YES), Text(IDS_YES), Text(IDS_NOT_APPLICABLE)},
        {"Colour Jet 220", "Colour Jet 220", "\\\\PRINTSRV", Text(IDS_NO), Text(IDS_YES), Text(IDS_NOT_APPLICABLE)},
        {"Photo Proof", "Colour Jet 220", Text(IDS_LOCAL), Text(IDS_NO), Text(IDS_NO), "Photo Proof (Vizora)"},
        {"Lab Proof", "Office Laser 4410 PS", "\\\\LAB", Text(IDS_NO), Text(IDS_YES), "Lab Proof (Vizora)"},
    };
    const int images[] = {1, 2, 4, 6};
    for (int r = 0; r < 4; ++r) AddRow(list, images[r], rows[r], 6);
    for (int c = 0; c < 6; ++c) SendMessageA(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
    SetWindowLongPtrA(list, GWL_STYLE, (GetWindowLongPtrA(list, GWL_STYLE) & ~LVS_TYPEMASK) | view);
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
}

HWND MainWindow(const char* name) {
    HWND main = CreateDialogParamA(Module(), name, nullptr, PlainProc, 0);
    SetWindowTextA(main, Text(IDS_CAPTION).c_str());
    SetDlgItemTextA(main, IDC_UNINSTALL, Text(IDS_UNINSTALL).c_str());
    SetDlgItemTextA(main, IDC_EXIT, Text(IDS_CANCEL).c_str());
    ShowWindow(GetDlgItem(main, IDC_PLACEHOLDER), SW_HIDE);
    SetWindowPos(main, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
    return main;
}

void ShowSelection(const std::string& folder, const char* name, DWORD view, const char* shot) {
    HWND main = MainWindow(name);
    HWND page = CreateDialogParamA(Module(), IDD_SELECT_NAME, main, PageProc, 0);
    PlaceOver(page, main, IDC_PLACEHOLDER);
    SetDlgItemTextA(page, IDC_SELECTLABEL, Text(IDS_SELECT_LABEL).c_str());
    SetDlgItemTextA(page, IDC_SELECTWARNING, Text(IDS_SELECT_WARNING).c_str());
    FillPrinterList(GetDlgItem(page, IDC_PRINTERLIST), view);
    ShowWindow(page, SW_SHOW);
    ShowWindow(main, SW_SHOW);
    SetFocus(GetDlgItem(page, IDC_PRINTERLIST));
    Photograph(folder, shot);
    DestroyWindow(main);
}

void ShowRemoval(const std::string& folder) {
    HWND main = MainWindow(IDD_MAIN_NOBMP_NAME);
    SetDlgItemTextA(main, IDC_EXIT, Text(IDS_CLOSE).c_str());
    EnableWindow(GetDlgItem(main, IDC_UNINSTALL), FALSE);
    HWND page = CreateDialogParamA(Module(), IDD_REMOVE_NAME, main, PageProc, 0);
    PlaceOver(page, main, IDC_PLACEHOLDER);
    g_checks = ImageList_LoadImageA(Module(), MAKEINTRESOURCEA(IDB_CHECKMARKS), 16, 10, RGB(255, 0, 255),
                                    IMAGE_BITMAP, 0);
    LOGFONTA font;
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(page, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    g_bold = CreateFontIndirectA(&font);
    g_currentRow = 7;  // the longest label, in bold
    for (int row = 0; row < 9; ++row) {
        SetDlgItemTextA(page, IDC_STEPLABEL_FIRST + row, Text(IDS_REMOVE_BUILD + row).c_str());
        if (row == g_currentRow)
            SendDlgItemMessageA(page, IDC_STEPLABEL_FIRST + row, WM_SETFONT, reinterpret_cast<WPARAM>(g_bold), FALSE);
    }
    ShowWindow(page, SW_SHOW);
    ShowWindow(main, SW_SHOW);
    Photograph(folder, "main-removal");
    DestroyWindow(main);
}

void ShowAbout(const std::string& folder) {
    HWND about = CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, PlainProc, 0);
    SetWindowTextA(about, Text(IDS_ABOUT_TITLE).c_str());
    SetDlgItemTextA(about, IDC_LEGAL, Text(IDS_LEGAL).c_str());
    HWND list = GetDlgItem(about, IDC_PRINTERLIST);
    AddColumn(list, 0, ".", 200);
    AddColumn(list, 1, "..", 200);
    const std::string rows[][2] = {{Text(IDS_ABOUT_VERSION), "1.00.00.01"},
                                   {Text(IDS_ABOUT_BUILDSTAMP), "Aug  4 2006 01:11:23"},
                                   {Text(IDS_ABOUT_PLATFORM), "WinNT"},
                                   {"Free Physical RAM", "1834212 kb"},
                                   {"Free Virtual RAM", "2010488 kb"},
                                   {"Swap File Size", "4194303 kb"}};
    for (const auto& row : rows) AddRow(list, -1, row, 2);
    for (int c = 0; c < 2; ++c) SendMessageA(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
    SetWindowPos(about, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Photograph(folder, "about");
    DestroyWindow(about);
}

void ShowLoading(const std::string& folder) {
    HWND loading = CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_LOADING), nullptr, PlainProc, 0);
    SetWindowTextA(loading, Text(IDS_LOADING_TITLE).c_str());
    SetDlgItemTextA(loading, IDC_LOADINGTEXT, Text(IDS_BUILDING_DATABASE).c_str());
    SendDlgItemMessageA(loading, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 99));
    SendDlgItemMessageA(loading, IDC_PROGRESS, PBM_SETPOS, 40, 0);
    ShowWindow(GetDlgItem(loading, IDC_LOADINGEXTRA), SW_HIDE);
    SetWindowPos(loading, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Photograph(folder, "loading");
    DestroyWindow(loading);
}

void ShowProfileView(const std::string& folder) {
    HWND viewer = CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_PROFILEVIEW), nullptr, PlainProc, 0);
    CheckRadioButton(viewer, IDC_SECTION_DELETEINI, IDC_SECTION_DIRECTORIES, IDC_SECTION_REGISTRY);
    SetWindowTextA(viewer, "Extra Info - Multiple Printers");
    HWND list = GetDlgItem(viewer, IDC_PROFILELIST);
    const char* headers[] = {"Base Key", "Sub Key", "Value Name", "Deltree"};
    for (int c = 0; c < 4; ++c) AddColumn(list, c, headers[c], 200);
    const std::string rows[][4] = {{"HKLM", "\"SOFTWARE\\TOVARI QUELLAN\\OEM01\"", "\"\"", "1"},
                                   {"HKCU", "\"SOFTWARE\\TOVARI QUELLAN\\QUINST01\"", "\"\"", ""}};
    for (const auto& row : rows) AddRow(list, -1, row, 4);
    for (int c = 0; c < 4; ++c) SendMessageA(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
    SetWindowPos(viewer, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Photograph(folder, "profileview");
    DestroyWindow(viewer);
}

void RegisterMainClass() {
    WNDCLASSA dialogClass;
    if (!GetClassInfoA(nullptr, "#32770", &dialogClass)) return;
    dialogClass.lpszClassName = "QLNUninstallWindowClass__";
    dialogClass.hInstance = Module();
    RegisterClassA(&dialogClass);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    InitCommonControls();
    RegisterMainClass();
    ShowSelection(folder, IDD_MAIN_NOBMP_NAME, LVS_REPORT, "main-select-details");
    ShowSelection(folder, IDD_MAIN_NOBMP_NAME, LVS_ICON, "main-select-icons");
    ShowSelection(folder, IDD_MAIN_NAME, LVS_LIST, "main-panel-select-list");
    ShowRemoval(folder);
    ShowLoading(folder);
    ShowAbout(folder);
    ShowProfileView(folder);
    return 0;
}
