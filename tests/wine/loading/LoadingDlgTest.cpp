// The loading window run modally on its own, as the main dialog runs it. Each scenario is a
// process of its own (chosen by QU_LOADING_CASE), because the loading counters are process-wide.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "script/UninstallDatabase.h"
#include "shell/DialogBase.h"
#include "TestPrinters.h"
#include "shell/LoadingDlg.h"

namespace {
const char kCaption[] = "Printer Uninstall";
const char kScriptName[] = "Qunz__01.unm";
const char kConfigPath[] = "C:\\loading-strict.ini";
const char kJournalPath[] = "C:\\loading-journal.txt";

// Answers the message boxes that the loading window shows, from a second thread, and records them.
class BoxAnswerer {
public:
    struct Box {
        std::string text;
        std::string ownerTitle;
    };

    explicit BoxAnswerer(std::vector<int> answers) : answers_(answers) {
        thread_ = CreateThread(NULL, 0, Run, this, 0, NULL);
    }
    ~BoxAnswerer() {
        stop_ = 1;
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
    }
    const std::vector<Box>& Boxes() const { return boxes_; }

private:
    static BOOL CALLBACK FindBox(HWND window, LPARAM param) {
        char className[32] = "", title[64] = "";
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        GetClassNameA(window, className, sizeof className);
        GetWindowTextA(window, title, sizeof title);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) && strcmp(className, "#32770") == 0 &&
            strcmp(title, kCaption) == 0) {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
        return TRUE;
    }

    static DWORD WINAPI Run(void* param) {
        BoxAnswerer* self = static_cast<BoxAnswerer*>(param);
        while (!self->stop_) {
            HWND box = NULL;
            EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
            if (!box) {
                Sleep(20);
                continue;
            }
            Box seen;
            char text[1024] = "", owner[64] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            GetWindowTextA(GetWindow(box, GW_OWNER), owner, sizeof owner);
            seen.text = text;
            seen.ownerTitle = owner;
            size_t index = self->boxes_.size();
            self->boxes_.push_back(seen);
            int answer = index < self->answers_.size() ? self->answers_[index] : IDOK;
            PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
            for (int i = 0; i < 250 && IsWindow(box); ++i) Sleep(20);
        }
        return 0;
    }

    std::vector<int> answers_;
    std::vector<Box> boxes_;
    HANDLE thread_;
    volatile LONG stop_ = 0;
};

// Hidden windows of the maker's other programs; they record each close request and stay open, so
// every pass over the classes finds them again.
std::string g_closed;
UINT g_closeBroadcast = 0;
int g_broadcasts = 0;

LRESULT CALLBACK RelatedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        char className[64];
        GetClassNameA(window, className, sizeof className);
        g_closed += std::string(className) + (lParam ? "(1)" : "") + " ";
        return 0;
    }
    if (g_closeBroadcast && message == g_closeBroadcast) {
        ++g_broadcasts;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* const kRelatedClasses[] = {"QLNPSMCClass01",  "ZPSD01",         "VIZORADLGCLASS01",
                                       "ZMsgPopClass01",  "QSPL3201Class",  "ZbridgeWClass01",
                                       "QLNInstallClass__", "QLNStatusClass_01", "SdStatusWindowClass_"};

void OpenRelatedWindows() {
    g_closeBroadcast = RegisterWindowMessageA("QUninstClose01");
    // Created in reverse order, so that an order of finding by creation would show.
    for (const char* name : kRelatedClasses) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RelatedProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = name;
        RegisterClassA(&wc);
        REQUIRE(CreateWindowA(name, "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL));
    }
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

std::string Directory(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

std::string DriverDirectory() {
    char path[MAX_PATH] = "";
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(NULL, NULL, 1, reinterpret_cast<BYTE*>(path), sizeof path, &needed);
    return std::string(path) + "\\";
}

std::string ProgramDirectory() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, sizeof path);
    return Directory(path);
}

void WriteText(const std::string& path, const char* text) {
    std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << text;
}

void Configure(const char* text) {
    SetEnvironmentVariableA("QSPOOL_CONFIG", kConfigPath);
    SetEnvironmentVariableA("QSPOOL_JOURNAL", kJournalPath);
    WriteText(kConfigPath, text);
    DeleteFileA(kJournalPath);
}

std::string Journal() { return ReadTextFile(kJournalPath); }

size_t Occurrences(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

void InstallPrinter(const char* name) {
    AddTestDriver("Quellan Laser 5");
    HANDLE printer = AddTestPrinter(name, "Quellan Laser 5");
    SetPrinterDataA(printer, const_cast<char*>("QuellanDriver01"), REG_SZ,
                    reinterpret_cast<BYTE*>(const_cast<char*>("1")), 2);
    ClosePrinter(printer);
}

// Runs the loading window modally over db, as the main dialog does.
INT_PTR RunLoading(CLoadingDlg& dialog, UninstallDatabase& db) {
    dialog.SetDatabase(&db);
    return DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_LOADING), NULL, CommonDialogProc,
                           reinterpret_cast<LPARAM>(static_cast<CDialogBase*>(&dialog)));
}

// Presses Escape on the loading window once it is up, from a second thread.
DWORD WINAPI PressEscapeSoon(void*) {
    HWND dialog = NULL;
    for (int i = 0; i < 250 && !dialog; ++i, Sleep(20)) dialog = FindWindowA("#32770", "Loading uninstall...");
    Sleep(600);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}
}  // namespace

