#pragma once
// Thin wrapper of one list-view control. Every operation does nothing and returns its failure value
// while no control is attached.
#include <windows.h>
#include <commctrl.h>

class CListViewCtl {
public:
    // View numbers are the low two style bits.
    enum { kViewIcon = LVS_ICON, kViewReport = LVS_REPORT, kViewSmallIcon = LVS_SMALLICON, kViewList = LVS_LIST };

    explicit CListViewCtl(HWND control = NULL) : hwnd(control), columnCount(0) {}

    // Takes over a control; no column of it counts as inserted through the wrapper yet.
    void Attach(HWND control);

    // Returns the new column's index, or -1 (also for a negative index or a missing column).
    int InsertColumn(int index, const LVCOLUMNA* column);
    // A left-aligned column of that header text and width, for subitem index; InsertColumn's result.
    int InsertTextColumn(int index, const char* text, int width);
    // index -1 appends; the text is set only when not empty, the image only when not -1. Returns the
    // new item's index or -1.
    int InsertItem(const char* text, int index, int image, LPARAM lParam);
    BOOL SetItemText(const char* text, int item, int subitem);
    BOOL SetItem(const LVITEMA* item);
    // column -1 sizes every column inserted through the wrapper; width goes as a 16-bit value, so
    // LVSCW_AUTOSIZE and LVSCW_AUTOSIZE_USEHEADER keep their meaning.
    BOOL SetColumnWidth(int column, int width);
    BOOL DeleteColumn(int column);
    // Copies the item's text (cut to size) into buffer; 1 when the text is not empty, else 0.
    int GetItemText(int item, int subitem, char* buffer, int size);
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask);
    int GetItemCount();
    BOOL DeleteAllItems();
    // One of the kView values, or -1 without a control.
    int GetView();
    // Returns 1 when the control shows the view afterwards, 0 without a control.
    int SetView(int view);
    void SetShowSelAlways(bool on);

    HWND hwnd;
    int columnCount;
};
