#pragma once
// Loader of string-table texts into four rotating slots.
#include <windows.h>

// A returned text stays valid until four further texts have been loaded through the same object, so
// a caller may hold up to four at a time (a message box's text and caption, for example).
class CStringRing {
public:
    static const int kSlotCount = 4;
    static const int kSlotSize = 512;

    explicit CStringRing(HINSTANCE instance = NULL);

    // Loads string id into the next slot; a missing string gives an empty text.
    const char* LoadText(UINT id);
    // LoadText, then resolves an "@file@section@key" entry from that INI file; "\n" (backslash, n)
    // in an INI value becomes a line break.
    const char* GetText(UINT id);
    // GetText(id) into the window's text when it is not empty; returns SetWindowTextA's result or 0.
    BOOL SetWindowTextId(HWND window, UINT id);
    BOOL SetDlgItemTextId(HWND dialog, int controlId, UINT id);

    // Module whose string table is read; dialogs set it from GWLP_HINSTANCE at initialisation.
    HINSTANCE hInstance;

private:
    char* NextSlot();
    char* LoadSlot(UINT id);
    const char* ReadIndirection(const char* file, const char* section, const char* key);

    int current;
    char slots[kSlotCount][kSlotSize];
};