TEST_CASE("order") {
    // The first census fails quietly: everything from closing the programs on runs again once.
    Configure("[Fail]\nFunction=EnumPrintersA\nError=5\nTimes=1\n");
    InstallPrinter("QU Office");
    WriteText(DriverDirectory() + kScriptName, "[UnPrinterDrivers]\nQuellan Laser 5,QL5\n[QL5.Files]\nql5.dll\n");
    OpenRelatedWindows();
    UninstallDatabase db(3);
    CLoadingDlg dialog;
    BoxAnswerer boxes({});
    DWORD start = GetTickCount();

    CHECK(RunLoading(dialog, db) == 1);

    DWORD elapsed = GetTickCount() - start;
    PumpMessages();
    CHECK(boxes.Boxes().empty());
    std::string pass =
        "SdStatusWindowClass_ QLNStatusClass_01 QLNInstallClass__ ZbridgeWClass01 QSPL3201Class "
        "ZMsgPopClass01 VIZORADLGCLASS01 ZPSD01(1) QLNPSMCClass01 ";
    CHECK(g_closed == pass + pass + pass);
    // Every top-level window gets the broadcast: nine windows, three passes.
    CHECK(g_broadcasts == 3 * 9);
    // Two censuses, the printer listed once; the script read in each pass, its profile kept once.
    std::string journal = Journal();
    CHECK(Occurrences(journal, "EnumPrintersA flags=6 name=null level=4 size=0") == 2);
    REQUIRE(db.Printers().size() == 1);
    CHECK(std::string(db.Printers()[0].name.Text()) == "QU Office");
    CHECK(db.Profiles().size() == 1);
    CHECK(dialog.Scripts().Count() == 1);
    CHECK(db.Candidate().Files.Contains("ql5.dll"));
    // 22 ticks for one pass and 9 more for the second, at 400 ms.
    CHECK(elapsed >= 31 * 400 - 400);
    CHECK(elapsed < 31 * 400 * 2);
    DeleteFileA((DriverDirectory() + kScriptName).c_str());
}

TEST_CASE("retry-partial") {
    // The first census reaches one printer and then fails on the next; the second census must
    // not list the first printer twice.
    Configure("[Fail]\nFunction=GetPrinterA\nPrinter=QU Zed\nLevel=2\nError=5\nTimes=2\n");
    InstallPrinter("QU Alpha");
    InstallPrinter("QU Zed");
    WriteText(DriverDirectory() + kScriptName, "[UnPrinterDrivers]\nX,X\n[X.Files]\nx.dll\n");
    UninstallDatabase db(3);
    CLoadingDlg dialog;
    BoxAnswerer boxes({});

    CHECK(RunLoading(dialog, db) == 1);

    CHECK(Occurrences(Journal(), "EnumPrintersA flags=6 name=null level=4 size=0") == 2);
    REQUIRE(db.Printers().size() == 2);
    CHECK(std::string(db.Printers()[0].name.Text()) == "QU Alpha");
    CHECK(std::string(db.Printers()[1].name.Text()) == "QU Zed");
    DeleteFileA((DriverDirectory() + kScriptName).c_str());
}

