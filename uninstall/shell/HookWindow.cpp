#include "HookWindow.h"

namespace {
// How often a waiting run looks for messages sent to it.
const DWORD kAnswerEveryMs = 10;
}  // namespace

HWND CreateHookWindow(HINSTANCE instance, HWND parent) {
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, parent, NULL, instance, NULL);
    if (!window) window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, instance, NULL);
    return window;
}

void WaitAnsweringMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        // PeekMessage also delivers the messages other threads send; posted ones are dispatched.
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        Sleep(milliseconds - elapsed < kAnswerEveryMs ? milliseconds - elapsed : kAnswerEveryMs);
    }
}
