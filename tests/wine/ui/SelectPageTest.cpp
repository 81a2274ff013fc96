// The selection page inside a main dialog whose database the test fills itself.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "UiFixture.h"
#include "shell/SelectDlg.h"

namespace {
const char kPlainStart[] = "quinst01.exe";

int ViewCheckedInMenu(HMENU menu) {
    const UINT commands[] = {IDM_LARGEICONS, IDM_SMALLICONS, IDM_LIST, IDM_DETAILS};
    int checked = 0, which = -1;
    for (UINT id : commands) {
        if (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) {
            ++checked;
            which = static_cast<int>(id);
        }
    }
    return checked == 1 ? which : -checked;
}

bool Greyed(HMENU menu, UINT id) {
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

// The key's default value; size 0: the text with its terminating zero.
void SetDetailsValue(const char* value, DWORD type = REG_SZ, DWORD size = 0) {
    if (!value) {
        RegDeleteKeyA(HKEY_CURRENT_USER, kSelectDetailsKey);
        return;
    }
    HKEY key = NULL;
    REQUIRE(RegCreateKeyA(HKEY_CURRENT_USER, kSelectDetailsKey, &key) == ERROR_SUCCESS);
    RegSetValueExA(key, NULL, 0, type, reinterpret_cast<const BYTE*>(value),
                   size ? size : static_cast<DWORD>(lstrlenA(value) + 1));
    RegCloseKey(key);
}

void Command(CTestMainDlg& dlg, UINT id) {
    SendMessageA(dlg.SelectPage().hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// The processor time of this thread so far, in milliseconds: unlike the time on the clock, other
// work on a busy machine hardly adds to it.
unsigned long long ThreadMilliseconds() {
    FILETIME created, ended, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)) return 0;
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return (k.QuadPart + u.QuadPart) / 10000;
}
}  // namespace

TEST_CASE("the refill lists offered printers of the maker with their own columns, images and positions") {
    CTestMainDlg dlg(MixedCensus(), kPlainStart);
    REQUIRE(dlg.Create());
    HWND list = dlg.List();
    REQUIRE(list);

    // The foreign, the deleted and the filtered printer have no row.
    REQUIRE(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 3);
    struct Row {
        const char* columns[6];
        LPARAM position;
        int image;
    } rows[] = {
        {{"Quellan Laser 5", "QLN Laser Driver", "Local", "Yes", "Yes", "(n/a)"}, 1, 1},
        {{"\\\\SERVER\\Quellan Ink", "QLN Ink Driver", "\\\\SERVER", "No", "Yes", "(n/a)"}, 3, 2},
        {{"Vizored Laser 5", "QLN Viz Driver", "Local", "No", "No", "Quellan Laser 5"}, 5, 4},
    };
    for (int r = 0; r < 3; ++r) {
        CAPTURE(r);
        for (int c = 0; c < 6; ++c) CHECK(RowText(list, r, c) == rows[r].columns[c]);
        CHECK(RowData(list, r) == rows[r].position);
        CHECK(RowImage(list, r) == rows[r].image);
    }
    CHECK(dlg.SelectPage().List().GetView() == LVS_LIST);
    CHECK((SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_FOCUSED) & LVIS_FOCUSED) != 0);
    CHECK(SelectedRows(list) == 0);
    CHECK(GetFocus() == list);
    // Both image lists are there, eight images each.
    CHECK(ImageList_GetImageCount(
              reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0))) == 8);
    CHECK(ImageList_GetImageCount(
              reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0))) == 8);

    // After a refill the list view comes back whatever the user chose.
    Command(dlg, IDM_DETAILS);
    dlg.SelectPage().Refill();
    CHECK(dlg.SelectPage().List().GetView() == LVS_LIST);
}

// Without the list's drawing held off while it fills, each row redrew it: 1,000 rows took about
// 2 s of processor time (4-6 s on the clock) under Wine. Held off, they take some 40 ms.
TEST_CASE("a thousand offered printers fill the list at once, and the list is drawn again after") {
    std::vector<InstalledPrinter> census;
    char name[64];
    char driver[64];
    for (int i = 0; i < 2000; ++i) {
        bool ours = i % 2 == 0;
        wsprintfA(name, "%s Bench %d", ours ? "Quellan" : "Other", i);
        wsprintfA(driver, "%s Bench Driver %d", ours ? "Quellan" : "Other", i);
        census.push_back(MakePrinter(name, driver));
        census.back().isSpoolara = ours;
        census.back().isForeign = !ours;
    }
    CTestMainDlg dlg(census, kPlainStart);
    REQUIRE(dlg.Create());
    unsigned long long start = ThreadMilliseconds();
    dlg.SelectPage().Refill();
    CHECK(ThreadMilliseconds() - start < 600);
    CHECK(SendMessageA(dlg.List(), LVM_GETITEMCOUNT, 0, 0) == 1000);
    CHECK(RowText(dlg.List(), 999, 0) == "Quellan Bench 1998");
    CHECK(IsWindowVisible(dlg.List()));
}

