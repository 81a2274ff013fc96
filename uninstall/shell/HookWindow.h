#pragma once
// The window a run without a window hands to the hook DLLs, which expect a window of the tool.
#include <windows.h>

// Creates a window that is never shown: a message-only window (a child of parent, HWND_MESSAGE)
// where the system has them, which is no top-level window either. Windows 95/98/Me and NT 4 have
// none and refuse that parent; there the window is a top-level one that is never made visible, as
// a null window would be no valid window for the hooks. Null only when neither can be created.
HWND CreateHookWindow(HINSTANCE instance, HWND parent = HWND_MESSAGE);

// Waits milliseconds while answering what is sent to this thread's windows. Where the hooks' window
// is a top-level one, a program that sends to every top-level window (a DDE conversation with
// Program Manager, a settings broadcast; the add-on uninstaller may do either) waits until it has
// answered; a plain Sleep would hold that program up until the wait for it ran out.
void WaitAnsweringMessages(DWORD milliseconds);
