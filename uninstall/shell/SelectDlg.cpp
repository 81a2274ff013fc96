#include "SelectDlg.h"

#include "diag/ProfileViewDlg.h"
#include "res/resource.h"
#include "script/UninstallDatabase.h"
#include "shell/SelectionRows.h"
#include "shell/WaitCursor.h"

const char kSelectDetailsKey[] = "SOFTWARE\\TOVARI QUELLAN\\QUINST01";

namespace {
const int kColumnWidth = 100;
const UINT kColumnHeaders[] = {IDS_COL_NAME,    IDS_COL_DRIVER,   IDS_COL_LOCATION,
                               IDS_COL_DEFAULT, IDS_COL_SPOOLARA, IDS_COL_VIZORED};
const int kColumnCount = sizeof(kColumnHeaders) / sizeof(kColumnHeaders[0]);
const COLORREF kMaskColour = RGB(255, 0, 255);
const char kPageProperty[] = "QUSelectPage";

// The four view commands in view-number order (LVS_ICON, LVS_REPORT, LVS_SMALLICON, LVS_LIST).
const UINT kViewCommands[] = {IDM_LARGEICONS, IDM_DETAILS, IDM_SMALLICONS, IDM_LIST};

// Without the diagnostic switch the menu ends with "Select All": its separator and "Other
// Details..." go (there is no item at position 10; deleting it fails harmlessly).
const UINT kDetailsPositions[] = {10, 9, 8};

bool DetailsWanted() {
    char value[64] = "";
    LONG size = sizeof(value);
    LONG result = RegQueryValueA(HKEY_CURRENT_USER, kSelectDetailsKey, value, &size);
    // A value too long for the buffer is still a value that is set.
    if (result == ERROR_MORE_DATA) return true;
    return result == ERROR_SUCCESS && value[0] != 0;
}

HWND ParentOf(HWND page) {
    return GetParent(page);
}
}  // namespace

CSelectDlg::CSelectDlg()
    : database(NULL),
      smallImages(NULL),
      largeImages(NULL),
      menu(NULL),
      popup(NULL),
      selectedCount(0),
      accelerators(NULL),
      listProc(NULL) {}

CSelectDlg::~CSelectDlg() {
    if (smallImages) ImageList_Destroy(smallImages);
    if (largeImages) ImageList_Destroy(largeImages);
    if (menu) DestroyMenu(menu);
}

INT_PTR CSelectDlg::DialogProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_SIZE:
            OnSize(LOWORD(lParam));
            return FALSE;
        case WM_NOTIFY:
            OnNotify(reinterpret_cast<const NMHDR*>(lParam));
            return FALSE;
        case WM_CONTEXTMENU:
            // The keyboard's menu key (lParam -1); a right click already opened the menu on NM_RCLICK.
            if (lParam == -1 && reinterpret_cast<HWND>(wParam) == list.hwnd) {
                RECT r;
                GetWindowRect(list.hwnd, &r);
                ShowContextMenu(POINT{r.left + 8, r.top + 8});
                return TRUE;
            }
            return FALSE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam));
    }
    return FALSE;
}

BOOL CSelectDlg::OnInitDialog() {
    HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    strings.hInstance = module;
    list.Attach(GetDlgItem(hwnd, IDC_PRINTERLIST));
    InsertColumns();
    list.DeleteAllItems();
    list.InsertItem(strings.GetText(IDS_LOADING_ROW), -1, -1, 0);
    LoadImageLists();
    list.SetShowSelAlways(true);
    strings.SetDlgItemTextId(hwnd, IDC_SELECTLABEL, IDS_SELECT_LABEL);
    strings.SetDlgItemTextId(hwnd, IDC_SELECTWARNING, IDS_SELECT_WARNING);
    accelerators = LoadAcceleratorsA(module, MAKEINTRESOURCEA(IDA_SELECT));
    SubclassList();
    return TRUE;
}

void CSelectDlg::InsertColumns() {
    for (int i = 0; i < kColumnCount; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumnWidth;
        column.pszText = const_cast<char*>(strings.GetText(kColumnHeaders[i]));
        column.iSubItem = i;
        list.InsertColumn(i, &column);
    }
}

