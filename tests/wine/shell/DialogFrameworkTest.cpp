// The common dialog procedure and the window helpers on real windows (null graphics driver).
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include <stdexcept>
#include <vector>

#include "FrameworkTestIds.h"
#include "shell/DialogBase.h"
#include "shell/WindowHelpers.h"

namespace {

const char kCaption[] = "Shell framework test";

// Commands posted, one per timer tick, to the test dialog while it runs modally.
std::vector<WPARAM> g_commands;
size_t g_nextCommand = 0;

void CALLBACK PostNextCommand(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowA("#32770", kCaption);
    if (!dialog || g_nextCommand >= g_commands.size()) return;
    PostMessageA(dialog, WM_COMMAND, g_commands[g_nextCommand++], 0);
}

INT_PTR RunUnboundDialog(std::vector<WPARAM> commands) {
    g_commands = commands;
    g_nextCommand = 0;
    UINT_PTR timer = SetTimer(NULL, 0, 30, PostNextCommand);
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_T_DIALOG), NULL,
                                     CommonDialogProc, 0);
    KillTimer(NULL, timer);
    return result;
}

const UINT kThrow = WM_APP + 1;
const UINT kEnd = WM_APP + 2;

class CRecordingDlg : public CDialogBase {
public:
    HWND boundAtInit = NULL;
    int messages = 0;
    int initCount = 0;

    INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) override {
        ++messages;
        switch (message) {
        case WM_INITDIALOG:
            ++initCount;
            boundAtInit = hwnd;
            CHECK(window == hwnd);
            PostMessageA(hwnd, kThrow, 0, 0);
            return TRUE;
        case kThrow:
            // Escaping into user32 would end the process; the common procedure must stop it.
            PostMessageA(hwnd, kEnd, 42, 0);
            throw std::runtime_error("from a dialog procedure");
        case kEnd:
            EndDialog(hwnd, static_cast<INT_PTR>(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    }
};

HWND MakePopup(int x, int y, int width, int height) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, x, y, width, height, NULL, NULL, NULL, NULL);
}

RECT WindowRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

}  // namespace

TEST_CASE("before an object is bound only OK and Cancel end the dialog") {
    SUBCASE("OK ends it with 1") { CHECK(RunUnboundDialog({IDOK}) == 1); }
    SUBCASE("Cancel ends it with 0") { CHECK(RunUnboundDialog({IDCANCEL}) == 0); }
    SUBCASE("other commands and notifications do nothing") {
        CHECK(RunUnboundDialog({MAKEWPARAM(IDOK, BN_SETFOCUS), MAKEWPARAM(IDC_T_FRAME, 0), IDOK}) == 1);
        CHECK(g_nextCommand == 3);
    }
}

TEST_CASE("a bound dialog object gets its window and every message, and exceptions stay inside") {
    CRecordingDlg dialog;
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_T_DIALOG), NULL,
                                     CommonDialogProc, reinterpret_cast<LPARAM>(&dialog));
    CHECK(result == 42);
    CHECK(dialog.initCount == 1);
    CHECK(dialog.boundAtInit != NULL);
    CHECK(dialog.messages > 3);
    // After the window is gone the object holds no handle to it.
    CHECK(dialog.hwnd == NULL);

    SUBCASE("the same object can run its dialog again") {
        CHECK(DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_T_DIALOG), NULL, CommonDialogProc,
                              reinterpret_cast<LPARAM>(&dialog)) == 42);
        CHECK(dialog.initCount == 2);
    }
}

TEST_CASE("a dialog object destroyed before its window detaches from it") {
    HWND window = NULL;
    {
        CRecordingDlg dialog;
        window = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_T_DIALOG), NULL,
                                    CommonDialogProc, reinterpret_cast<LPARAM>(&dialog));
        REQUIRE(window != NULL);
        CHECK(GetWindowLongPtrA(window, DWLP_USER) == reinterpret_cast<LONG_PTR>(&dialog));
    }
    CHECK(GetWindowLongPtrA(window, DWLP_USER) == 0);
    // Messages now take the unbound path instead of reaching freed memory.
    CHECK(SendMessageA(window, WM_COMMAND, IDC_T_FRAME, 0) == 0);
    DestroyWindow(window);
}

TEST_CASE("CenterWindow") {
    RECT desktop = WindowRect(GetDesktopWindow());
    int desktopWidth = desktop.right - desktop.left;
    int desktopHeight = desktop.bottom - desktop.top;

    SUBCASE("on the desktop, each half truncated") {
        HWND window = MakePopup(3, 3, 201, 101);
        CHECK(CenterWindow(window, NULL));
        RECT r = WindowRect(window);
        CHECK(r.left == desktop.left + desktopWidth / 2 - 100);
        CHECK(r.top == desktop.top + desktopHeight / 2 - 50);
        CHECK(r.right - r.left == 201);
        DestroyWindow(window);
    }
    SUBCASE("a window larger than the desktop goes to 0, 0") {
        HWND window = MakePopup(10, 10, desktopWidth + 400, desktopHeight + 300);
        CHECK(CenterWindow(window, NULL));
        RECT r = WindowRect(window);
        CHECK(r.left == 0);
        CHECK(r.top == 0);
        DestroyWindow(window);
    }
    SUBCASE("over another window") {
        HWND over = MakePopup(100, 100, 300, 200);
        HWND window = MakePopup(0, 0, 101, 51);
        CHECK(CenterWindow(window, over));
        RECT r = WindowRect(window);
        CHECK(r.left == 100 + (150 - 50));
        CHECK(r.top == 100 + (100 - 25));
        DestroyWindow(window);
        DestroyWindow(over);
    }
    SUBCASE("no window") { CHECK_FALSE(CenterWindow(NULL, NULL)); }
}

TEST_CASE("PlacePageOverControl puts the page on the placeholder") {
    HWND parent = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_T_DIALOG), NULL,
                                     CommonDialogProc, 0);
    REQUIRE(parent != NULL);
    HWND placeholder = GetDlgItem(parent, IDC_T_FRAME);
    HWND page = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent, NULL, NULL, NULL);
    CHECK(PlacePageOverControl(page, placeholder, parent));
    RECT a = WindowRect(placeholder);
    RECT b = WindowRect(page);
    CHECK(a.left == b.left);
    CHECK(a.top == b.top);
    CHECK(a.right == b.right);
    CHECK(a.bottom == b.bottom);
    DestroyWindow(parent);
}
