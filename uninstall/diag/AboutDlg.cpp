#include "AboutDlg.h"

#include <vector>

#include "diag/AboutFacts.h"
#include "diag/BuildStamp.h"
#include "res/resource.h"
#include "script/BoundedText.h"
#include "script/FileSpec.h"
#include "script/Locations.h"
#include "shell/OSInfo.h"
#include "shell/WindowHelpers.h"

namespace {
const int kColumnWidth = 200;
const size_t kValueCapacity = 64;

struct MemoryFigures {
    unsigned long long availPhys;
    unsigned long long availVirtual;
    unsigned long long totalPageFile;
};

// In a 32-bit program GlobalMemoryStatus caps its figures at 2 GB, and beyond 4 GB reports -1.
// GlobalMemoryStatusEx has the full figures but is missing from kernel32 on Windows 9x and NT 4,
// which have only the old call.
MemoryFigures ReadMemoryFigures() {
    typedef BOOL(WINAPI * MemoryStatusEx)(MEMORYSTATUSEX*);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    MemoryStatusEx statusEx = kernel ? reinterpret_cast<MemoryStatusEx>(reinterpret_cast<void*>(
                                           GetProcAddress(kernel, "GlobalMemoryStatusEx")))
                                     : NULL;
    MEMORYSTATUSEX full = {};
    full.dwLength = sizeof full;
    if (statusEx && statusEx(&full)) return {full.ullAvailPhys, full.ullAvailVirtual, full.ullTotalPageFile};
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    return {status.dwAvailPhys, status.dwAvailVirtual, status.dwTotalPageFile};
}
}  // namespace

int FormatFileVersion(const char* path, char* out, size_t capacity) {
    CopyText(out, capacity, "");
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return 0;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path, 0, size, block.data())) return 0;
    VS_FIXEDFILEINFO* info = NULL;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    FormatVersionNumbers(info->dwFileVersionMS, info->dwFileVersionLS, out, capacity);
    return 1;
}

INT_PTR CAboutDlg::DialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDCANCEL:
                case IDC_EXIT:
                    EndDialog(hwnd, 1);
                    return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

BOOL CAboutDlg::OnInitDialog() {
    strings.hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    strings.SetWindowTextId(hwnd, IDS_ABOUT_TITLE);
    strings.SetDlgItemTextId(hwnd, IDC_LEGAL, IDS_LEGAL);
    list.Attach(GetDlgItem(hwnd, IDC_PRINTERLIST));
    InsertColumns();

    FileSpec program;
    program.ResolveLocation(kLocProgramFile);
    char version[kValueCapacity];
    FormatFileVersion(program.FullPath(), version, sizeof version);
    AddRow(strings.GetText(IDS_ABOUT_VERSION), version);
    AddRow(strings.GetText(IDS_ABOUT_BUILDSTAMP), BuildStamp());
    AddRow(strings.GetText(IDS_ABOUT_PLATFORM), PlatformName(COSInfo().GetFamily()));
    AddMemoryRows();

    CenterWindow(hwnd, NULL);
    list.SetColumnWidth(-1, LVSCW_AUTOSIZE_USEHEADER);
    return TRUE;
}

// The header is hidden; its texts only name the columns.
void CAboutDlg::InsertColumns() {
    list.InsertTextColumn(0, ".", kColumnWidth);
    list.InsertTextColumn(1, "..", kColumnWidth);
}

void CAboutDlg::AddRow(const char* label, const char* value) {
    int row = list.InsertItem(label, -1, -1, 0);
    if (row >= 0) list.SetItemText(value, row, 1);
}

void CAboutDlg::AddMemoryRows() {
    const MemoryFigures memory = ReadMemoryFigures();
    const struct {
        const char* label;
        unsigned long long bytes;
    } rows[] = {{"Free Physical RAM", memory.availPhys},
                {"Free Virtual RAM", memory.availVirtual},
                {"Swap File Size", memory.totalPageFile}};
    for (const auto& row : rows) {
        char value[kValueCapacity];
        FormatKilobytes(row.bytes, value, sizeof value);
        AddRow(row.label, value);
    }
}