void CSelectDlg::LoadImageLists() {
    HINSTANCE module = strings.hInstance;
    // The page owns the image lists and destroys them itself; a list view without this style
    // would destroy them as well, and the second destruction would free them twice.
    if (list.hwnd)
        SetWindowLongPtrA(list.hwnd, GWL_STYLE,
                          GetWindowLongPtrA(list.hwnd, GWL_STYLE) | LVS_SHAREIMAGELISTS);
    if (smallImages) ImageList_Destroy(smallImages);
    smallImages = ImageList_LoadImageA(module, MAKEINTRESOURCEA(IDB_PRINTERS_SMALL), 18, 10, kMaskColour,
                                       IMAGE_BITMAP, 0);
    SendMessageA(list.hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages));
    if (largeImages) ImageList_Destroy(largeImages);
    largeImages = ImageList_LoadImageA(module, MAKEINTRESOURCEA(IDB_PRINTERS_LARGE), 32, 10, kMaskColour,
                                       IMAGE_BITMAP, 0);
    SendMessageA(list.hwnd, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(largeImages));
}

// The template is narrower than the placeholder the page is moved over; the controls follow the
// page's width so nothing ends short of its right edge.
void CSelectDlg::OnSize(int width) {
    const int controls[] = {IDC_SELECTLABEL, IDC_PRINTERLIST, IDC_SELECTWARNING};
    for (int id : controls) {
        HWND control = GetDlgItem(hwnd, id);
        RECT r;
        if (!control || !GetWindowRect(control, &r)) continue;
        MapWindowPoints(NULL, hwnd, reinterpret_cast<POINT*>(&r), 2);
        if (width > r.left)
            SetWindowPos(control, NULL, 0, 0, width - r.left, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CSelectDlg::Refill() {
    CWaitCursor wait;
    list.SetView(CListViewCtl::kViewReport);
    list.DeleteAllItems();
    if (!database || database->CountSelectablePrinters() == 0) return;

    const std::vector<InstalledPrinter>& printers = database->Printers();
    // Drawn once when full: redrawn for every row, a list of a thousand printers took seconds.
    SendMessageA(list.hwnd, WM_SETREDRAW, FALSE, 0);
    for (size_t i = 0; i < printers.size(); ++i)
        if (IsListedPrinter(printers[i])) AddRow(printers[i], static_cast<int>(i));
    SendMessageA(list.hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list.hwnd, NULL, TRUE);

    list.SetColumnWidth(-1, LVSCW_AUTOSIZE_USEHEADER);
    ShowView(CListViewCtl::kViewList);
    SetFocus(list.hwnd);
    list.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    // Nothing is selected yet.
    SendMessageA(ParentOf(hwnd), UM_ENABLEUNINSTALL, 0, 0);
}

void CSelectDlg::AddRow(const InstalledPrinter& printer, int position) {
    int row = list.InsertItem(printer.name.Text(), -1, PrinterRowImage(printer), position);
    if (row < 0) return;
    list.SetItemText(printer.driver.Text(), row, 1);
    list.SetItemText(printer.location.IsEmpty() ? strings.GetText(IDS_LOCAL) : printer.location.Text(), row,
                     2);
    list.SetItemText(strings.GetText(printer.isDefault ? IDS_YES : IDS_NO), row, 3);
    list.SetItemText(strings.GetText(printer.isSpoolara ? IDS_YES : IDS_NO), row, 4);
    list.SetItemText(
        printer.vizoredName.IsEmpty() ? strings.GetText(IDS_NOT_APPLICABLE) : printer.vizoredName.Text(), row,
        5);
}

void CSelectDlg::CollectSelection() {
    selectedCount = 0;
    if (!database) return;
    std::vector<InstalledPrinter>& printers = database->Printers();
    const int rows = list.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        // Room for the longest printer name: a cut name would match no record, or a shorter one.
        char name[TextItem::kCapacity] = "";
        list.GetItemText(row, 0, name, sizeof(name));
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(list.hwnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        bool selected = (list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        MarkRowSelection(printers, static_cast<long long>(item.lParam), name, selected);
        if (selected) ++selectedCount;
    }
}

int CSelectDlg::IsVisible() const {
    return hwnd && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
}

void CSelectDlg::OnNotify(const NMHDR* header) {
    if (!header || header->idFrom != IDC_PRINTERLIST) return;
    if (header->code == LVN_ITEMCHANGED) {
        // Only ever enables: an emptied selection leaves the button as it is.
        if (HasSelection()) SendMessageA(ParentOf(hwnd), UM_ENABLEUNINSTALL, 1, 0);
    } else if (header->code == NM_RCLICK) {
        DWORD position = GetMessagePos();
        ShowContextMenu(POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))});
    }
}

bool CSelectDlg::HasSelection() {
    return SendMessageA(list.hwnd, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
}

HMENU CSelectDlg::BuildContextMenu() {
    if (!menu) {
        menu = LoadMenuA(strings.hInstance, MAKEINTRESOURCEA(IDM_CONTEXT));
        popup = menu ? GetSubMenu(menu, 0) : NULL;
        if (popup && !DetailsWanted())
            for (UINT position : kDetailsPositions) DeleteMenu(popup, position, MF_BYPOSITION);
    }
    if (!popup) return NULL;
    const int view = list.GetView();
    for (int v = 0; v < 4; ++v)
        CheckMenuItem(popup, kViewCommands[v], MF_BYCOMMAND | (v == view ? MF_CHECKED : MF_UNCHECKED));
    const UINT state = HasSelection() ? MF_ENABLED : (MF_GRAYED | MF_DISABLED);
    EnableMenuItem(popup, IDM_REMOVEPRINTERS, MF_BYCOMMAND | state);
    EnableMenuItem(popup, IDM_OTHERDETAILS, MF_BYCOMMAND | state);
    SetMenuDefaultItem(popup, IDM_REMOVEPRINTERS, FALSE);
    return popup;
}

void CSelectDlg::ShowContextMenu(POINT at) {
    HMENU shown = BuildContextMenu();
    if (shown) TrackPopupMenu(shown, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, NULL);
}

BOOL CSelectDlg::OnCommand(WORD id) {
    switch (id) {
        case IDOK:
        case IDCANCEL:
        case IDC_EXIT:
            EndDialog(hwnd, 1);
            return TRUE;
    }
    CWaitCursor wait;
    switch (id) {
        case IDM_LARGEICONS:
            ShowView(CListViewCtl::kViewIcon);
            return TRUE;
        case IDM_SMALLICONS:
            ShowView(CListViewCtl::kViewSmallIcon);
            return TRUE;
        case IDM_LIST:
            ShowView(CListViewCtl::kViewList);
            return TRUE;
        case IDM_DETAILS:
            ShowView(CListViewCtl::kViewReport);
            return TRUE;
        case IDM_REMOVEPRINTERS:
            CollectSelection();
            PostMessageA(ParentOf(hwnd), UM_STARTREMOVAL, 0, 0);
            return TRUE;
        case IDM_SELECTALL:
            SelectAll();
            return TRUE;
        case IDM_OTHERDETAILS:
            CollectSelection();
            ShowProfileViewer();
            return TRUE;
    }
    return FALSE;
}

// A view change through the style bits leaves the old view's pixels and, in the icon views, the
// old item positions: arrange the items again and repaint the whole list.
void CSelectDlg::ShowView(int view) {
    list.SetView(view);
    if (view == CListViewCtl::kViewIcon || view == CListViewCtl::kViewSmallIcon)
        SendMessageA(list.hwnd, LVM_ARRANGE, LVA_DEFAULT, 0);
    InvalidateRect(list.hwnd, NULL, TRUE);
}

// The viewer shows what the removal would take for the selection just collected.
void CSelectDlg::ShowProfileViewer() {
    CProfileViewDlg viewer(database, selectedCount);
    DialogBoxParamA(strings.hInstance, MAKEINTRESOURCEA(IDD_PROFILEVIEW), hwnd, CommonDialogProc,
                    reinterpret_cast<LPARAM>(&viewer));
}

void CSelectDlg::SelectAll() {
    const int rows = list.GetItemCount();
    for (int row = 0; row < rows; ++row) list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

void CSelectDlg::SubclassList() {
    if (!list.hwnd || listProc) return;
    SetPropA(list.hwnd, kPageProperty, reinterpret_cast<HANDLE>(this));
    listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSelectDlg::ListProc)));
}

LRESULT CALLBACK CSelectDlg::ListProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    CSelectDlg* page = reinterpret_cast<CSelectDlg*>(GetPropA(control, kPageProperty));
    if (!page || !page->listProc) return DefWindowProcA(control, message, wParam, lParam);
    WNDPROC original = page->listProc;
    if (message == WM_KEYDOWN && page->accelerators && page->hwnd) {
        MSG msg = {control, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {0, 0}};
        if (TranslateAcceleratorA(page->hwnd, page->accelerators, &msg)) return 0;
    }
    // The dialog loop already made a character of Ctrl+A; the list would take it as a search key.
    if (message == WM_CHAR && wParam == 1 && (GetKeyState(VK_CONTROL) & 0x8000)) return 0;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(control, kPageProperty);
        page->listProc = NULL;
    }
    return CallWindowProcA(original, control, message, wParam, lParam);
}
