#include "WindowHelpers.h"

// Each half is truncated towards zero before the difference is taken, as integer division does.
static int CenteredEdge(int overStart, int overSize, int windowSize) {
    int edge = overStart + (overSize / 2 - windowSize / 2);
    return edge < 0 ? 0 : edge;
}

BOOL CenterWindow(HWND window, HWND over) {
    if (!window) return FALSE;
    if (!over) over = GetDesktopWindow();
    RECT w, o;
    if (!GetWindowRect(window, &w) || !GetWindowRect(over, &o)) return FALSE;
    int left = CenteredEdge(o.left, o.right - o.left, w.right - w.left);
    int top = CenteredEdge(o.top, o.bottom - o.top, w.bottom - w.top);
    return SetWindowPos(window, NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SetDialogIcon(HWND dialog, int iconId, WPARAM which) {
    HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(iconId));
    return SendMessageA(dialog, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
}

BOOL PlacePageOverControl(HWND page, HWND placeholder, HWND parent) {
    RECT r;
    if (!GetWindowRect(placeholder, &r)) return FALSE;
    POINT first = {r.left, r.top};
    POINT second = {r.right, r.bottom};
    // In a mirrored parent the right screen edge is the leading one: it maps to the client's left.
    if (GetWindowLongPtrA(parent, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) {
        first.x = r.right;
        second.x = r.left;
    }
    ScreenToClient(parent, &first);
    ScreenToClient(parent, &second);
    return MoveWindow(page, first.x, first.y, second.x - first.x, second.y - first.y, FALSE);
}
