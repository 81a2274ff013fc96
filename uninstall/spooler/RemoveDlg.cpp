#include "RemoveDlg.h"

#include "res/resource.h"
#include "script/BoundedText.h"
#include "script/UninstallDatabase.h"
#include "spooler/PromptText.h"

namespace {
// One row per stage of the uninstall: its label, its check mark and the label's text.
struct StepRow {
    int labelControl;
    int iconControl;
    UINT labelString;
};
const StepRow kStepRows[kRemovalRowCount] = {
    {IDC_STEPLABEL_FIRST + 0, IDC_STEPICON_FIRST + 0, IDS_REMOVE_BUILD},
    {IDC_STEPLABEL_FIRST + 1, IDC_STEPICON_FIRST + 1, IDS_REMOVE_ADDONS},
    {IDC_STEPLABEL_FIRST + 2, IDC_STEPICON_FIRST + 2, IDS_REMOVE_PRINTERS},
    {IDC_STEPLABEL_FIRST + 3, IDC_STEPICON_FIRST + 3, IDS_REMOVE_DRIVERS},
    {IDC_STEPLABEL_FIRST + 4, IDC_STEPICON_FIRST + 4, IDS_REMOVE_MONITORS},
    {IDC_STEPLABEL_FIRST + 5, IDC_STEPICON_FIRST + 5, IDS_REMOVE_PROCESSORS},
    {IDC_STEPLABEL_FIRST + 6, IDC_STEPICON_FIRST + 6, IDS_REMOVE_SERVICES},
    {IDC_STEPLABEL_FIRST + 7, IDC_STEPICON_FIRST + 7, IDS_REMOVE_REGISTRY},
    {IDC_STEPLABEL_FIRST + 8, IDC_STEPICON_FIRST + 8, IDS_REMOVE_FILES},
};

// The images of bitmap 119, 16 pixels each, magenta transparent.
const int kImageSize = 16;
const int kImageGrow = 10;
const COLORREF kImageMask = RGB(255, 0, 255);
int ImageOf(RowLook look) {
    switch (look) {
        case kRowDone:
            return 1;  // green check mark
        case kRowCurrent:
            return 2;  // red check mark
        default:
            return 0;  // grey check mark
    }
}

const int kMessageSize = 1024;
}  // namespace

CRemoveDlg::CRemoveDlg()
    : database(NULL),
      normalFont(NULL),
      boldFont(NULL),
      savedCursor(NULL),
      waitCursor(NULL),
      stepImages(NULL),
      log(&noLog),
      pagePrompts(*this),
      prompts(&pagePrompts) {}

CRemoveDlg::~CRemoveDlg() {
    if (boldFont && boldFont != normalFont) DeleteObject(boldFont);
    if (stepImages) ImageList_Destroy(stepImages);
    if (savedCursor) SetCursor(savedCursor);
}

INT_PTR CRemoveDlg::DialogProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_SHOWWINDOW:
            if (wParam) RefreshSteps(true);
            return FALSE;
        case WM_PAINT:
            OnPaint();
            return FALSE;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_COMMAND:
            if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL && LOWORD(wParam) != IDC_EXIT)
                return FALSE;
            EndDialog(hwnd, 1);
            return TRUE;
        case WM_TIMER:
            OnRemovalTimer(wParam);
            return FALSE;
    }
    return FALSE;
}

BOOL CRemoveDlg::OnInitDialog() {
    strings.hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    if (stepImages) ImageList_Destroy(stepImages);
    stepImages = ImageList_LoadImageA(strings.hInstance, MAKEINTRESOURCEA(IDB_CHECKMARKS), kImageSize,
                                      kImageGrow, kImageMask, IMAGE_BITMAP, 0);
    // The template holds placeholders; the labels always come from the string table.
    for (const StepRow& row : kStepRows) strings.SetDlgItemTextId(hwnd, row.labelControl, row.labelString);

    normalFont = boldFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    LOGFONTA font;
    if (normalFont && GetObjectA(normalFont, sizeof font, &font)) {
        font.lfWeight = FW_BOLD;
        font.lfQuality = PROOF_QUALITY;
        HFONT bold = CreateFontIndirectA(&font);
        // Without a bold copy the current row is told by its red check mark alone.
        if (bold) boldFont = bold;
    }
    return TRUE;
}

