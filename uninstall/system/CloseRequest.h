#pragma once
// Asking a window of another program to close.
#include <windows.h>

// How long a window may take to answer the close request before the tool goes on without it.
const UINT kCloseRequestTimeoutMs = 5000;

// Sends WM_CLOSE with lParam to window and waits for the answer at most timeoutMs, or not at all when
// the window's thread does not respond: a program that hangs, or asks its user something before it
// closes, must not hold up a run that nobody watches. True when the window answered in time.
bool RequestClose(HWND window, LPARAM lParam, UINT timeoutMs = kCloseRequestTimeoutMs);
