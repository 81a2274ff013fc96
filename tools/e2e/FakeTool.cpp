// qe2e_fake_tool: a small stand-in with the tool's window shapes (main window class, a page with
// list 1020, buttons 1080 and 1052, message boxes, a context menu), so that the harness can prove
// its robot on scenarios of its own.
//   /rows:A,B,C      list rows            /box:TEXT   a message box before the window appears
//   /reboot:1        Exit restarts Windows instead of ending the program
// Exit 1052 ends with 1; Uninstall asks "Uninstall N printer(s)?" and Yes ends with 10 + N.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Scenario.h"

namespace {
HWND g_main, g_page, g_list;

std::string Arg(const std::string& cmdline, const std::string& name) {
    size_t at = cmdline.find("/" + name + ":");
    if (at == std::string::npos) return "";
    size_t start = at + name.size() + 2, end = cmdline.find(" /", start);
    return cmdline.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int SelectedCount() { return static_cast<int>(SendMessageA(g_list, LVM_GETSELECTEDCOUNT, 0, 0)); }

LRESULT CALLBACK PageProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(l);
        if (hdr->code == LVN_ITEMCHANGED && SelectedCount() > 0) EnableWindow(GetDlgItem(g_main, 1080), TRUE);
        if (hdr->code == NM_RCLICK) {
            HMENU menu = CreatePopupMenu();
            AppendMenuA(menu, MF_STRING, 40007, "Details");
            AppendMenuA(menu, MF_STRING, 40010, "Select All");
            POINT pt = {100, 100};
            TrackPopupMenu(menu, TPM_RIGHTBUTTON, pt.x, pt.y, 0, h, nullptr);
            DestroyMenu(menu);
        }
        return 0;
    }
    if (msg == WM_COMMAND) {
        int id = LOWORD(w);
        if (id >= 40004 && id <= 40007) {
            static const DWORD views[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
            SendMessageA(g_list, LVM_SETVIEW, views[id - 40004], 0);
        } else if (id == 40010) {
            LVITEMA item = {};
            item.stateMask = item.state = LVIS_SELECTED;
            SendMessageA(g_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        }
        return 0;
    }
    return DefWindowProcA(h, msg, w, l);
}

bool g_reboot;

LRESULT CALLBACK MainProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_COMMAND && LOWORD(w) == 1052) {
        if (g_reboot)
            ExitWindowsEx(EWX_REBOOT, 0);
        else
            PostQuitMessage(1);
    }
    if (msg == WM_COMMAND && LOWORD(w) == 1080) {
        std::string q = "Uninstall " + std::to_string(SelectedCount()) + " printer(s)?";
        if (MessageBoxA(h, q.c_str(), "Printer Uninstall", MB_YESNO) == IDYES) PostQuitMessage(10 + SelectedCount());
    }
    if (msg == WM_CLOSE) PostQuitMessage(1);
    return DefWindowProcA(h, msg, w, l);
}

void Register(const char* name, WNDPROC proc, HINSTANCE inst) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.lpszClassName = name;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
}
}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmdline, int) {
    InitCommonControls();
    std::string args = cmdline;
    g_reboot = !Arg(args, "reboot").empty();
    if (!Arg(args, "box").empty()) MessageBoxA(nullptr, Unescape(Arg(args, "box")).c_str(), "Printer Uninstall", MB_OK);
    Register("QLNUninstallWindowClass__", MainProc, inst);
    Register("QE2EFakePage", PageProc, inst);
    g_main = CreateWindowExA(0, "QLNUninstallWindowClass__", "Printer Uninstall", WS_OVERLAPPEDWINDOW, 50, 50, 500,
                             360, nullptr, nullptr, inst, nullptr);
    g_page = CreateWindowExA(0, "QE2EFakePage", "", WS_CHILD | WS_VISIBLE, 0, 0, 480, 260, g_main, nullptr, inst, nullptr);
    g_list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_LIST | LVS_SHOWSELALWAYS,
                             10, 10, 460, 240, g_page, reinterpret_cast<HMENU>(1020), inst, nullptr);
    CreateWindowExA(0, "BUTTON", "&Uninstall", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 270, 100, 28, g_main,
                    reinterpret_cast<HMENU>(1080), inst, nullptr);
    CreateWindowExA(0, "BUTTON", "E&xit", WS_CHILD | WS_VISIBLE, 120, 270, 100, 28, g_main,
                    reinterpret_cast<HMENU>(1052), inst, nullptr);
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 150;
    col.pszText = const_cast<char*>("Name");
    SendMessageA(g_list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    int row = 0;
    for (const auto& name : SplitList(Arg(args, "rows"), ',')) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row++;
        item.pszText = const_cast<char*>(name.c_str());
        SendMessageA(g_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    ShowWindow(g_main, SW_SHOW);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return static_cast<int>(m.wParam);
}
