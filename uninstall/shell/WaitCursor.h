#pragma once
// The hourglass for the length of a scope; the previous cursor comes back when the scope is left,
// also by an exception.
#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() : saved(SetCursor(LoadCursorA(NULL, MAKEINTRESOURCEA(32514)))) {}  // IDC_WAIT
    ~CWaitCursor() { SetCursor(saved); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR saved;
};
