// Checks the uninstall tool's resources as the program sees them at run time: string texts,
// dialogs created from their templates, the context menu, the accelerator, images, version and
// manifest. The resources are linked into this program; when QUINST01.EXE lies beside it, its
// resources are also compared with these byte for byte.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "resource.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

std::string LoadText(UINT id) {
    char buffer[512] = "";
    LoadStringA(Module(), id, buffer, sizeof buffer);
    return buffer;
}

std::string WindowText(HWND window) {
    char buffer[512] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string ClassOf(HWND window) {
    char buffer[64] = "";
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

struct QuotedString {
    UINT id;
    const char* text;
};

// Every numbered text that the program loads, exactly as it must appear.
const QuotedString kStrings[] = {
    {51, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {99, "@somefile.ini@sectionname@keyname"},
    {151, "You do not have Administrator rights. Uninstall cannot continue. Please see your system "
          "administrator."},
    {152, "The spooler is unstable!\nPlease reboot and run uninstall again"},
    {153, "Building uninstall database.\nThis may take a few moments"},
    {156, "&About this application..."},
    {157, "The default printer has been deleted.\nThe printer '%s' could not be made the default "
          "printer."},
    {158, "Warning, the uninstall is unable to locate the uninstall scripts (*.unm)\nThe uninstall will "
          "continue, but be aware that a complete uninstall of your printer and associated drivers files "
          "is not possible without them."},
    {159, "Warning: The default printer has been deleted.\nThere are no printers installed on your "
          "computer."},
    {160, "The default printer has been deleted.\nThe new default printer is '%s'"},
    {161, "Printer Uninstall"},
    {162, "&Uninstall"},
    {163, "Cancel"},
    {164, "Loading uninstall..."},
    {165, "AboutBox"},
    {168, "&Close"},
    {169, "Building uninstall profile"},
    {170, "Remove add-ons"},
    {171, "Remove Printers"},
    {172, "Remove Drivers"},
    {173, "Remove Monitors"},
    {174, "Remove Print Processors"},
    {175, "Remove Services"},
    {176, "Remove Registry Entries/INI/Program Group"},
    {177, "Remove Files"},
    {178, "&Select the printer(s) to uninstall:"},
    {179, "WARNING!\nQuit all applications before uninstalling your printer(s).  If an application "
          "attempts to use an uninstalled printer, you may experience unexpected results."},
    {180, "Name"},
    {181, "Driver"},
    {182, "Location"},
    {183, "Local"},
    {184, "Default"},
    {185, "Spoolara"},
    {186, "Vizored Printer Name"},
    {187, "Yes"},
    {188, "No"},
    {189, "(n/a)"},
    {195, "Version"},
    {196, "Build Stamp"},
    {197, "OS Platform"},
    {198, "(loading)"},
    {199, "Printer Uninstall is complete!"},
    {200, "Printer Uninstall is almost complete\nPlease reboot to complete the uninstall process\n\nDo "
          "you want to reboot now?"},
    {201, "The uninstall is unable to reboot this system, you should manually restart windows to complete "
          "the uninstall."},
    {202, "Do you want to stop the uninstall?"},
    {206, "The print spooler sub-system is not responding.\nPlease re-start the uninstall.\nIf this problem "
          "persists, restart windows before running the uninstall."},
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The main window's class, registered the way start-up does: the standard dialog class renamed.
void RegisterMainClass() {
    WNDCLASSA dialogClass;
    if (GetClassInfoA(Module(), "QLNUninstallWindowClass__", &dialogClass)) return;
    REQUIRE(GetClassInfoA(nullptr, "#32770", &dialogClass));
    dialogClass.lpszClassName = "QLNUninstallWindowClass__";
    dialogClass.hInstance = Module();
    REQUIRE(RegisterClassA(&dialogClass) != 0);
}

// A dialog created from a template, destroyed at the end of the test case.
struct Dialog {
    HWND hwnd;
    Dialog(const char* name, HWND parent = nullptr)
        : hwnd(CreateDialogParamA(Module(), name, parent, PlainDialogProc, 0)) {}
    ~Dialog() {
        if (hwnd) DestroyWindow(hwnd);
    }
    HWND Item(int id) const { return GetDlgItem(hwnd, id); }
    LONG_PTR Style(int id) const { return GetWindowLongPtrA(Item(id), GWL_STYLE); }
};

struct ExpectedControl {
    int id;
    const char* windowClass;
};

void CheckControls(const Dialog& dialog, const std::vector<ExpectedControl>& controls) {
    for (const ExpectedControl& c : controls) {
        CAPTURE(c.id);
        HWND item = dialog.Item(c.id);
        REQUIRE(item != nullptr);
        CHECK(lstrcmpiA(ClassOf(item).c_str(), c.windowClass) == 0);
    }
}

// The dialog's client area in dialog units must be the template's size.
void CheckSize(const Dialog& dialog, int width, int height) {
    RECT expected = {0, 0, width, height};
    MapDialogRect(dialog.hwnd, &expected);
    RECT client;
    GetClientRect(dialog.hwnd, &client);
    CHECK(client.right == expected.right);
    CHECK(client.bottom == expected.bottom);
}

// Where the dialog manager puts a control given in dialog units: position and size are
// converted separately, as in the template.
RECT PlacedAt(HWND dialog, int x, int y, int width, int height) {
    RECT r = {x, y, width, height};
    MapDialogRect(dialog, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool Bordered(HWND item) {
    // Dialogs turn a control's WS_BORDER into the sunken client edge.
    return (GetWindowLongPtrA(item, GWL_STYLE) & WS_BORDER) || (GetWindowLongPtrA(item, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

RECT ClientRectIn(HWND item, HWND dialog) {
    RECT r;
    GetWindowRect(item, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// How much room a text needs in a control's font: wrapped at the given width when wrap is set.
SIZE TextExtent(HWND item, const std::string& text, int width, bool wrap, HFONT font = nullptr) {
    HDC dc = GetDC(item);
    HGDIOBJ old = SelectObject(dc, font ? font : reinterpret_cast<HFONT>(SendMessageA(item, WM_GETFONT, 0, 0)));
    RECT r = {0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(item, dc);
    return SIZE{r.right, r.bottom};
}

// Every control lies inside the dialog, and every text fits its control: wrapped texts in
// their height, push buttons and check boxes on one line with room for the frame or the box.
void CheckNothingClipped(const Dialog& dialog) {
    RECT client;
    GetClientRect(dialog.hwnd, &client);
    for (HWND item = GetWindow(dialog.hwnd, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
        CAPTURE(GetDlgCtrlID(item));
        CAPTURE(WindowText(item));
        const RECT r = ClientRectIn(item, dialog.hwnd);
        CHECK(r.left >= client.left);
        CHECK(r.top >= client.top);
        CHECK(r.right <= client.right);
        CHECK(r.bottom <= client.bottom);
        const std::string text = WindowText(item);
        if (text.empty()) continue;
        const LONG_PTR style = GetWindowLongPtrA(item, GWL_STYLE);
        const int width = r.right - r.left, height = r.bottom - r.top;
        const std::string kind = ClassOf(item);
        if (lstrcmpiA(kind.c_str(), "Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT) {
            CHECK(TextExtent(item, text, width, true).cy <= height);
        } else if (lstrcmpiA(kind.c_str(), "Button") == 0) {
            const SIZE need = TextExtent(item, text, width, false);
            const LONG_PTR type = style & BS_TYPEMASK;
            const bool pushLike = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || (style & BS_PUSHLIKE);
            CHECK(need.cx + (pushLike ? 8 : 20) <= width);
            CHECK(need.cy <= height);
        }
    }
}

void SetFromString(const Dialog& dialog, int control, UINT id) {
    REQUIRE(SetDlgItemTextA(dialog.hwnd, control, LoadText(id).c_str()));
}

struct Bitmap {
    HBITMAP handle;
    BITMAP info;
    explicit Bitmap(int id)
        : handle(static_cast<HBITMAP>(
              LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))),
          info() {
        if (handle) GetObjectA(handle, sizeof info, &info);
    }
    ~Bitmap() {
        if (handle) DeleteObject(handle);
    }
    // Colour at (x, y) as 0xRRGGBB.
    COLORREF Pixel(int x, int y) const {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, handle);
        const COLORREF c = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        return c;
    }
    std::vector<COLORREF> Cell(int index, int size) const {
        std::vector<COLORREF> pixels;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, handle);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) pixels.push_back(GetPixel(dc, index * size + x, y));
        SelectObject(dc, old);
        DeleteDC(dc);
        return pixels;
    }
};

const COLORREF kMagenta = RGB(255, 0, 255);

// An image strip: the right size, magenta behind the drawing, every image different.
void CheckStrip(int id, int cell, int count) {
    Bitmap strip(id);
    REQUIRE(strip.handle != nullptr);
    CHECK(strip.info.bmWidth == cell * count);
    CHECK(strip.info.bmHeight == cell);
    std::vector<std::vector<COLORREF>> cells;
    for (int i = 0; i < count; ++i) {
        CAPTURE(i);
        cells.push_back(strip.Cell(i, cell));
        CHECK(cells.back().front() == kMagenta);
        for (int j = 0; j < i; ++j) CHECK(cells[j] != cells[i]);
    }
    HIMAGELIST images = ImageList_LoadImageA(Module(), MAKEINTRESOURCEA(id), cell, 10, kMagenta, IMAGE_BITMAP, 0);
    REQUIRE(images != nullptr);
    CHECK(ImageList_GetImageCount(images) == count);
    ImageList_Destroy(images);
}

std::string ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return std::string();
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = static_cast<const char*>(LockResource(loaded));
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

}  // namespace

TEST_CASE("every numbered string has its exact text") {
    for (const QuotedString& s : kStrings) {
        CAPTURE(s.id);
        CHECK(LoadText(s.id) == s.text);
    }
}

TEST_CASE("the legal notice is our own short text and fits the string loader") {
    const std::string legal = LoadText(IDS_LEGAL);
    CHECK(!legal.empty());
    CHECK(legal.size() < 511);
    CHECK(legal[0] != '@');
}

TEST_CASE("main window templates: class, frame, controls and layout") {
    RegisterMainClass();
    for (const char* name : {IDD_MAIN_NOBMP_NAME, IDD_MAIN_NAME}) {
        CAPTURE(name);
        Dialog dialog(name);
        REQUIRE(dialog.hwnd != nullptr);
        CHECK(ClassOf(dialog.hwnd) == "QLNUninstallWindowClass__");
        const LONG_PTR style = GetWindowLongPtrA(dialog.hwnd, GWL_STYLE);
        CHECK((style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)) == (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
        CHECK((style & (WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
        CheckControls(dialog, {{IDC_UNINSTALL, "Button"}, {IDC_EXIT, "Button"}, {IDC_PLACEHOLDER, "Static"},
                               {IDC_SEPARATOR, "Static"}});
        CHECK((dialog.Style(IDC_UNINSTALL) & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        CHECK((dialog.Style(IDC_PLACEHOLDER) & SS_TYPEMASK) == SS_BLACKFRAME);
        CHECK((dialog.Style(IDC_SEPARATOR) & SS_TYPEMASK) == SS_ETCHEDHORZ);
        CheckNothingClipped(dialog);
        SetFromString(dialog, IDC_EXIT, IDS_CLOSE);
        CheckNothingClipped(dialog);
    }
    Dialog plain(IDD_MAIN_NOBMP_NAME);
    CheckSize(plain, 254, 186);
    CHECK(SameRect(ClientRectIn(plain.Item(IDC_PLACEHOLDER), plain.hwnd), PlacedAt(plain.hwnd, 7, 7, 240, 140)));

    Dialog panel(IDD_MAIN_NAME);
    REQUIRE(panel.Item(IDC_PANEL) != nullptr);
    CHECK((panel.Style(IDC_PANEL) & SS_TYPEMASK) == SS_BITMAP);
    CHECK(SendMessageA(panel.Item(IDC_PANEL), STM_GETIMAGE, IMAGE_BITMAP, 0) != 0);
}

TEST_CASE("selection page template") {
    RegisterMainClass();
    Dialog main(IDD_MAIN_NOBMP_NAME);
    Dialog page(IDD_SELECT_NAME, main.hwnd);
    REQUIRE(page.hwnd != nullptr);
    CHECK((GetWindowLongPtrA(page.hwnd, GWL_STYLE) & WS_CHILD) != 0);
    CheckSize(page, 210, 140);
    CheckControls(page, {{IDC_SELECTLABEL, "Static"}, {IDC_PRINTERLIST, WC_LISTVIEWA}, {IDC_SELECTWARNING, "Static"}});
    const LONG_PTR list = page.Style(IDC_PRINTERLIST);
    CHECK((list & LVS_TYPEMASK) == LVS_REPORT);
    CHECK((list & (LVS_AUTOARRANGE | LVS_NOSORTHEADER)) == (LVS_AUTOARRANGE | LVS_NOSORTHEADER));
    CHECK(Bordered(page.Item(IDC_PRINTERLIST)));
    SetFromString(page, IDC_SELECTLABEL, IDS_SELECT_LABEL);
    SetFromString(page, IDC_SELECTWARNING, IDS_SELECT_WARNING);
    CheckNothingClipped(page);
    // The label's mnemonic moves the focus to the control after it, which must be the list.
    CHECK(GetWindow(page.Item(IDC_SELECTLABEL), GW_HWNDNEXT) == page.Item(IDC_PRINTERLIST));
}

TEST_CASE("removal page template: nine rows of image frame and label") {
    RegisterMainClass();
    Dialog main(IDD_MAIN_NOBMP_NAME);
    Dialog page(IDD_REMOVE_NAME, main.hwnd);
    REQUIRE(page.hwnd != nullptr);
    CHECK((GetWindowLongPtrA(page.hwnd, GWL_STYLE) & WS_CHILD) != 0);
    CheckSize(page, 240, 140);
    LOGFONTA bold;
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(page.hwnd, WM_GETFONT, 0, 0)), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    HFONT boldFont = CreateFontIndirectA(&bold);
    for (int row = 0; row < 9; ++row) {
        CAPTURE(row);
        HWND label = page.Item(IDC_STEPLABEL_FIRST + row), frame = page.Item(IDC_STEPICON_FIRST + row);
        REQUIRE(label != nullptr);
        REQUIRE(frame != nullptr);
        CHECK(lstrcmpiA(ClassOf(label).c_str(), "Static") == 0);
        CHECK(lstrcmpiA(ClassOf(frame).c_str(), "Static") == 0);
        const RECT labelAt = ClientRectIn(label, page.hwnd), frameAt = ClientRectIn(frame, page.hwnd);
        CHECK(SameRect(labelAt, PlacedAt(page.hwnd, 24, 6 + 15 * row, 209, 8)));
        CHECK(SameRect(frameAt, PlacedAt(page.hwnd, 7, 5 + 15 * row, 15, 13)));
        // The template holds a placeholder; the page shows the string, in bold while the step runs.
        CHECK(WindowText(label).rfind("<IDS_REMOVE_", 0) == 0);
        const std::string text = LoadText(IDS_REMOVE_BUILD + row);
        const SIZE need = TextExtent(label, text, 10000, false, boldFont);
        CHECK(need.cx <= labelAt.right - labelAt.left);
        CHECK(need.cy <= labelAt.bottom - labelAt.top);
        // A 16 px check mark drawn at the frame's corner stays inside the frame's row.
        CHECK(frameAt.bottom - frameAt.top >= 16 - 2);
    }
    DeleteObject(boldFont);
    CheckNothingClipped(page);
}

TEST_CASE("About box template") {
    Dialog about(MAKEINTRESOURCEA(IDD_ABOUT));
    REQUIRE(about.hwnd != nullptr);
    CheckSize(about, 210, 118);
    CHECK(WindowText(about.hwnd) == "AboutBox");
    CheckControls(about, {{IDOK, "Button"}, {IDC_LEGAL, "Static"}, {IDC_PRINTERLIST, WC_LISTVIEWA}});
    const LONG_PTR list = about.Style(IDC_PRINTERLIST);
    CHECK((list & LVS_TYPEMASK) == LVS_REPORT);
    CHECK((list & (LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER)) == (LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER));
    LOGFONTA font;
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(about.hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    CHECK(std::string(font.lfFaceName) == "MS Sans Serif");
    bool titleFound = false;
    for (HWND item = GetWindow(about.hwnd, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT))
        titleFound |= WindowText(item) == "TOVARI QUELLAN Print Driver UnInstall Tool";
    CHECK(titleFound);
    // OK sits in the bottom right corner.
    RECT client;
    GetClientRect(about.hwnd, &client);
    const RECT ok = ClientRectIn(about.Item(IDOK), about.hwnd);
    CHECK(ok.right > client.right * 3 / 4);
    CHECK(ok.bottom > client.bottom * 3 / 4);
    SetFromString(about, IDC_LEGAL, IDS_LEGAL);
    CheckNothingClipped(about);
}

TEST_CASE("loading window template") {
    Dialog loading(MAKEINTRESOURCEA(IDD_LOADING));
    REQUIRE(loading.hwnd != nullptr);
    CheckSize(loading, 172, 52);
    const LONG_PTR style = GetWindowLongPtrA(loading.hwnd, GWL_STYLE);
    CHECK((style & WS_CAPTION) == WS_CAPTION);
    CHECK((style & WS_SYSMENU) == 0);
    CheckControls(loading, {{IDC_LOADINGICON, "Static"}, {IDC_LOADINGTEXT, "Static"},
                            {IDC_PROGRESS, PROGRESS_CLASSA}, {IDC_LOADINGEXTRA, "Static"}});
    CHECK((loading.Style(IDC_LOADINGICON) & SS_TYPEMASK) == SS_ICON);
    CHECK(SendMessageA(loading.Item(IDC_LOADINGICON), STM_GETICON, 0, 0) != 0);
    SetFromString(loading, IDC_LOADINGTEXT, IDS_BUILDING_DATABASE);
    CheckNothingClipped(loading);
}

TEST_CASE("profile viewer template") {
    Dialog viewer(MAKEINTRESOURCEA(IDD_PROFILEVIEW));
    REQUIRE(viewer.hwnd != nullptr);
    CheckSize(viewer, 337, 172);
    CHECK(WindowText(viewer.hwnd) == "Extra Info - QA DEBUGING TOOL !!!");
    CheckControls(viewer, {{IDOK, "Button"}, {IDC_PROFILELIST, WC_LISTVIEWA}, {IDC_SINGLEPROFILE, "Button"}});
    CHECK((viewer.Style(IDC_PROFILELIST) & LVS_TYPEMASK) == LVS_REPORT);
    CHECK((viewer.Style(IDC_SINGLEPROFILE) & BS_TYPEMASK) == BS_AUTOCHECKBOX);
    CHECK(WindowText(viewer.Item(IDC_SINGLEPROFILE)) == "View this profile's UNZ settings only");
    const struct {
        int id;
        const char* label;
    } sections[] = {{1097, "[*.DeleteIni]"}, {1098, "[*.DeleteLoadRun]"}, {1099, "Drivers"},
                    {1100, "Files"},         {1101, "Hooks"},             {1102, "Monitors"},
                    {1103, "Registry"},      {1104, "PrintProcessors"},   {1105, "Services"},
                    {1106, "Shortcuts"},     {1107, "[*.UnSelfRegister]"}, {1109, "Directories"}};
    for (const auto& s : sections) {
        CAPTURE(s.id);
        REQUIRE(viewer.Item(s.id) != nullptr);
        CHECK(WindowText(viewer.Item(s.id)) == s.label);
        const LONG_PTR style = viewer.Style(s.id);
        CHECK((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON);
        CHECK((style & BS_PUSHLIKE) != 0);
    }
    // The twelve buttons form one group, so that checking one clears the others.
    CheckRadioButton(viewer.hwnd, 1097, 1109, 1097);
    SendMessageA(viewer.Item(1103), BM_CLICK, 0, 0);
    CHECK(IsDlgButtonChecked(viewer.hwnd, 1103) == BST_CHECKED);
    CHECK(IsDlgButtonChecked(viewer.hwnd, 1097) == BST_UNCHECKED);
    CheckNothingClipped(viewer);
}

TEST_CASE("context menu 117 by position") {
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDM_CONTEXT));
    REQUIRE(menu != nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    REQUIRE(popup != nullptr);
    const struct {
        UINT id;
        const char* text;
    } items[] = {{IDM_REMOVEPRINTERS, "Remove Printer(s)"}, {0, nullptr}, {IDM_LARGEICONS, "Large Icons"},
                 {IDM_SMALLICONS, "Small Icons"}, {IDM_LIST, "List"}, {IDM_DETAILS, "Details"}, {0, nullptr},
                 {IDM_SELECTALL, "Select All"}, {0, nullptr}, {IDM_OTHERDETAILS, "Other Details..."}};
    REQUIRE(GetMenuItemCount(popup) == 10);
    for (int position = 0; position < 10; ++position) {
        CAPTURE(position);
        const UINT state = GetMenuState(popup, position, MF_BYPOSITION);
        if (!items[position].text) {
            CHECK((state & MF_SEPARATOR) != 0);
            continue;
        }
        char text[64] = "";
        GetMenuStringA(popup, position, text, sizeof text, MF_BYPOSITION);
        CHECK(GetMenuItemID(popup, position) == items[position].id);
        CHECK(std::string(text) == items[position].text);
        CHECK((state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) == 0);
    }
    // Without the registry value the page deletes positions 10, 9 and 8; the menu then ends
    // with "Select All" (position 10 does not exist and its deletion fails harmlessly).
    CHECK(!DeleteMenu(popup, 10, MF_BYPOSITION));
    CHECK(DeleteMenu(popup, 9, MF_BYPOSITION));
    CHECK(DeleteMenu(popup, 8, MF_BYPOSITION));
    CHECK(GetMenuItemID(popup, GetMenuItemCount(popup) - 1) == IDM_SELECTALL);
    DestroyMenu(menu);
}

TEST_CASE("accelerator 118 binds Ctrl+A, and only it, to Select All") {
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDA_SELECT));
    REQUIRE(table != nullptr);
    ACCEL entries[4];
    REQUIRE(CopyAcceleratorTableA(table, entries, 4) == 1);
    CHECK(entries[0].key == 'A');
    CHECK(entries[0].cmd == IDM_SELECTALL);
    CHECK((entries[0].fVirt & (FVIRTKEY | FCONTROL | FALT | FSHIFT)) == (FVIRTKEY | FCONTROL));
    DestroyAcceleratorTable(table);
}

TEST_CASE("printer image strips and step check marks") {
    SUBCASE("small printers, 18 px") { CheckStrip(IDB_PRINTERS_SMALL, 18, 8); }
    SUBCASE("large printers, 32 px") { CheckStrip(IDB_PRINTERS_LARGE, 32, 8); }
    SUBCASE("check marks: grey, green, red") {
        CheckStrip(IDB_CHECKMARKS, 16, 3);
        Bitmap marks(IDB_CHECKMARKS);
        const COLORREF ink[3] = {RGB(128, 128, 128), RGB(0, 128, 0), RGB(255, 0, 0)};
        for (int i = 0; i < 3; ++i) {
            CAPTURE(i);
            int inked = 0, other = 0;
            for (COLORREF c : marks.Cell(i, 16)) {
                if (c == ink[i]) ++inked;
                else if (c != kMagenta) ++other;
            }
            CHECK(inked > 20);
            CHECK(other == 0);
        }
    }
    SUBCASE("panel picture") {
        Bitmap panel(IDB_PANEL);
        REQUIRE(panel.handle != nullptr);
        CHECK(panel.info.bmWidth > 0);
        CHECK(panel.info.bmHeight > panel.info.bmWidth);
    }
}

TEST_CASE("icons 1 and 2 in 32 and 16 px") {
    for (int id : {IDI_MAIN, IDI_SMALL}) {
        for (int size : {32, 16}) {
            CAPTURE(id);
            CAPTURE(size);
            HICON icon = static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
            REQUIRE(icon != nullptr);
            ICONINFO info;
            REQUIRE(GetIconInfo(icon, &info));
            BITMAP colour;
            GetObjectA(info.hbmColor, sizeof colour, &colour);
            CHECK(colour.bmWidth == size);
            CHECK(colour.bmHeight == size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
    CHECK(LoadIconA(Module(), MAKEINTRESOURCEA(IDI_MAIN)) != nullptr);
}

TEST_CASE("version resource of the program file") {
    char path[MAX_PATH];
    REQUIRE(GetModuleFileNameA(Module(), path, sizeof path) > 0);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    REQUIRE(size > 0);
    std::vector<char> data(size);
    REQUIRE(GetFileVersionInfoA(path, 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    REQUIRE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    CHECK(fixed->dwSignature == 0xFEEF04BD);
    CHECK(fixed->dwFileVersionMS == 0x00010000);
    CHECK(fixed->dwFileVersionLS == 0x00000001);
    char* text = nullptr;
    REQUIRE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductName", reinterpret_cast<void**>(&text),
                           &length));
    CHECK(std::string(text) == "Printer Uninstall");
    REQUIRE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\OriginalFilename",
                           reinterpret_cast<void**>(&text), &length));
    CHECK(std::string(text) == "QUINST01.EXE");
}

TEST_CASE("application manifest asks for common controls 6 and administrator rights") {
    const std::string manifest = ResourceBytes(Module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    REQUIRE(!manifest.empty());
    for (const char* part : {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
                             "level=\"requireAdministrator\"", "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
                             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        CAPTURE(part);
        CHECK(manifest.find(part) != std::string::npos);
    }
}

TEST_CASE("QUINST01.EXE carries the same resources") {
    char path[MAX_PATH];
    GetModuleFileNameA(Module(), path, sizeof path);
    char* slash = std::strrchr(path, '\\');
    REQUIRE(slash != nullptr);
    lstrcpynA(slash + 1, "QUINST01.EXE", static_cast<int>(sizeof path - (slash + 1 - path)));
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        MESSAGE("QUINST01.EXE is not built; only the linked resources were checked");
        return;
    }
    HMODULE program = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(program != nullptr);
    const struct {
        LPCSTR name;
        LPCSTR type;
    } resources[] = {
        {IDD_MAIN_NAME, MAKEINTRESOURCEA(5)},          {IDD_MAIN_NOBMP_NAME, MAKEINTRESOURCEA(5)},
        {IDD_SELECT_NAME, MAKEINTRESOURCEA(5)},        {IDD_REMOVE_NAME, MAKEINTRESOURCEA(5)},
        {MAKEINTRESOURCEA(IDD_ABOUT), MAKEINTRESOURCEA(5)}, {MAKEINTRESOURCEA(IDD_LOADING), MAKEINTRESOURCEA(5)},
        {MAKEINTRESOURCEA(IDD_PROFILEVIEW), MAKEINTRESOURCEA(5)},
        {MAKEINTRESOURCEA(IDM_CONTEXT), MAKEINTRESOURCEA(4)}, {MAKEINTRESOURCEA(IDA_SELECT), MAKEINTRESOURCEA(9)},
        {MAKEINTRESOURCEA(IDB_PANEL), MAKEINTRESOURCEA(2)}, {MAKEINTRESOURCEA(IDB_PRINTERS_SMALL), MAKEINTRESOURCEA(2)},
        {MAKEINTRESOURCEA(IDB_PRINTERS_LARGE), MAKEINTRESOURCEA(2)},
        {MAKEINTRESOURCEA(IDB_CHECKMARKS), MAKEINTRESOURCEA(2)}, {MAKEINTRESOURCEA(IDI_MAIN), MAKEINTRESOURCEA(14)},
        {MAKEINTRESOURCEA(IDI_SMALL), MAKEINTRESOURCEA(14)}, {MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)},
        {MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)},
    };
    for (const auto& r : resources) {
        CAPTURE(IS_INTRESOURCE(r.name) ? std::to_string(reinterpret_cast<UINT_PTR>(r.name)) : std::string(r.name));
        CAPTURE(reinterpret_cast<UINT_PTR>(r.type));
        const std::string expected = ResourceBytes(Module(), r.name, r.type);
        REQUIRE(!expected.empty());
        CHECK(ResourceBytes(program, r.name, r.type) == expected);
    }
    for (const QuotedString& s : kStrings) {
        CAPTURE(s.id);
        char buffer[512] = "";
        LoadStringA(program, s.id, buffer, sizeof buffer);
        CHECK(std::string(buffer) == s.text);
    }
    FreeLibrary(program);
}
