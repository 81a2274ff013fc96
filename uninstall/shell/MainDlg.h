#pragma once
// The program's main window (template "IDD_MAIN_NOBMP"): it runs the loading dialog before it shows
// itself, then hosts the selection page and the removal page over one placeholder, with the
// Uninstall and Exit buttons below them. Flow: loading, selection, removal, exit.
#include "script/UninstallDatabase.h"
#include "shell/DialogBase.h"
#include "shell/LoadingDlg.h"
#include "shell/SelectDlg.h"
#include "shell/StringRing.h"
#include "spooler/RemoveDlg.h"

class CCmdSwitches;

class CMainDlg : public CDialogBase {
public:
    CMainDlg();

    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    UninstallDatabase& Database() { return database; }
    // The action log of the loading and the removal; null records nothing.
    void SetLog(ActionLog* log) {
        loading.SetLog(log);
        remove.SetLog(log);
    }
    CSelectDlg& SelectPage() { return select; }
    CRemoveDlg& RemovePage() { return remove; }

protected:
    // Runs the loading dialog modally and returns its result (1 completed). Tests replace these
    // two to fill the database themselves and to choose the switches.
    virtual INT_PTR RunLoading();
    virtual const CCmdSwitches& LoadingSwitches() const;

private:
    BOOL OnInitDialog();
    BOOL OnCommand(WORD id);
    void AdjustSystemMenu();
    void CreatePages();
    static void ClipSiblings(HWND page);
    void RunLoadingFlow();
    void ShowAfterLoading(const CCmdSwitches& switches);
    void ShowAbout();
    void OnUninstall();
    void StartRemoval();
    void OnRemovalDone();
    void ShowPage(CDialogBase& page, bool show);
    void EnableControl(int id, bool enable);

    UninstallDatabase database;
    CLoadingDlg loading;
    CSelectDlg select;
    CRemoveDlg remove;
    CStringRing strings;
};