TEST_CASE("the list and the warning reach the page's right edge") {
    CTestMainDlg dlg(MixedCensus(), kPlainStart);
    REQUIRE(dlg.Create());
    RECT page, placeholder, list, warning;
    GetClientRect(dlg.SelectPage().hwnd, &page);
    GetWindowRect(dlg.Item(IDC_PLACEHOLDER), &placeholder);
    CHECK(page.right == placeholder.right - placeholder.left);
    GetWindowRect(dlg.List(), &list);
    GetWindowRect(GetDlgItem(dlg.SelectPage().hwnd, IDC_SELECTWARNING), &warning);
    CHECK(list.right == placeholder.right);
    CHECK(warning.right == placeholder.right);
}

TEST_CASE("collecting the selection writes excluded flags and counts the selected rows") {
    std::vector<InstalledPrinter> census = MixedCensus();
    CTestMainDlg dlg(census, kPlainStart);
    REQUIRE(dlg.Create());
    HWND list = dlg.List();
    std::vector<InstalledPrinter>& printers = dlg.Database().Printers();

    SUBCASE("one row selected") {
        SelectRow(list, 1, true);
        dlg.SelectPage().CollectSelection();
        CHECK(dlg.SelectPage().SelectedCount() == 1);
        CHECK(printers[1].excluded == 1);
        CHECK(printers[3].excluded == 0);
        CHECK(printers[5].excluded == 1);
        // Records without a row keep what the census gave them.
        CHECK(printers[0].excluded == 0);
        CHECK(printers[4].excluded == 1);
    }
    SUBCASE("Select All by menu, then Remove Printer(s), marks every listed printer") {
        CHECK_FALSE(dlg.Enabled(IDC_UNINSTALL));
        Command(dlg, IDM_SELECTALL);
        CHECK(SelectedRows(list) == 3);
        CHECK(dlg.Enabled(IDC_UNINSTALL));
        Command(dlg, IDM_REMOVEPRINTERS);
        CHECK(dlg.SelectPage().SelectedCount() == 3);
        for (int i : {1, 3, 5}) CHECK(printers[static_cast<size_t>(i)].excluded == 0);
        CHECK(printers[4].excluded == 1);
        // The page asked the main dialog to start the removal, which computed the removal set for
        // the three rows (the filtered printer stays) and ended the dialog.
        REQUIRE(dlg.WaitForRemovalDone());
        CHECK(dlg.Database().RemovedPrinterCount() == 3);
        CHECK(dlg.Database().RemainingPrinterCount() == 1);
        CHECK(dlg.Text(IDC_EXIT) == "&Close");
        CHECK_FALSE(IsWindowVisible(dlg.hwnd));
    }
    SUBCASE("an emptied selection does not disable Uninstall again") {
        SelectRow(list, 0, true);
        CHECK(dlg.Enabled(IDC_UNINSTALL));
        SelectRow(list, 0, false);
        CHECK(dlg.Enabled(IDC_UNINSTALL));
    }
}

TEST_CASE("two printers whose names differ only in case keep their own choices") {
    std::vector<InstalledPrinter> census = {MakePrinter("Quellan Laser", "QLN Laser Driver"),
                                            MakePrinter("QUELLAN LASER", "QLN Laser Driver")};
    CTestMainDlg dlg(census, kPlainStart);
    REQUIRE(dlg.Create());
    HWND list = dlg.List();
    REQUIRE(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2);
    SelectRow(list, 1, true);
    dlg.SelectPage().CollectSelection();
    CHECK(dlg.Database().Printers()[0].excluded == 1);
    CHECK(dlg.Database().Printers()[1].excluded == 0);
}

TEST_CASE("names of 255 to 259 characters keep their own choices") {
    // The names share their beginning, so a name cut to 255 characters reads as the shorter one.
    const size_t lengths[] = {255, 256, 259};
    for (size_t ticked = 0; ticked < 3; ++ticked) {
        CAPTURE(ticked);
        std::vector<InstalledPrinter> census;
        for (size_t length : lengths)
            census.push_back(MakePrinter(std::string(length, 'P').c_str(), "QLN Laser Driver"));
        CTestMainDlg dlg(census, kPlainStart);
        REQUIRE(dlg.Create());
        HWND list = dlg.List();
        REQUIRE(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 3);
        for (int row = 0; row < 3; ++row) REQUIRE(RowText(list, row, 0).size() == lengths[row]);
        SelectRow(list, static_cast<int>(ticked), true);
        dlg.SelectPage().CollectSelection();
        for (size_t i = 0; i < 3; ++i) {
            CAPTURE(lengths[i]);
            CHECK(dlg.Database().Printers()[i].excluded == (i == ticked ? 0 : 1));
        }
    }
}

