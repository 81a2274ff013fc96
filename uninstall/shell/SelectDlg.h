#pragma once
// The printer selection page: a child page of the main dialog (template "IDD_SELECT") that lists the
// offered printers of the census, offers four views and a context menu, and writes the user's choice
// back into the printer records' excluded flags.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "shell/DialogBase.h"
#include "shell/ListViewCtl.h"
#include "shell/OSInfo.h"
#include "shell/StringRing.h"

class UninstallDatabase;
struct InstalledPrinter;

// The HKEY_CURRENT_USER key whose non-empty default value offers "Other Details..." in the menu.
extern const char kSelectDetailsKey[];

class CSelectDlg : public CDialogBase {
public:
    CSelectDlg();
    ~CSelectDlg() override;

    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetDatabase(UninstallDatabase* db) { database = db; }
    // Rebuilds the rows from the database; leaves the list view, the focus on the list and the
    // Uninstall button disabled when a row was listed.
    void Refill();
    // Writes the rows' selection into the printer records; rows whose name no record has change
    // nothing, records without a row keep their flag.
    void CollectSelection();
    // The page's own show state. Asked of the window: the main dialog shows pages with
    // SetWindowPos, which sends no WM_SHOWWINDOW, so a flag kept from that message would go stale.
    int IsVisible() const;
    int SelectedCount() const { return selectedCount; }

    // The context menu as it would open now (loaded on first use); null when menu 117 is missing.
    HMENU BuildContextMenu();
    CListViewCtl& List() { return list; }

private:
    BOOL OnInitDialog();
    void OnSize(int width);
    void OnNotify(const NMHDR* header);
    BOOL OnCommand(WORD id);
    void InsertColumns();
    void LoadImageLists();
    void AddRow(const InstalledPrinter& printer, int position);
    void ShowContextMenu(POINT at);
    void ShowView(int view);
    void SelectAll();
    void ShowProfileViewer();
    bool HasSelection();
    void SubclassList();
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

    UninstallDatabase* database;
    CListViewCtl list;
    HIMAGELIST smallImages;
    HIMAGELIST largeImages;
    HMENU menu;
    HMENU popup;
    COSInfo os;
    int selectedCount;
    CStringRing strings;
    // Ctrl+A for Select All: the main dialog runs modally, so the list view translates it itself.
    HACCEL accelerators;
    WNDPROC listProc;
};