void CRemoveDlg::StartRemoval() {
    // A second press while the removal runs would start it over in the middle.
    EnableWindow(GetDlgItem(GetParent(hwnd), IDC_UNINSTALL), FALSE);
    if (!database) {
        PostRemovalDone();
        return;
    }
    steps.reset();
    context.emplace(*database, *prompts, *log);
    context->window = hwnd;
    context->module = strings.hInstance;
    BuildSearchLists(*context);
    steps.emplace(*context, *this);
    sequence.Start(*steps, os.GetFamily(), os.GetKind());
    SetTimer(hwnd, kRemovalTimerId, kRemovalTimerPeriod, NULL);
}

BOOL CRemoveDlg::RefreshSteps(bool reset) {
    sequence.BeginRefresh(reset);
    BOOL result = RedrawRows();
    sequence.EndRefresh();
    return result;
}

BOOL CRemoveDlg::RedrawRows() {
    // Painted at once, the image frames and labels included: the next state may block the window
    // until it returns, and a frame painted later would already show the next row as current.
    return RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CRemoveDlg::OnPaint() {
    for (int row = 0; row < kRemovalRowCount; ++row) {
        HWND icon = GetDlgItem(hwnd, kStepRows[row].iconControl);
        HDC dc = GetDC(icon);
        PaintStepRow(row, dc);
        if (dc) ReleaseDC(icon, dc);
    }
}

// The check marks are drawn into the frames' own paint; a hollow brush keeps the frame from
// painting over them.
INT_PTR CRemoveDlg::OnCtlColorStatic(HDC dc, HWND control) {
    for (int row = 0; row < kRemovalRowCount; ++row) {
        if (GetDlgItem(hwnd, kStepRows[row].iconControl) != control) continue;
        PaintStepRow(row, dc);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    return FALSE;
}

void CRemoveDlg::PaintStepRow(int row, HDC dc) {
    RowLook look = sequence.Look(row);
    HFONT font = look == kRowCurrent ? boldFont : normalFont;
    SendDlgItemMessageA(hwnd, kStepRows[row].labelControl, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (stepImages && dc) ImageList_Draw(stepImages, ImageOf(look), dc, 0, 0, ILD_NORMAL);
}

void CRemoveDlg::OnRemovalTimer(WPARAM timerId) {
    if (steps) sequence.Tick(*steps, static_cast<unsigned>(timerId));
}

// The main dialog ends on the close request; UM_REMOVALDONE follows for a main dialog that stays.
void CRemoveDlg::PostRemovalDone() {
    HWND parent = GetParent(hwnd);
    PostMessageA(parent, WM_CLOSE, 0, 0);
    PostMessageA(parent, UM_REMOVALDONE, 0, 0);
}

void CRemoveDlg::PageSteps::Repaint() {
    page.RedrawRows();
}

void CRemoveDlg::PageSteps::TakeWaitCursor() {
    page.waitCursor = LoadCursorA(NULL, IDC_WAIT);
    page.savedCursor = SetCursor(page.waitCursor);
}

void CRemoveDlg::PageSteps::ShowWaitCursor() {
    if (page.waitCursor) SetCursor(page.waitCursor);
}

// Program Manager may have taken the foreground during the shortcut step.
void CRemoveDlg::PageSteps::BringForward() {
    ShowWindow(page.hwnd, SW_SHOWDEFAULT);
    BringWindowToTop(page.hwnd);
    SetForegroundWindow(page.hwnd);
}

void CRemoveDlg::PageSteps::StopTicks() {
    KillTimer(page.hwnd, kRemovalTimerId);
    if (page.savedCursor) SetCursor(page.savedCursor);
}

void CRemoveDlg::PageSteps::Finish() {
    page.PostRemovalDone();
}

int CRemoveDlg::PagePrompts::Show(UINT textId, UINT flags, const char* argument) {
    // Text and caption are two slots of the ring: both stay valid for the call.
    const char* text = page.strings.GetText(textId);
    const char* caption = page.strings.GetText(IDS_CAPTION);
    char message[kMessageSize];
    if (argument)
        FormatPrompt(message, sizeof message, text, argument);
    else
        CopyText(message, sizeof message, text);
    int answer = MessageBoxA(page.hwnd, message, caption, flags);
    if (page.context) page.context->Record("removal", "answer", message, kOutcomeDone, ButtonName(answer));
    return answer;
}
