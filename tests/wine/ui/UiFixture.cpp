#include "UiFixture.h"

#include "shell/StartUp.h"

CTestMainDlg::~CTestMainDlg() {
    // The pages' objects die with this one: their windows go first.
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

HWND CTestMainDlg::Create() {
    static bool initialised = false;
    if (!initialised) {
        InitCommonControls();
        RegisterMainWindowClass();
        initialised = true;
    }
    RemovePage().SetPrompts(&answers);
    return CreateDialogParamA(GetModuleHandleA(NULL), IDD_MAIN_NOBMP_NAME, NULL, CommonDialogProc,
                              reinterpret_cast<LPARAM>(static_cast<CDialogBase*>(this)));
}

bool CTestMainDlg::WaitForRemovalDone() {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(10)) {
        Pump();
        if (RemovePage().Sequence().Finished() && Text(IDC_EXIT) == "&Close") return true;
    }
    return false;
}

INT_PTR CTestMainDlg::RunLoading() {
    if (result == 1) {
        for (const InstalledPrinter& p : printers) Database().Printers().push_back(p);
    }
    return result;
}

std::string CTestMainDlg::Text(int id) const {
    char text[256] = "";
    GetWindowTextA(Item(id), text, sizeof(text));
    return text;
}

InstalledPrinter MakePrinter(const char* name, const char* driver, const char* location, const char* vizored,
                             int isDefault) {
    InstalledPrinter p;
    p.name = name;
    p.driver = driver;
    p.location = location;
    p.vizoredName = vizored;
    p.isDefault = isDefault;
    p.isSpoolara = vizored[0] ? 0 : 1;
    return p;
}

std::vector<InstalledPrinter> MixedCensus() {
    std::vector<InstalledPrinter> census;
    InstalledPrinter foreign = MakePrinter("Other Maker 100", "Other Driver");
    foreign.isSpoolara = 0;
    foreign.isForeign = 1;
    census.push_back(foreign);
    census.push_back(MakePrinter("Quellan Laser 5", "QLN Laser Driver", "", "", 1));
    InstalledPrinter deleted = MakePrinter("Quellan Gone", "QLN Gone Driver");
    deleted.deleted = 1;
    census.push_back(deleted);
    census.push_back(MakePrinter("\\\\SERVER\\Quellan Ink", "QLN Ink Driver", "\\\\SERVER"));
    InstalledPrinter filtered = MakePrinter("Quellan Filtered", "QLN Filtered Driver");
    filtered.offered = 0;
    filtered.excluded = 1;
    census.push_back(filtered);
    census.push_back(MakePrinter("Vizored Laser 5", "QLN Viz Driver", "", "Quellan Laser 5"));
    return census;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpDialog(HWND dialog) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool Visible(HWND window) {
    return window && (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string RowText(HWND list, int row, int column) {
    char text[300] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

static LVITEMA GetRow(HWND list, int row, UINT mask) {
    LVITEMA item = {};
    item.mask = mask;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item;
}

LPARAM RowData(HWND list, int row) {
    return GetRow(list, row, LVIF_PARAM).lParam;
}

int RowImage(HWND list, int row) {
    return GetRow(list, row, LVIF_IMAGE).iImage;
}

bool RowSelected(HWND list, int row) {
    return (SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

int SelectedRows(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

void SelectRow(HWND list, int row, bool selected) {
    LVITEMA item = {};
    item.state = selected ? LVIS_SELECTED : 0;
    item.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

std::string ColumnText(HWND list, int column) {
    char text[100] = "";
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = sizeof(text);
    return SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info)) ? text : "";
}

std::string WindowTextOf(HWND window) {
    char text[300] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

namespace {
struct ModalWatch {
    const std::function<void(HWND)>* look;
    WPARAM close;
    HWND dialog;
    int ticksSinceClose;
    bool forced;
};
ModalWatch g_watch;

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM found) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof(name));
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window) && GetWindow(window, GW_OWNER)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK WatchModal(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_watch.dialog) {
        HWND dialog = NULL;
        EnumThreadWindows(GetCurrentThreadId(), FindOwnedDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) return;
        g_watch.dialog = dialog;
        (*g_watch.look)(dialog);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(g_watch.close, BN_CLICKED), 0);
    } else if (IsWindow(g_watch.dialog) && ++g_watch.ticksSinceClose > 20) {
        g_watch.forced = true;
        EndDialog(g_watch.dialog, 0);
    }
}
}  // namespace

ModalEnd WhileModal(HWND window, UINT message, WPARAM wParam, const std::function<void(HWND)>& look,
                    WPARAM close) {
    g_watch = {&look, close, NULL, 0, false};
    UINT_PTR timer = SetTimer(NULL, 0, 20, WatchModal);
    SendMessageA(window, message, wParam, 0);
    KillTimer(NULL, timer);
    if (!g_watch.dialog) return kNoDialog;
    return g_watch.forced ? kForcedClosed : kClosedByCommand;
}
