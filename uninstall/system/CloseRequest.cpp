#include "CloseRequest.h"

bool RequestClose(HWND window, LPARAM lParam, UINT timeoutMs) {
    DWORD_PTR answer = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutA(window, WM_CLOSE, 0, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &answer))
        return true;
    // Win32s has no bounded send; there every program shares one message loop anyway.
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    SendMessageA(window, WM_CLOSE, 0, lParam);
    return true;
}
