#pragma once
// The launcher's configuration: its own string table, read as ANSI text in the machine's code page.
#include <windows.h>

#include "LauncherText.h"

const int kConfigSwitchSize = 16;
const int kConfigTextSize = MAX_PATH;

// The module whose string table is read (the launcher's instance handle).
void SetConfigInstance(HINSTANCE instance);

// Loads the string into a 16-character buffer (longer text is cut to 15) and parses it; a missing
// string gives 0.
unsigned GetConfigSwitch(UINT id);

// Loads the string into text (kConfigTextSize bytes); a missing string gives "".
void GetConfigText(UINT id, char* text);
