#pragma once
// The loading window: a small progress dialog (template 115) that the main dialog runs modally
// before it shows itself. A timer walks the loading sequence: administrator check, closing the
// maker's other programs, spooler restart, script search and loading, the Vizora rule and the
// printer census. Ends with 1 when the sequence completed, 0 when it was stopped.
#include <windows.h>

#include "shell/DialogBase.h"
#include "shell/LoadingWork.h"
#include "shell/StringRing.h"

class CLoadingDlg : public CDialogBase, public LoadingWork {
public:
    CLoadingDlg();

    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL OnInitDialog();
    void OnShowWindow(BOOL shown);
    void OnStopRequest();
    void End(int result);
    int ShowMessage(UINT textId, UINT flags);
    LRESULT SendProgress(UINT message, WPARAM wParam, LPARAM lParam);

    void WarnNoScripts() override;
    void StepProgress() override;
    void SetProgressPosition(int position) override;
    void SetProgressStep(int stepSize) override;
    void Fail(int stringId) override;
    void Finish(int result) override;
    void SpoolerNotResponding() override;

    int step;
    CStringRing strings;
    bool ended;
};
