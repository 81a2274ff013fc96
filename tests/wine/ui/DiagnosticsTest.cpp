// The About box's closing and file version, and the profile viewer on the program's own template.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "UiFixture.h"
#include "diag/AboutDlg.h"
#include "diag/ProfileViewDlg.h"
#include "script/UninstallDatabase.h"
#include "shell/WaitCursor.h"

namespace {
// Every section has an entry for the laser driver; the ink driver has files only.
const char kScript[] =
    "[UnPrinterMfgs]\nQuellan,MFG,1\n"
    "[UnPrinterDrivers]\nQuellan Laser Driver,QLSR,1\nQuellan Ink Driver,QINK,1\n"
    "[MFG.Files]\nqlmfg.dll\n"
    "[QLSR.DeleteIni]\nqln.ini,Printers,Laser,extra\n"
    "[QLSR.DeleteLoadRun]\nStatus,QLNSTAT.EXE\n"
    "[QLSR.Hooks]\nQLNHOOK.DLL,Uninstall,1\n"
    "[QLSR.Files]\nqlsr.dll\n"
    "[QLSR.Monitors]\nQuellan Port\n"
    "[QLSR.RegistryKeys]\nHKLM,\"SOFTWARE\\Q\",\"\"\n"
    "[QLSR.PrintProcessors]\nQLNPROC\n"
    "[QLSR.Services]\nQLNSpool\n"
    "[QLSR.Shortcuts]\nQuellan,Status,STARTUP\n"
    "[QLSR.UnSelfRegister]\nqlshell.dll,DllUnregisterServer\n"
    "[QINK.Files]\nqink.dll\n";

enum { kLaser, kInk };

// A viewer over a database with a laser and an ink printer, opened modeless so that every refresh
// can be looked at between two messages.
class Viewer {
public:
    Viewer(bool laserSelected, bool inkSelected, int selectedCount) : dialog(&db, selectedCount) {
        InitCommonControls();
        REQUIRE(db.LoadScriptText(kScript, sizeof kScript - 1, "C:\\WINDOWS\\SYSTEM32\\Qunz__01.unm"));
        REQUIRE(db.BuildCandidates(false));
        db.Printers().push_back(MakePrinter("Quellan Laser 5", "Quellan Laser Driver"));
        db.Printers().push_back(MakePrinter("Quellan Ink 2", "Quellan Ink Driver"));
        Select(laserSelected, inkSelected);
        REQUIRE(CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_PROFILEVIEW), NULL,
                                   CommonDialogProc, reinterpret_cast<LPARAM>(&dialog)));
    }
    ~Viewer() { DestroyWindow(dialog.hwnd); }

    void Select(bool laser, bool ink) {
        db.Printers()[kLaser].excluded = laser ? 0 : 1;
        db.Printers()[kInk].excluded = ink ? 0 : 1;
    }
    void Click(int id) {
        SendMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.hwnd, id)));
    }
    void SetSingleProfile(bool on) {
        CheckDlgButton(dialog.hwnd, IDC_SINGLEPROFILE, on ? BST_CHECKED : BST_UNCHECKED);
        Click(IDC_SINGLEPROFILE);
    }
    HWND List() const { return GetDlgItem(dialog.hwnd, IDC_PROFILELIST); }
    int Rows() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::vector<std::string> Row(int row) {
        std::vector<std::string> cells;
        for (int c = 0; c < dialog.List().columnCount; ++c) cells.push_back(RowText(List(), row, c));
        return cells;
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (int r = 0; r < Rows(); ++r) cells.push_back(RowText(List(), r, column));
        return cells;
    }
    std::vector<std::string> Headers() {
        std::vector<std::string> headers;
        for (int c = 0; c < dialog.List().columnCount; ++c) headers.push_back(ColumnText(List(), c));
        return headers;
    }
    std::string Title() const { return WindowTextOf(dialog.hwnd); }

    UninstallDatabase db{3};
    CProfileViewDlg dialog;
};

using Cells = std::vector<std::string>;
}  // namespace

TEST_CASE("OK, Escape and the close box end the About box") {
    const WPARAM commands[] = {IDOK, IDCANCEL, IDC_EXIT};
    for (WPARAM command : commands) {
        CAPTURE(command);
        CTestMainDlg dlg({}, "quinst01.exe");
        REQUIRE(dlg.Create());
        CHECK(WhileModal(
                  dlg.hwnd, WM_SYSCOMMAND, IDM_ABOUT, [](HWND) {}, command) == kClosedByCommand);
    }
}

TEST_CASE("the file version comes from the version resource, and is empty without one") {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(NULL, self, sizeof self);
    char plain[MAX_PATH] = "";
    GetTempPathA(sizeof plain, plain);
    lstrcatA(plain, "no-version.txt");
    HANDLE file = CreateFileA(plain, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, "text", 4, &written, NULL);
    CloseHandle(file);

    const struct {
        const char* path;
        int result;
        const char* text;
    } rows[] = {{self, 1, "1.00.00.01"}, {plain, 0, ""}, {"C:\\no\\such\\program.exe", 0, ""}};
    for (const auto& row : rows) {
        CAPTURE(row.path);
        char text[32] = "stale";
        CHECK(FormatFileVersion(row.path, text, sizeof text) == row.result);
        CHECK(std::string(text) == row.text);
    }
    DeleteFileA(plain);
}

