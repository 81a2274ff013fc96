#include "ListViewCtl.h"

static const LONG_PTR kViewMask = LVS_TYPEMASK;  // the low two style bits

void CListViewCtl::Attach(HWND control) {
    hwnd = control;
    columnCount = 0;
}

int CListViewCtl::InsertColumn(int index, const LVCOLUMNA* column) {
    if (!hwnd || index < 0 || !column) return -1;
    int result = static_cast<int>(
        SendMessageA(hwnd, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(column)));
    if (result >= 0) ++columnCount;
    return result;
}

int CListViewCtl::InsertTextColumn(int index, const char* text, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(text ? text : "");
    column.iSubItem = index;
    return InsertColumn(index, &column);
}

int CListViewCtl::InsertItem(const char* text, int index, int image, LPARAM lParam) {
    if (!hwnd) return -1;
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index == -1 ? GetItemCount() : index;
    item.lParam = lParam;
    if (text && text[0]) {
        item.mask |= LVIF_TEXT;
        item.pszText = const_cast<char*>(text);
    }
    if (image != -1) {
        item.mask |= LVIF_IMAGE;
        item.iImage = image;
    }
    return static_cast<int>(SendMessageA(hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListViewCtl::SetItemText(const char* text, int item, int subitem) {
    if (!hwnd) return FALSE;
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT;
    lvi.iItem = item;
    lvi.iSubItem = subitem;
    lvi.pszText = const_cast<char*>(text ? text : "");
    return static_cast<BOOL>(SendMessageA(hwnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
}

BOOL CListViewCtl::SetItem(const LVITEMA* item) {
    if (!hwnd || !item) return FALSE;
    return static_cast<BOOL>(SendMessageA(hwnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CListViewCtl::SetColumnWidth(int column, int width) {
    if (!hwnd) return FALSE;
    LPARAM width16 = static_cast<LPARAM>(static_cast<WORD>(width));
    if (column != -1) return static_cast<BOOL>(SendMessageA(hwnd, LVM_SETCOLUMNWIDTH, column, width16));
    BOOL all = TRUE;
    for (int i = 0; i < columnCount; ++i) {
        if (!SendMessageA(hwnd, LVM_SETCOLUMNWIDTH, i, width16)) all = FALSE;
    }
    return all;
}

BOOL CListViewCtl::DeleteColumn(int column) {
    if (!hwnd || columnCount == 0) return FALSE;
    BOOL result = static_cast<BOOL>(SendMessageA(hwnd, LVM_DELETECOLUMN, column, 0));
    if (result) --columnCount;
    return result;
}

int CListViewCtl::GetItemText(int item, int subitem, char* buffer, int size) {
    if (!hwnd || item < 0 || !buffer || size <= 0) return 0;
    buffer[0] = 0;
    LVITEMA lvi = {};
    lvi.iSubItem = subitem;
    lvi.pszText = buffer;
    lvi.cchTextMax = size;
    LRESULT length = SendMessageA(hwnd, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lvi));
    buffer[size - 1] = 0;
    return length != 0 ? 1 : 0;
}

BOOL CListViewCtl::SetItemState(int item, UINT state, UINT mask) {
    if (!hwnd || item < 0) return FALSE;
    LVITEMA lvi = {};
    lvi.state = state;
    lvi.stateMask = mask;
    return static_cast<BOOL>(SendMessageA(hwnd, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lvi)));
}

UINT CListViewCtl::GetItemState(int item, UINT mask) {
    if (!hwnd || item < 0) return 0;
    return static_cast<UINT>(SendMessageA(hwnd, LVM_GETITEMSTATE, item, mask));
}

int CListViewCtl::GetItemCount() {
    if (!hwnd) return 0;
    return static_cast<int>(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0));
}

BOOL CListViewCtl::DeleteAllItems() {
    if (!hwnd) return FALSE;
    return static_cast<BOOL>(SendMessageA(hwnd, LVM_DELETEALLITEMS, 0, 0));
}

int CListViewCtl::GetView() {
    if (!hwnd) return -1;
    return static_cast<int>(GetWindowLongPtrA(hwnd, GWL_STYLE) & kViewMask);
}

int CListViewCtl::SetView(int view) {
    if (!hwnd) return 0;
    LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    LONG_PTR wanted = view & kViewMask;
    if ((style & kViewMask) != wanted) SetWindowLongPtrA(hwnd, GWL_STYLE, (style & ~kViewMask) | wanted);
    return GetView() == wanted ? 1 : 0;
}

void CListViewCtl::SetShowSelAlways(bool on) {
    if (!hwnd) return;
    LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    LONG_PTR changed = on ? (style | LVS_SHOWSELALWAYS) : (style & ~static_cast<LONG_PTR>(LVS_SHOWSELALWAYS));
    if (changed != style) SetWindowLongPtrA(hwnd, GWL_STYLE, changed);
}