TEST_CASE("Ctrl+A in the list selects every row, a plain A does not") {
    CTestMainDlg dlg(MixedCensus(), kPlainStart);
    REQUIRE(dlg.Create());
    HWND list = dlg.List();
    BYTE keys[256];
    GetKeyboardState(keys);

    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    SendMessageA(list, WM_KEYDOWN, 'A', 0x001E0001);
    CHECK(SelectedRows(list) < 3);

    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(list, WM_KEYDOWN, 'A', 0x001E0001);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    CHECK(SelectedRows(list) == 3);
    CHECK(dlg.Enabled(IDC_UNINSTALL));
}

TEST_CASE("the context menu checks the current view and greys what needs a selection") {
    SetDetailsValue(NULL);
    CTestMainDlg dlg(MixedCensus(), kPlainStart);
    REQUIRE(dlg.Create());
    HMENU menu = dlg.SelectPage().BuildContextMenu();
    REQUIRE(menu);

    const UINT views[] = {IDM_LARGEICONS, IDM_SMALLICONS, IDM_LIST, IDM_DETAILS};
    const int styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    for (int i = 0; i < 4; ++i) {
        CAPTURE(views[i]);
        Command(dlg, views[i]);
        CHECK(dlg.SelectPage().List().GetView() == styles[i]);
        CHECK(ViewCheckedInMenu(dlg.SelectPage().BuildContextMenu()) == static_cast<int>(views[i]));
    }

    CHECK(Greyed(menu, IDM_REMOVEPRINTERS));
    CHECK_FALSE(Greyed(menu, IDM_SELECTALL));
    CHECK(GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED) == IDM_REMOVEPRINTERS);
    SelectRow(dlg.List(), 2, true);
    dlg.SelectPage().BuildContextMenu();
    CHECK_FALSE(Greyed(menu, IDM_REMOVEPRINTERS));
}

TEST_CASE("Other Details... is offered only when the user's key has a value") {
    struct Case {
        const char* value;
        int items;
        UINT last;
        DWORD type, size;
    } cases[] = {{NULL, 8, IDM_SELECTALL, REG_SZ, 0},
                 {"", 8, IDM_SELECTALL, REG_SZ, 0},
                 {"1", 10, IDM_OTHERDETAILS, REG_SZ, 0},
                 // Longer than the 64-byte buffer: still a value that is set.
                 {"a value that is quite a lot longer than the sixty-four bytes read for it", 10,
                  IDM_OTHERDETAILS, REG_SZ, 0},
                 // Without a terminating zero, or not a text at all: still set.
                 {"abc", 10, IDM_OTHERDETAILS, REG_SZ, 3},
                 {"\x01\0\0", 10, IDM_OTHERDETAILS, REG_DWORD, 4}};
    for (const Case& c : cases) {
        CAPTURE(c.value ? c.value : "(no key)");
        SetDetailsValue(c.value, c.type, c.size);
        CTestMainDlg dlg(MixedCensus(), kPlainStart);
        REQUIRE(dlg.Create());
        HMENU menu = dlg.SelectPage().BuildContextMenu();
        REQUIRE(menu);
        CHECK(GetMenuItemCount(menu) == c.items);
        CHECK(GetMenuItemID(menu, c.items - 1) == c.last);
        CHECK(GetMenuItemID(menu, 7) == IDM_SELECTALL);
        if (c.items == 10) {
            CHECK(Greyed(menu, IDM_OTHERDETAILS));
            // The command collects the selection and opens the viewer over the page with its count.
            SelectRow(dlg.List(), 0, true);
            bool singleProfileOffered = false;
            HWND owner = NULL;
            CHECK(WhileModal(dlg.SelectPage().hwnd, WM_COMMAND, IDM_OTHERDETAILS, [&](HWND viewer) {
                      singleProfileOffered = IsWindowEnabled(GetDlgItem(viewer, IDC_SINGLEPROFILE)) != FALSE;
                      owner = GetWindow(viewer, GW_OWNER);
                  }) == kClosedByCommand);
            CHECK(dlg.SelectPage().SelectedCount() == 1);
            CHECK(singleProfileOffered);
            CHECK(owner == dlg.hwnd);
        }
    }
    SetDetailsValue(NULL);
}
