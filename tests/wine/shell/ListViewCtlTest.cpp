// The list-view wrapper on a real report-view list.
#include <doctest/doctest.h>

#include <string>

#include "shell/ListViewCtl.h"

namespace {

struct ListWindow {
    HWND parent;
    CListViewCtl list;

    ListWindow() {
        InitCommonControls();
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, NULL, NULL, NULL, NULL);
        list.Attach(CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 380, 280, parent, NULL,
                                    NULL, NULL));
        REQUIRE(list.hwnd != NULL);
    }
    ~ListWindow() { DestroyWindow(parent); }

    int AddColumn(int index, const char* title) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(title);
        column.cx = 100;
        column.iSubItem = index;
        return list.InsertColumn(index, &column);
    }

    LVITEMA Item(int index) {
        static char text[64];
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = index;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        text[0] = 0;
        SendMessageA(list.hwnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item;
    }

    int ColumnWidth(int column) {
        return static_cast<int>(SendMessageA(list.hwnd, LVM_GETCOLUMNWIDTH, column, 0));
    }
};

}  // namespace

TEST_CASE("without a control every operation fails") {
    CListViewCtl list;
    LVCOLUMNA column = {};
    char buffer[8] = "x";
    CHECK(list.InsertColumn(0, &column) == -1);
    CHECK(list.InsertItem("a", -1, -1, 0) == -1);
    CHECK_FALSE(list.SetItemText("a", 0, 0));
    CHECK_FALSE(list.SetColumnWidth(-1, 10));
    CHECK_FALSE(list.DeleteColumn(0));
    CHECK(list.GetItemText(0, 0, buffer, sizeof buffer) == 0);
    CHECK_FALSE(list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED));
    CHECK(list.GetView() == -1);
    CHECK(list.SetView(LVS_LIST) == 0);
}

TEST_CASE("columns are counted as they are inserted and deleted") {
    ListWindow w;
    CHECK(w.AddColumn(-1, "bad") == -1);
    CHECK(w.list.InsertColumn(0, nullptr) == -1);
    CHECK(w.list.columnCount == 0);

    CHECK(w.AddColumn(0, "Name") == 0);
    CHECK(w.AddColumn(1, "Driver") == 1);
    CHECK(w.list.columnCount == 2);

    SUBCASE("width -1 sizes every column") {
        CHECK(w.list.SetColumnWidth(-1, 57));
        CHECK(w.ColumnWidth(0) == 57);
        CHECK(w.ColumnWidth(1) == 57);
    }
    SUBCASE("the auto-size widths keep their meaning") {
        w.list.InsertItem("a rather long printer name for autosize", -1, -1, 0);
        CHECK(w.list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER));
        CHECK(w.ColumnWidth(0) != 100);
        CHECK(w.ColumnWidth(0) > 0);
    }
    SUBCASE("deleting stops at zero columns") {
        CHECK(w.list.DeleteColumn(1));
        CHECK(w.list.DeleteColumn(0));
        CHECK(w.list.columnCount == 0);
        CHECK_FALSE(w.list.DeleteColumn(0));
        CHECK(w.list.columnCount == 0);
    }
}

TEST_CASE("InsertItem sets text and image only when given") {
    ListWindow w;
    w.AddColumn(0, "Name");
    w.AddColumn(1, "Driver");

    CHECK(w.list.InsertItem("Alpha", -1, 3, 7) == 0);
    CHECK(w.list.InsertItem("", -1, -1, 8) == 1);
    CHECK(w.list.InsertItem("Zero", 0, -1, 9) == 0);
    CHECK(w.list.InsertItem("Last", -1, -1, 10) == 3);  // -1 appends after the three items
    CHECK(w.list.GetItemCount() == 4);

    LVITEMA alpha = w.Item(1);
    CHECK(std::string(alpha.pszText) == "Alpha");
    CHECK(alpha.iImage == 3);
    CHECK(alpha.lParam == 7);

    LVITEMA empty = w.Item(2);
    CHECK(std::string(empty.pszText) == "");
    CHECK(empty.iImage != -1);  // no image was asked for, not the callback image
    CHECK(empty.lParam == 8);
}

TEST_CASE("GetItemText and SetItemText") {
    ListWindow w;
    w.AddColumn(0, "Name");
    w.AddColumn(1, "Driver");
    w.list.InsertItem("Alpha", -1, -1, 0);
    w.list.InsertItem("", -1, -1, 0);
    char buffer[32];

    CHECK(w.list.SetItemText("Driver A", 0, 1));
    CHECK(w.list.GetItemText(0, 1, buffer, sizeof buffer) == 1);
    CHECK(std::string(buffer) == "Driver A");

    SUBCASE("a short buffer gets the text cut and terminated") {
        CHECK(w.list.GetItemText(0, 0, buffer, 4) == 1);
        CHECK(std::string(buffer) == "Alp");
    }
    SUBCASE("an empty text reads as 0 with an empty buffer") {
        buffer[0] = 'x';
        CHECK(w.list.GetItemText(1, 0, buffer, sizeof buffer) == 0);
        CHECK(buffer[0] == 0);
    }
    SUBCASE("bad arguments are refused") {
        CHECK(w.list.GetItemText(-1, 0, buffer, sizeof buffer) == 0);
        CHECK(w.list.GetItemText(0, 0, nullptr, sizeof buffer) == 0);
        buffer[0] = 'x';
        CHECK(w.list.GetItemText(0, 0, buffer, 0) == 0);
        CHECK(buffer[0] == 'x');
    }
}

TEST_CASE("item states") {
    ListWindow w;
    w.list.InsertItem("Alpha", -1, -1, 0);
    CHECK_FALSE(w.list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED));
    CHECK(w.list.GetItemState(0, LVIS_SELECTED) == 0);
    CHECK(w.list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED));
    CHECK(w.list.GetItemState(0, LVIS_SELECTED) == LVIS_SELECTED);
    CHECK(w.list.DeleteAllItems());
    CHECK(w.list.GetItemCount() == 0);
}

TEST_CASE("views and the show-selection style") {
    ListWindow w;
    CHECK(w.list.GetView() == CListViewCtl::kViewReport);
    const int views[] = {CListViewCtl::kViewList, CListViewCtl::kViewSmallIcon, CListViewCtl::kViewIcon,
                         CListViewCtl::kViewReport};
    for (int view : views) {
        CAPTURE(view);
        CHECK(w.list.SetView(view) == 1);
        CHECK(w.list.GetView() == view);
        CHECK((GetWindowLongPtrA(w.list.hwnd, GWL_STYLE) & WS_CHILD) != 0);
    }
    w.list.SetShowSelAlways(true);
    CHECK((GetWindowLongPtrA(w.list.hwnd, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0);
    w.list.SetShowSelAlways(false);
    CHECK((GetWindowLongPtrA(w.list.hwnd, GWL_STYLE) & LVS_SHOWSELALWAYS) == 0);
    CHECK(w.list.GetView() == CListViewCtl::kViewReport);
}