TEST_CASE("scripts") {
    std::string driverDir = DriverDirectory();
    CreateDirectoryA((driverDir + "3").c_str(), NULL);
    WriteText(driverDir + kScriptName,
              "[UnPrinterDrivers]\nShared,FromDriverDir\nDriverOnly,DO\n[FromDriverDir.Files]\ndriverdir.dll\n");
    WriteText(driverDir + "3\\" + kScriptName, "[UnPrinterDrivers]\nShared,FromSubdir\n[FromSubdir.Files]\nsubdir.dll\n");
    WriteText(ProgramDirectory() + kScriptName, "[UnPrinterDrivers]\nProgramOnly,PO\n[PO.Files]\nprogram.dll\n");
    UninstallDatabase db(3);
    CLoadingDlg dialog;
    BoxAnswerer boxes({});

    CHECK(RunLoading(dialog, db) == 1);

    DeleteFileA((ProgramDirectory() + kScriptName).c_str());
    CHECK(boxes.Boxes().empty());
    // Each script once, in path order ignoring case: the "3" subdirectory sorts before the file
    // beside it, and the C: directories before the program's Z: directory.
    REQUIRE(dialog.Scripts().Count() == 3);
    CHECK(std::string(dialog.Scripts().At(0).Text()) == driverDir + "3\\" + kScriptName);
    CHECK(std::string(dialog.Scripts().At(1).Text()) == driverDir + kScriptName);
    CHECK(std::string(dialog.Scripts().At(2).Text()) == ProgramDirectory() + kScriptName);
    // The profile of the script read first wins.
    UninstallProfile shared;
    REQUIRE(db.FindProfileByName(shared, "Shared"));
    CHECK(shared.Files.Contains("subdir.dll"));
    CHECK_FALSE(shared.Files.Contains("driverdir.dll"));
    CHECK(db.Profiles().size() == 3);
}

TEST_CASE("noscripts") {
    // A machine without printers would fail the census and search a second time; one printer
    // keeps this to a single pass.
    InstallPrinter("QU Office");
    UninstallDatabase db(3);
    CLoadingDlg dialog;
    BoxAnswerer boxes({IDOK});

    CHECK(RunLoading(dialog, db) == 1);

    REQUIRE(boxes.Boxes().size() == 1);
    CHECK(boxes.Boxes()[0].text.find("unable to locate the uninstall scripts (*.unm)") != std::string::npos);
    CHECK(boxes.Boxes()[0].ownerTitle == "Loading uninstall...");
    CHECK(dialog.Scripts().IsEmpty());
}

TEST_CASE("stop-declined") {
    WriteText(DriverDirectory() + kScriptName, "[UnPrinterDrivers]\nX,X\n[X.Files]\nx.dll\n");
    UninstallDatabase db(3);
    CLoadingDlg dialog;
    BoxAnswerer boxes({IDNO});
    CloseHandle(CreateThread(NULL, 0, PressEscapeSoon, NULL, 0, NULL));
    DWORD start = GetTickCount();

    CHECK(RunLoading(dialog, db) == 1);

    DWORD elapsed = GetTickCount() - start;
    REQUIRE(boxes.Boxes().size() == 1);
    CHECK(boxes.Boxes()[0].text == "Do you want to stop the uninstall?");
    // After the No the ticks come every 200 ms: the 22 ticks take well under 22 × 400 ms.
    CHECK(elapsed < 22 * 400 - 1500);
    DeleteFileA((DriverDirectory() + kScriptName).c_str());
}

TEST_CASE("stop-confirmed") {
    UninstallDatabase db(3);
    CLoadingDlg dialog;
    BoxAnswerer boxes({IDYES});
    CloseHandle(CreateThread(NULL, 0, PressEscapeSoon, NULL, 0, NULL));

    CHECK(RunLoading(dialog, db) == 0);

    REQUIRE(boxes.Boxes().size() == 1);
    CHECK(boxes.Boxes()[0].text == "Do you want to stop the uninstall?");
    CHECK(db.Printers().empty());
}

TEST_CASE("spooler-down") {
    Configure("[Fail]\nFunction=EnumPrintersA\nError=1722\n");
    WriteText(DriverDirectory() + kScriptName, "[UnPrinterDrivers]\nX,X\n[X.Files]\nx.dll\n");
    UninstallDatabase db(3);
    CLoadingDlg dialog;
    BoxAnswerer boxes({IDOK});

    CHECK(RunLoading(dialog, db) == 0);

    REQUIRE(boxes.Boxes().size() == 1);
    CHECK(boxes.Boxes()[0].text.find("The print spooler sub-system is not responding.") == 0);
    CHECK(boxes.Boxes()[0].ownerTitle == "Loading uninstall...");
    // The sequence stopped at the census: no second one.
    CHECK(Occurrences(Journal(), "EnumPrintersA") == 1);
    DeleteFileA((DriverDirectory() + kScriptName).c_str());
}

int main(int argc, char** argv) {
    InitCommonControls();
    doctest::Context context;
    context.applyCommandLine(argc, argv);
    const char* scenario = getenv("QU_LOADING_CASE");
    if (scenario) context.setOption("test-case", scenario);
    return context.run();
}
