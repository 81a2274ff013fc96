#pragma once
// A main dialog whose loading is replaced: the test fills the database and picks the command line,
// and the dialog runs modeless so that every step can be checked between two messages.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "script/InstalledPrinter.h"
#include "shell/CmdSwitches.h"
#include "shell/MainDlg.h"

class CTestMainDlg : public CMainDlg {
public:
    CTestMainDlg(const std::vector<InstalledPrinter>& census, const char* commandLine,
                 INT_PTR loadingResult = 1)
        : printers(census), result(loadingResult) {
        switches.Parse(commandLine);
    }
    ~CTestMainDlg() override;

    // Creates the window; the loading flow runs inside.
    HWND Create();

    HWND Item(int id) const { return GetDlgItem(hwnd, id); }
    // Runs the removal's timer until the page has told the main dialog that it is done (at most
    // 20 s); false when it never finished.
    bool WaitForRemovalDone();
    HWND List() { return SelectPage().List().hwnd; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    std::string Text(int id) const;

protected:
    INT_PTR RunLoading() override;
    const CCmdSwitches& LoadingSwitches() const override { return switches; }

    // The removal's questions and notices, answered with OK instead of message boxes.
    struct Answers : RemovalPrompts {
        std::vector<UINT> shown;
        int Show(UINT textId, UINT, const char*) override {
            shown.push_back(textId);
            return IDOK;
        }
    } answers;

private:
    std::vector<InstalledPrinter> printers;
    INT_PTR result;
    CCmdSwitches switches;
};

InstalledPrinter MakePrinter(const char* name, const char* driver, const char* location = "",
                             const char* vizored = "", int isDefault = 0);
// A census with a foreign printer first and a deleted and a filtered-out printer between the rows.
std::vector<InstalledPrinter> MixedCensus();

// Dispatches what is queued for this thread (posted page messages, removal notices).
void Pump();
// The same through the dialog's keyboard handling, as its modal loop does it (Tab, Enter, Escape).
void PumpDialog(HWND dialog);
// The window's own show state, whatever its parent's.
bool Visible(HWND window);
std::string RowText(HWND list, int row, int column);
LPARAM RowData(HWND list, int row);
int RowImage(HWND list, int row);
bool RowSelected(HWND list, int row);
int SelectedRows(HWND list);
void SelectRow(HWND list, int row, bool selected);

// Texts of a list-view column header and of a window.
std::string ColumnText(HWND list, int column);
std::string WindowTextOf(HWND window);

// How a modal dialog opened by WhileModal ended.
enum ModalEnd { kNoDialog, kClosedByCommand, kForcedClosed };
// Sends message to window, which runs a modal dialog; once the dialog is up, look(dialog) runs inside
// its message loop and then the dialog gets the command close. A dialog that the command does not
// end is ended by force (kForcedClosed), so a fault cannot hang the test.
ModalEnd WhileModal(HWND window, UINT message, WPARAM wParam, const std::function<void(HWND)>& look,
                    WPARAM close = IDOK);
