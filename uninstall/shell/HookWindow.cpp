#include "HookWindow.h"

HWND CreateHookWindow(HINSTANCE instance, HWND parent) {
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, parent, NULL, instance, NULL);
    if (!window) window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, instance, NULL);
    return window;
}
