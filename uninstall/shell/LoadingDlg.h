#pragma once
// The loading window: a small progress dialog (template 115) that the main dialog runs modally
// before it shows itself. A timer walks the loading sequence: administrator check, closing the
// maker's other programs, spooler restart, script search and loading, the Vizora rule and the
// printer census. Ends with 1 when the sequence completed, 0 when it was stopped.
#include <windows.h>

#include <vector>

#include "script/InstalledPrinter.h"
#include "script/TextList.h"
#include "shell/CmdSwitches.h"
#include "shell/DialogBase.h"
#include "shell/LoadingSequence.h"
#include "shell/OSInfo.h"
#include "shell/StringRing.h"

class UninstallDatabase;

class CLoadingDlg : public CDialogBase, private LoadingActions {
public:
    CLoadingDlg();

    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // The main dialog points the loading dialog at its database before running it.
    void SetDatabase(UninstallDatabase* db) { database = db; }
    const CCmdSwitches& Switches() const { return switches; }
    const TextList& Scripts() const { return scripts; }

    // The census into list, with this dialog as the owner of the spooler message.
    int BuildListOfInstalledPrinters(std::vector<InstalledPrinter>& list);

private:
    BOOL OnInitDialog();
    void OnShowWindow(BOOL shown);
    void OnStopRequest();
    void End(int result);
    int ShowMessage(UINT textId, UINT flags);
    LRESULT SendProgress(UINT message, WPARAM wParam, LPARAM lParam);

    int IsAdministrator() override;
    bool IsNT() override;
    void CloseRelatedApplications() override;
    void StopSpooler() override;
    int StartSpooler() override;
    int FindScripts() override;
    void WarnNoScripts() override;
    void LoadScripts() override;
    void ApplyVizoraRule() override;
    int TakeCensus() override;
    void StepProgress() override;
    void SetProgressPosition(int position) override;
    void SetProgressStep(int stepSize) override;
    void Fail(int stringId) override;
    void Finish(int result) override;

    UninstallDatabase* database;
    CCmdSwitches switches;
    int step;
    COSInfo os;
    TextList scripts;
    CStringRing strings;
    bool ended;
};

// Asks the maker's other running programs to close: each of the known window classes in a fixed
// order, then the registered broadcast message.
void CloseRelatedApplications();
