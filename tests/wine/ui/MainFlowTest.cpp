// The main dialog's flow: loading result and switches, the removal start and its end.
#include <doctest/doctest.h>

#include <cstdlib>
#include <regex>

#include "../ImportPatch.h"
#include "UiFixture.h"
#include "diag/BuildStamp.h"

namespace {
// What a 32-bit Windows reports through the old memory call on a machine beyond its reach: figures
// above 2 GB come back capped.
void WINAPI MemoryStatusCapped(MEMORYSTATUS* status) {
    MEMORYSTATUSEX full = {};
    full.dwLength = sizeof full;
    GlobalMemoryStatusEx(&full);
    const SIZE_T cap = 0x7FFFFFFF;
    status->dwAvailPhys = full.ullAvailPhys > cap ? cap : static_cast<SIZE_T>(full.ullAvailPhys);
    status->dwAvailVirtual = full.ullAvailVirtual > cap ? cap : static_cast<SIZE_T>(full.ullAvailVirtual);
    status->dwTotalPageFile = full.ullTotalPageFile > cap ? cap : static_cast<SIZE_T>(full.ullTotalPageFile);
}

// A program started by a launcher that asked for a hidden window: Windows gives SW_SHOWDEFAULT the
// launcher's show command (Wine does not).
BOOL WINAPI ShowStartedHidden(HWND window, int command) {
    static const auto show = reinterpret_cast<BOOL(WINAPI*)(HWND, int)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "ShowWindow")));
    return show(window, command == SW_SHOWDEFAULT ? SW_HIDE : command);
}