TEST_CASE("the viewer opens on the first section with the removal set of several printers") {
    const struct {
        int selectedCount;
        bool boxEnabled;
    } rows[] = {{0, false}, {1, true}, {2, false}};
    for (const auto& row : rows) {
        CAPTURE(row.selectedCount);
        Viewer viewer(true, false, row.selectedCount);
        CHECK(IsDlgButtonChecked(viewer.dialog.hwnd, IDC_SECTION_DELETEINI) == BST_CHECKED);
        CHECK((IsWindowEnabled(GetDlgItem(viewer.dialog.hwnd, IDC_SINGLEPROFILE)) != FALSE) ==
              row.boxEnabled);
        CHECK(viewer.Title() == "Extra Info - Multiple Printers");
        CHECK(viewer.Headers() == Cells{"file", "section", "entry"});
        CHECK(viewer.Row(0) == Cells{"qln.ini", "Printers", "Laser"});
    }
}

TEST_CASE("each section button shows its section's columns and rows") {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string windowsDir = std::string(windows) + "\\";
    const struct {
        int button;
        Cells headers;
        Cells firstRow;
    } rows[] = {
        {IDC_SECTION_DELETEINI, {"file", "section", "entry"}, {"qln.ini", "Printers", "Laser"}},
        {IDC_SECTION_DELETELOADRUN, {"Display", "File Name"}, {"Status", "QLNSTAT.EXE"}},
        {IDC_SECTION_DRIVERS, {"driver"}, {"Quellan Laser Driver"}},
        {IDC_SECTION_FILES, {"file"}, {"qlmfg.dll"}},
        {IDC_SECTION_HOOKS, {"file", "export"}, {"QLNHOOK.DLL", "Uninstall,1"}},
        {IDC_SECTION_MONITORS, {"Monitor Name"}, {"Quellan Port"}},
        {IDC_SECTION_REGISTRY,
         {"Base Key", "Sub Key", "Value Name", "Deltree"},
         {"HKLM", "\"SOFTWARE\\Q\"", "\"\"", ""}},
        {IDC_SECTION_PRINTPROCESSORS, {"Print Processor Name"}, {"QLNPROC"}},
        {IDC_SECTION_SERVICES, {"NT Service Name"}, {"QLNSpool"}},
        {IDC_SECTION_SHORTCUTS,
         {"Program Group", "Shortcut Description", "Special Location"},
         {"Quellan", "Status", "STARTUP"}},
        {IDC_SECTION_UNSELFREGISTER, {"FileName", "Function Export"}, {"qlshell.dll", "DllUnregisterServer"}},
        {IDC_SECTION_DIRECTORIES, {"Dir Variable", "Dir Location"}, {"WINDIR", windowsDir}},
    };
    Viewer viewer(true, false, 1);
    for (const auto& row : rows) {
        CAPTURE(row.button);
        viewer.Click(row.button);
        CHECK(viewer.Headers() == row.headers);
        CHECK(viewer.Row(0) == row.firstRow);
    }
    CHECK(viewer.Column(0) == Cells{"WINDIR", "SYSDIR", "COLORDIR", "PRINTPROCDIR", "PRINTPROCDIR_W40",
                                    "PRINTDRIVERDIR", "PRINTDRIVERDIR_W40"});
    for (const std::string& location : viewer.Column(1)) {
        CAPTURE(location);
        CHECK(location.size() > 3);
        CHECK(location.back() == '\\');
    }
}

TEST_CASE("every refresh recomputes the removal set from the current selection") {
    Viewer viewer(true, false, 1);
    viewer.Click(IDC_SECTION_FILES);
    CHECK(viewer.Column(0) == Cells{"qlmfg.dll", "qlsr.dll"});

    viewer.Select(false, true);
    CHECK(viewer.Column(0) == Cells{"qlmfg.dll", "qlsr.dll"});
    viewer.Click(IDC_SECTION_MONITORS);
    CHECK(viewer.Column(0) == Cells{"(empty)"});
    viewer.Click(IDC_SECTION_FILES);
    CHECK(viewer.Column(0) == Cells{"qink.dll", "qlmfg.dll"});
}

TEST_CASE("the single-profile box shows the printer's own profile only with one printer selected") {
    SUBCASE("one printer") {
        Viewer viewer(true, false, 1);
        viewer.Click(IDC_SECTION_FILES);
        viewer.SetSingleProfile(true);
        CHECK(viewer.Title() == "Extra Info - Printer: Quellan Laser Driver");
        CHECK(viewer.Column(0) == Cells{"qlsr.dll"});
        viewer.SetSingleProfile(false);
        CHECK(viewer.Title() == "Extra Info - Multiple Printers");
        CHECK(viewer.Column(0) == Cells{"qlmfg.dll", "qlsr.dll"});
    }
    SUBCASE("two printers: a checked box changes nothing") {
        Viewer viewer(true, true, 2);
        viewer.Click(IDC_SECTION_FILES);
        viewer.SetSingleProfile(true);
        CHECK(viewer.Title() == "Extra Info - Multiple Printers");
        // No printer of the maker stays: the scripts themselves go too.
        CHECK(viewer.Column(0) == Cells{"qink.dll", "qlmfg.dll", "qlsr.dll", "Qunz__01.unm"});
    }
}

TEST_CASE("the wait cursor comes back also when the work is left by an exception") {
    HCURSOR arrow = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    SetCursor(arrow);
    try {
        CWaitCursor wait;
        CHECK(GetCursor() == LoadCursorA(NULL, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
        throw 1;
    } catch (int) {
    }
    CHECK(GetCursor() == arrow);
}
