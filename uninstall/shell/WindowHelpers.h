#pragma once
// Placement and icon helpers shared by every dialog.
#include <windows.h>

// Centres window over `over` (the desktop when null); an edge that would lie left of or above 0 is
// put at 0. Returns SetWindowPos's result, or FALSE when window is null.
BOOL CenterWindow(HWND window, HWND over);
// Sets icon iconId of the dialog's own module as its ICON_BIG (1) or ICON_SMALL (0) icon; returns
// the WM_SETICON result (the previous icon).
LRESULT SetDialogIcon(HWND dialog, int iconId, WPARAM which);
// Moves page (a child of parent) onto the rectangle of the placeholder control, without repainting.
BOOL PlacePageOverControl(HWND page, HWND placeholder, HWND parent);