bool SystemItemGreyed(HWND dialog, UINT id) {
    return (GetMenuState(GetSystemMenu(dialog, FALSE), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

std::vector<InstalledPrinter> OnePrinter() {
    return {MakePrinter("Quellan Laser 5", "QLN Laser Driver")};
}
}  // namespace

TEST_CASE("after loading the selection page shows and Uninstall waits for a selection") {
    CTestMainDlg dlg(OnePrinter(), "quinst01.exe");
    REQUIRE(dlg.Create());
    CHECK(Visible(dlg.hwnd));
    CHECK(Visible(dlg.SelectPage().hwnd));
    CHECK_FALSE(Visible(dlg.RemovePage().hwnd));
    CHECK_FALSE(Visible(dlg.Item(IDC_PLACEHOLDER)));
    CHECK_FALSE(dlg.Enabled(IDC_UNINSTALL));
    CHECK(dlg.Enabled(IDC_EXIT));
    CHECK(dlg.Text(IDC_UNINSTALL) == "&Uninstall");
    CHECK(dlg.Text(IDC_EXIT) == "Cancel");

    // System menu: no maximize or size, and an About entry.
    CHECK(SystemItemGreyed(dlg.hwnd, SC_MAXIMIZE));
    CHECK(SystemItemGreyed(dlg.hwnd, SC_SIZE));
    CHECK_FALSE(SystemItemGreyed(dlg.hwnd, SC_CLOSE));
    char text[64] = "";
    GetMenuStringA(GetSystemMenu(dlg.hwnd, FALSE), IDM_ABOUT, text, sizeof(text), MF_BYCOMMAND);
    CHECK(std::string(text) == "&About this application...");
}

TEST_CASE("the About entry opens the About box over the main dialog with the program's facts") {
    CTestMainDlg dlg(OnePrinter(), "quinst01.exe");
    REQUIRE(dlg.Create());
    std::vector<std::vector<std::string>> rows;
    std::string title, notice;
    HWND owner = NULL;
    bool mainEnabled = true;
    RECT box = {}, desktop = {};
    ImportPatch capped("kernel32.dll", "GlobalMemoryStatus",
                       reinterpret_cast<const void*>(MemoryStatusCapped));
    REQUIRE(capped.Applied());
    CHECK(WhileModal(dlg.hwnd, WM_SYSCOMMAND, IDM_ABOUT, [&](HWND about) {
              title = WindowTextOf(about);
              notice = WindowTextOf(GetDlgItem(about, IDC_LEGAL));
              owner = GetWindow(about, GW_OWNER);
              mainEnabled = IsWindowEnabled(dlg.hwnd) != FALSE;
              GetWindowRect(about, &box);
              GetWindowRect(GetDesktopWindow(), &desktop);
              HWND list = GetDlgItem(about, IDC_PRINTERLIST);
              for (int r = 0, n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); r < n; ++r)
                  rows.push_back({RowText(list, r, 0), RowText(list, r, 1)});
          }) == kClosedByCommand);

    CHECK(title == "AboutBox");
    CHECK(notice == "Copyright (C) 2006. All rights reserved.");
    CHECK(owner == dlg.hwnd);
    CHECK_FALSE(mainEnabled);
    CHECK(IsWindowEnabled(dlg.hwnd));
    CHECK(std::abs((box.left + box.right) / 2 - (desktop.left + desktop.right) / 2) <= 1);
    CHECK(std::abs((box.top + box.bottom) / 2 - (desktop.top + desktop.bottom) / 2) <= 1);

    // This test program carries the tool's version resource; Wine reports the NT family.
    REQUIRE(rows.size() == 6);
    CHECK(rows[0] == std::vector<std::string>{"Version", "1.00.00.01"});
    CHECK(rows[1] == std::vector<std::string>{"Build Stamp", BuildStamp()});
    CHECK(std::regex_match(rows[1][1], std::regex("(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                                  "[ 123][0-9] [0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-5][0-9]")));
    CHECK(rows[2] == std::vector<std::string>{"OS Platform", "WinNT"});
    const char* memory[] = {"Free Physical RAM", "Free Virtual RAM", "Swap File Size"};
    for (int i = 0; i < 3; ++i) {
        CAPTURE(memory[i]);
        CHECK(rows[3 + i][0] == memory[i]);
        CHECK(std::regex_match(rows[3 + i][1], std::regex("[1-9][0-9]* kb")));
    }
    // The figures are the machine's own, not the old call's capped ones.
    MEMORYSTATUSEX full = {};
    full.dwLength = sizeof full;
    REQUIRE(GlobalMemoryStatusEx(&full));
    CHECK(std::stoull(rows[4][1]) > 4194304);  // a 64-bit program has far more than 4 GB of address space
    CHECK(rows[5][1] == std::to_string(full.ullTotalPageFile >> 10) + " kb");
}

TEST_CASE("a loading that was stopped ends the main dialog before it is ever shown") {
    CTestMainDlg dlg(OnePrinter(), "quinst01.exe", 0);
    HWND window = dlg.Create();
    REQUIRE(window);
    CHECK_FALSE(Visible(window));
    // The page still holds its placeholder row: nothing was refilled.
    CHECK(RowText(dlg.List(), 0, 0) == "(loading)");
}

TEST_CASE("the filter switches and NOPICK decide which pages show after loading") {
    struct Case {
        const char* commandLine;
        bool printers;
        bool removalPageVisible;
        bool uninstallEnabled;
    } cases[] = {
        {"quinst01.exe", true, false, false},
        {"quinst01.exe /NOPICK", true, false, false},
        {"quinst01.exe /MFG:Quellan", true, false, false},
        {"quinst01.exe /UNVIZ", true, false, false},
        // NOPICK with a filter leaves the removal page where it was; Uninstall follows the count.
        {"quinst01.exe /NOPICK /MFG:Quellan", true, true, false},
        {"quinst01.exe /NOPICK /PRN:x", false, true, true},
        {"quinst01.exe /NOPICK", false, false, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.commandLine);
        CAPTURE(c.printers);
        CTestMainDlg dlg(c.printers ? OnePrinter() : std::vector<InstalledPrinter>(), c.commandLine);
        REQUIRE(dlg.Create());
        CHECK(Visible(dlg.hwnd));
        CHECK(Visible(dlg.SelectPage().hwnd));
        CHECK(Visible(dlg.RemovePage().hwnd) == c.removalPageVisible);
        CHECK(dlg.Enabled(IDC_UNINSTALL) == c.uninstallEnabled);
        CHECK(dlg.Enabled(IDC_EXIT));
        CHECK(SendMessageA(dlg.List(), LVM_GETITEMCOUNT, 0, 0) == (c.printers ? 1 : 0));
        // Whatever stays visible beneath, the selection page is the one in front.
        RECT r;
        GetWindowRect(dlg.Item(IDC_PLACEHOLDER), &r);
        POINT middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(dlg.hwnd, &middle);
        CHECK(ChildWindowFromPointEx(dlg.hwnd, middle, CWP_SKIPINVISIBLE) == dlg.SelectPage().hwnd);
    }
}

TEST_CASE("Uninstall with nothing offered runs the removal and leaves its page up") {
    ImportPatch startedHidden("user32.dll", "ShowWindow", reinterpret_cast<const void*>(ShowStartedHidden));
    REQUIRE(startedHidden.Applied());
    CTestMainDlg dlg({}, "quinst01.exe");
    REQUIRE(dlg.Create());
    CHECK(dlg.Enabled(IDC_UNINSTALL));
    CHECK(SendMessageA(dlg.List(), LVM_GETITEMCOUNT, 0, 0) == 0);

    SendMessageA(dlg.hwnd, WM_COMMAND, MAKEWPARAM(IDC_UNINSTALL, BN_CLICKED), 0);
    // Removal started: selection hidden, removal shown, no way out until it is done.
    CHECK_FALSE(Visible(dlg.SelectPage().hwnd));
    CHECK(Visible(dlg.RemovePage().hwnd));
    CHECK_FALSE(dlg.Enabled(IDC_EXIT));
    CHECK_FALSE(dlg.Enabled(IDC_UNINSTALL));
    CHECK(SystemItemGreyed(dlg.hwnd, SC_CLOSE));
    // The page is brought forward after the shortcut step, and stays shown.
    for (DWORD start = GetTickCount();
         dlg.RemovePage().Sequence().State() <= 10 && GetTickCount() - start < 20000; Sleep(10))
        Pump();
    CHECK(Visible(dlg.RemovePage().hwnd));

    // The page's close request ends the dialog; the done notice follows it.
    REQUIRE(dlg.WaitForRemovalDone());
    CHECK_FALSE(Visible(dlg.hwnd));
    CHECK(dlg.Text(IDC_EXIT) == "&Close");
    CHECK(dlg.Enabled(IDC_EXIT));
    CHECK(Visible(dlg.RemovePage().hwnd));
}

TEST_CASE("while the removal runs, the close box, End task, Escape and the dialog's commands do not end it") {
    CTestMainDlg dlg({}, "quinst01.exe");
    REQUIRE(dlg.Create());
    SendMessageA(dlg.hwnd, WM_COMMAND, MAKEWPARAM(IDC_UNINSTALL, BN_CLICKED), 0);
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
    } attempts[] = {
        {"close box, Alt+F4 or End task", WM_CLOSE, 0},
        {"Escape", WM_KEYDOWN, VK_ESCAPE},
        {"IDOK", WM_COMMAND, IDOK},
        {"Exit", WM_COMMAND, IDC_EXIT},
    };
    for (const auto& attempt : attempts) {
        CAPTURE(attempt.what);
        PostMessageA(dlg.hwnd, attempt.message, attempt.wParam, 0);
        PumpDialog(dlg.hwnd);
        CHECK(Visible(dlg.hwnd));
    }
    REQUIRE_FALSE(dlg.RemovePage().Sequence().Finished());
    // The spooler is started again at the end, and only then does the page's own request close it.
    REQUIRE(dlg.WaitForRemovalDone());
    CHECK_FALSE(Visible(dlg.hwnd));
}

TEST_CASE("Uninstall by button or Enter removes only the ticked printer and those standing for it") {
    enum Press { kClick, kEnter };
    for (Press press : {kClick, kEnter}) {
        CAPTURE(press);
        CTestMainDlg dlg(MixedCensus(), "quinst01.exe");
        REQUIRE(dlg.Create());
        HWND list = dlg.List();
        REQUIRE(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 3);
        // The user ticks "Quellan Laser 5"; the list's notification enables the button.
        SelectRow(list, 0, true);
        REQUIRE(dlg.Enabled(IDC_UNINSTALL));
        if (press == kClick) {
            SendMessageA(dlg.Item(IDC_UNINSTALL), BM_CLICK, 0, 0);
        } else {
            // Enter in the list goes to the default button, Uninstall.
            SetFocus(list);
            PostMessageA(list, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        }
        PumpDialog(dlg.hwnd);
        // The removal ran to its end.
        REQUIRE(dlg.WaitForRemovalDone());

        const std::vector<InstalledPrinter>& printers = dlg.Database().Printers();
        // The ticked printer, and the Vizored printer that stands for it, go.
        CHECK(printers[1].excluded == 0);
        CHECK(printers[5].excluded == 0);
        // The unticked row and the filtered-out printer stay.
        CHECK(printers[3].excluded == 1);
        CHECK(printers[4].excluded == 1);
        CHECK(dlg.Database().RemovedPrinterCount() == 2);
        CHECK(dlg.Database().RemainingPrinterCount() == 2);
    }
}

TEST_CASE("the end of a removal alone brings the selection back unless a restart is pending") {
    for (int reboot = 0; reboot < 2; ++reboot) {
        CAPTURE(reboot);
        CTestMainDlg dlg(MixedCensus(), "quinst01.exe");
        REQUIRE(dlg.Create());
        HWND list = dlg.List();
        SelectRow(list, 0, true);
        SendMessageA(dlg.SelectPage().hwnd, WM_COMMAND, MAKEWPARAM(IDM_DETAILS, 0), 0);
        // The removal deleted the first listed printer.
        dlg.Database().Printers()[1].deleted = 1;
        dlg.Database().SetRebootNeeded(reboot);
        SendMessageA(dlg.hwnd, UM_REMOVALDONE, 0, 0);

        CHECK(dlg.Text(IDC_EXIT) == "&Close");
        CHECK(dlg.Enabled(IDC_EXIT));
        CHECK(Visible(dlg.SelectPage().hwnd) == (reboot == 0));
        CHECK(Visible(dlg.RemovePage().hwnd) == (reboot == 1));
        if (reboot == 0) {
            CHECK(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2);
            CHECK(RowText(list, 0, 0) == "\\\\SERVER\\Quellan Ink");
            CHECK(dlg.SelectPage().List().GetView() == LVS_LIST);
            CHECK_FALSE(dlg.Enabled(IDC_UNINSTALL));
        }
    }
}

TEST_CASE("Exit, Escape and the close box end the main dialog with 1") {
    const UINT commands[] = {IDC_EXIT, IDCANCEL, IDOK};
    for (UINT id : commands) {
        CAPTURE(id);
        CTestMainDlg dlg(OnePrinter(), "quinst01.exe");
        REQUIRE(dlg.Create());
        CHECK(SendMessageA(dlg.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) == 0);
        CHECK_FALSE(Visible(dlg.hwnd));
    }
}
