#pragma once
// The About box (template 114): the tool's identity and the facts support staff ask for, in a
// two-column list without header: file version, build stamp, Windows family and memory figures.
#include <cstddef>

#include "shell/DialogBase.h"
#include "shell/ListViewCtl.h"
#include "shell/StringRing.h"

class CAboutDlg : public CDialogBase {
public:
    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL OnInitDialog();
    void InsertColumns();
    void AddRow(const char* label, const char* value);
    void AddMemoryRows();

    CListViewCtl list;
    CStringRing strings;
};

// The fixed file version of a file's version resource as "1.00.00.01". Returns 1 on success; 0, with
// an empty out, when the file has no version resource.
int FormatFileVersion(const char* path, char* out, size_t capacity);
