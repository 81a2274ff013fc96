#include "ProfileViewDlg.h"

#include "diag/ProfileView.h"
#include "res/resource.h"
#include "script/FileSpec.h"
#include "script/Locations.h"
#include "script/UninstallDatabase.h"
#include "shell/WaitCursor.h"
#include "shell/WindowHelpers.h"

namespace {
const int kColumnWidth = 200;

// The section buttons and the sections they show; 1108 between them is the list.
const struct {
    int control;
    int section;
} kSectionButtons[] = {
    {IDC_SECTION_DELETEINI, kViewDeleteIni},
    {IDC_SECTION_DELETELOADRUN, kViewDeleteLoadRun},
    {IDC_SECTION_DRIVERS, kViewDrivers},
    {IDC_SECTION_FILES, kViewFiles},
    {IDC_SECTION_HOOKS, kViewHooks},
    {IDC_SECTION_MONITORS, kViewMonitors},
    {IDC_SECTION_REGISTRY, kViewRegistry},
    {IDC_SECTION_PRINTPROCESSORS, kViewPrintProcessors},
    {IDC_SECTION_SERVICES, kViewServices},
    {IDC_SECTION_SHORTCUTS, kViewShortcuts},
    {IDC_SECTION_UNSELFREGISTER, kViewUnSelfRegister},
    {IDC_SECTION_DIRECTORIES, kViewDirectories},
};

int SectionOfButton(int control) {
    for (const auto& button : kSectionButtons)
        if (button.control == control) return button.section;
    return 0;
}
}  // namespace

CProfileViewDlg::CProfileViewDlg(UninstallDatabase* db, int selected)
    : database(db), selectedCount(selected), singleProfile(0), section(kViewDeleteIni) {}

INT_PTR CProfileViewDlg::DialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
    }
    return FALSE;
}

BOOL CProfileViewDlg::OnInitDialog() {
    list.Attach(GetDlgItem(hwnd, IDC_PROFILELIST));
    CheckRadioButton(hwnd, IDC_SECTION_DELETEINI, IDC_SECTION_DIRECTORIES, IDC_SECTION_DELETEINI);
    RefreshProfileView();
    EnableWindow(GetDlgItem(hwnd, IDC_SINGLEPROFILE), selectedCount == 1 ? TRUE : FALSE);
    CenterWindow(hwnd, NULL);
    return TRUE;
}

BOOL CProfileViewDlg::OnCommand(WORD id, WORD code) {
    switch (id) {
        case IDOK:
        case IDCANCEL:
        case IDC_EXIT:
            EndDialog(hwnd, 1);
            return TRUE;
        case IDC_SINGLEPROFILE:
            singleProfile =
                (IsDlgButtonChecked(hwnd, IDC_SINGLEPROFILE) == BST_CHECKED && selectedCount == 1) ? 1 : 0;
            RefreshProfileView();
            return TRUE;
    }
    const int chosen = SectionOfButton(id);
    if (chosen == 0 || code != BN_CLICKED) return FALSE;
    section = chosen;
    RefreshProfileView();
    return TRUE;
}

void CProfileViewDlg::RefreshProfileView() {
    CWaitCursor wait;
    while (list.columnCount > 0)
        if (!list.DeleteColumn(list.columnCount - 1)) break;
    if (database) database->ComputeRemovalSet();
    list.DeleteAllItems();

    const ViewSectionLayout* layout = FindViewSection(section);
    if (!database || !layout) return;
    UninstallProfile found;
    char title[kViewTitleCapacity];
    const UninstallProfile& shown =
        ChooseViewedProfile(*database, singleProfile != 0, found, title, sizeof title);
    SetWindowTextA(hwnd, title);

    InsertColumns(*layout);
    if (layout->list < 0)
        AddDirectories();
    else
        AddEntries(*layout, shown.List(layout->list));
    list.SetColumnWidth(-1, LVSCW_AUTOSIZE_USEHEADER);
    WidenToHeaders(*layout);
}

// Wine's autosize makes a column whose rows are narrower than its header a little narrower than the
// header's text and margins, and the header is drawn cut ("Base K..."); such a column is widened to
// its header. Windows's autosize already fits the header, so this changes nothing there. The last
// column, which the autosize stretches to the list's edge, is stretched again to the new edge.
void CProfileViewDlg::WidenToHeaders(const ViewSectionLayout& layout) {
    const int margins = 6 * GetSystemMetrics(SM_CXEDGE) + 2;
    bool widened = false;
    for (int i = 0; i + 1 < layout.columnCount; ++i) {
        const int wanted = static_cast<int>(SendMessageA(list.hwnd, LVM_GETSTRINGWIDTHA, 0,
                                                         reinterpret_cast<LPARAM>(layout.columns[i]))) +
                           margins;
        if (SendMessageA(list.hwnd, LVM_GETCOLUMNWIDTH, i, 0) < wanted) {
            list.SetColumnWidth(i, wanted);
            widened = true;
        }
    }
    if (widened) list.SetColumnWidth(layout.columnCount - 1, LVSCW_AUTOSIZE_USEHEADER);
}

void CProfileViewDlg::InsertColumns(const ViewSectionLayout& layout) {
    for (int i = 0; i < layout.columnCount; ++i) list.InsertTextColumn(i, layout.columns[i], kColumnWidth);
}

void CProfileViewDlg::AddEntries(const ViewSectionLayout& layout, const TextList& entries) {
    if (entries.IsEmpty()) {
        const char* empty[] = {"(empty)"};
        AddRow(empty, 1);
        return;
    }
    for (const TextItem& entry : entries) {
        TextItem cells[kViewMaxColumns];
        SplitViewRow(layout, entry.Text(), cells);
        const char* texts[kViewMaxColumns];
        for (int i = 0; i < layout.columnCount; ++i) texts[i] = cells[i].Text();
        AddRow(texts, layout.columnCount);
    }
}

void CProfileViewDlg::AddDirectories() {
    for (int i = 0; i < kViewDirectoryCount; ++i) {
        FileSpec location;
        location.ResolveLocation(kViewDirectoryLocations[i]);
        const char* cells[] = {LocationLabel(kViewDirectoryLocations[i]), location.DirectoryPath()};
        AddRow(cells, 2);
    }
}

void CProfileViewDlg::AddRow(const char* const* cells, int count) {
    const int row = list.InsertItem(cells[0], -1, -1, 0);
    if (row < 0) return;
    for (int i = 1; i < count; ++i) list.SetItemText(cells[i], row, i);
}
