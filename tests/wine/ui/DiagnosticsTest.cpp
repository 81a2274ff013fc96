// What the end-to-end scenarios of the About box and the profile viewer cannot reach: a file without
// version resource, a single-profile box checked while disabled, the cursor after an exception.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "UiFixture.h"
#include "diag/AboutDlg.h"
#include "diag/ProfileViewDlg.h"
#include "script/UninstallDatabase.h"
#include "shell/WaitCursor.h"

namespace {
const char kScript[] =
    "[UnPrinterMfgs]\nQuellan,MFG,1\n"
    "[UnPrinterDrivers]\nQuellan Laser Driver,QLSR,1\nQuellan Ink Driver,QINK,1\n"
    "[MFG.Files]\nqlmfg.dll\n"
    "[QLSR.Files]\nqlsr.dll\n"
    "[QINK.Files]\nqink.dll\n";

using Cells = std::vector<std::string>;
}  // namespace

TEST_CASE("the file version comes from the version resource, and is empty without one") {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(NULL, self, sizeof self);
    char plain[MAX_PATH] = "";
    GetTempPathA(sizeof plain, plain);
    lstrcatA(plain, "no-version.txt");
    HANDLE file = CreateFileA(plain, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, "text", 4, &written, NULL);
    CloseHandle(file);

    const struct {
        const char* path;
        int result;
        const char* text;
    } rows[] = {{self, 1, "1.00.00.01"}, {plain, 0, ""}, {"C:\\no\\such\\program.exe", 0, ""}};
    for (const auto& row : rows) {
        CAPTURE(row.path);
        char text[32] = "stale";
        CHECK(FormatFileVersion(row.path, text, sizeof text) == row.result);
        CHECK(std::string(text) == row.text);
    }
    DeleteFileA(plain);
}

TEST_CASE("with two printers selected a checked single-profile box changes nothing") {
    InitCommonControls();
    UninstallDatabase db(3);
    REQUIRE(db.LoadScriptText(kScript, sizeof kScript - 1, "C:\\WINDOWS\\SYSTEM32\\Qunz__01.unm"));
    REQUIRE(db.BuildCandidates(false));
    db.Printers().push_back(MakePrinter("Quellan Laser 5", "Quellan Laser Driver"));
    db.Printers().push_back(MakePrinter("Quellan Ink 2", "Quellan Ink Driver"));
    CProfileViewDlg viewer(&db, 2);
    REQUIRE(CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_PROFILEVIEW), NULL,
                               CommonDialogProc, reinterpret_cast<LPARAM>(&viewer)));
    CHECK_FALSE(IsWindowEnabled(GetDlgItem(viewer.hwnd, IDC_SINGLEPROFILE)));

    CheckDlgButton(viewer.hwnd, IDC_SINGLEPROFILE, BST_CHECKED);
    SendMessageA(viewer.hwnd, WM_COMMAND, MAKEWPARAM(IDC_SINGLEPROFILE, BN_CLICKED), 0);
    SendMessageA(viewer.hwnd, WM_COMMAND, MAKEWPARAM(IDC_SECTION_FILES, BN_CLICKED), 0);
    CHECK(WindowTextOf(viewer.hwnd) == "Extra Info - Multiple Printers");
    // The removal set, not one printer's profile; no printer of the maker stays, so the scripts go too.
    const Cells files = {"qink.dll", "qlmfg.dll", "qlsr.dll", "Qunz__01.unm"};
    for (size_t i = 0; i < files.size(); ++i)
        CHECK(RowText(viewer.List().hwnd, static_cast<int>(i), 0) == files[i]);
    DestroyWindow(viewer.hwnd);
}

TEST_CASE("the wait cursor comes back also when the work is left by an exception") {
    HCURSOR arrow = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    SetCursor(arrow);
    try {
        CWaitCursor wait;
        CHECK(GetCursor() == LoadCursorA(NULL, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
        throw 1;
    } catch (int) {
    }
    CHECK(GetCursor() == arrow);
}
