#pragma once
// The removal page: a child page of the main dialog (template "IDD_REMOVE") that lists the nine
// stages of the uninstall, each with a check mark that is grey while pending, red while it runs
// and green when done, and runs the removal sequence on a 200 ms timer for the printers chosen on
// the selection page.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <optional>

#include "shell/DialogBase.h"
#include "shell/OSInfo.h"
#include "shell/StringRing.h"
#include "spooler/RemovalContext.h"
#include "spooler/RemovalSequence.h"
#include "spooler/RemovalSteps.h"

class UninstallDatabase;

class CRemoveDlg : public CDialogBase {
public:
    CRemoveDlg();
    ~CRemoveDlg() override;

    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetDatabase(UninstallDatabase* db) { database = db; }
    // Starts the removal for the current excluded flags. When it has finished the page posts its
    // parent WM_CLOSE and then UM_REMOVALDONE.
    void StartRemoval();
    // Repaints the rows now: reset shows them all pending; otherwise the current row turns red and
    // the next one becomes current for a repaint that comes before the next refresh.
    BOOL RefreshSteps(bool reset);
    // The questions and notices of the steps; message boxes owned by the page unless a test gives
    // answers of its own.
    void SetPrompts(RemovalPrompts* answers) { prompts = answers ? answers : &pagePrompts; }
    // Where the steps record what they did, and the page the answers given; null records nothing.
    void SetLog(ActionLog* actions) { log = actions ? actions : &noLog; }

    const RemovalSequence& Sequence() const { return sequence; }

private:
    // The page's part of the removal: the window, the cursor and the end.
    class PageSteps : public RemovalSteps {
    public:
        PageSteps(RemovalContext& context, CRemoveDlg& owner) : RemovalSteps(context), page(owner) {}
        void Repaint() override;
        void TakeWaitCursor() override;
        void ShowWaitCursor() override;
        void BringForward() override;
        void StopTicks() override;
        void Finish() override;

    private:
        CRemoveDlg& page;
    };

    class PagePrompts : public RemovalPrompts {
    public:
        explicit PagePrompts(CRemoveDlg& owner) : page(owner) {}
        int Show(UINT textId, UINT flags, const char* argument) override;

    private:
        CRemoveDlg& page;
    };

    BOOL OnInitDialog();
    void OnPaint();
    INT_PTR OnCtlColorStatic(HDC dc, HWND control);
    void OnRemovalTimer(WPARAM timerId);
    void PaintStepRow(int row, HDC dc);
    BOOL RedrawRows();
    void PostRemovalDone();

    UninstallDatabase* database;
    HFONT normalFont;
    HFONT boldFont;  // owned unless it is normalFont
    HCURSOR savedCursor;
    HCURSOR waitCursor;
    HIMAGELIST stepImages;
    COSInfo os;
    CStringRing strings;
    RemovalSequence sequence;
    NullActionLog noLog;
    ActionLog* log;
    PagePrompts pagePrompts;
    RemovalPrompts* prompts;
    // Made when the removal starts, once the database is known.
    std::optional<RemovalContext> context;
    std::optional<PageSteps> steps;
};
