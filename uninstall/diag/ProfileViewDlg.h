#pragma once
// The uninstall-profile viewer (template 116), a quality-assurance window: for the printers selected
// on the selection page it lists, one section at a time, what the removal would take. Every refresh
// recomputes the removal set from the current selection; the viewer removes nothing.
#include "shell/DialogBase.h"
#include "shell/ListViewCtl.h"

class UninstallDatabase;
class TextList;
struct ViewSectionLayout;

class CProfileViewDlg : public CDialogBase {
public:
    // selectedCount: the printers selected on the page; the single-profile view needs exactly one.
    CProfileViewDlg(UninstallDatabase* database, int selectedCount);

    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Recomputes the removal set and refills the list with the chosen profile's current section.
    void RefreshProfileView();

    CListViewCtl& List() { return list; }

private:
    BOOL OnInitDialog();
    BOOL OnCommand(WORD id, WORD code);
    void InsertColumns(const ViewSectionLayout& layout);
    void WidenToHeaders(const ViewSectionLayout& layout);
    void AddEntries(const ViewSectionLayout& layout, const TextList& entries);
    void AddDirectories();
    void AddRow(const char* const* cells, int count);

    UninstallDatabase* database;
    int selectedCount;
    CListViewCtl list;
    int singleProfile;
    int section;
};
