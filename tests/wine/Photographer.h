#pragma once
// The show programs' side of tools/photograph-dialogs.sh: a view is on screen once VIEW.ready (holding
// the display name) exists in the shots folder, and has been photographed once VIEW.done appears.
#include <windows.h>

#include <string>

// Keeps the windows painting while the program waits.
inline void PumpMessagesFor(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

inline void Photograph(const std::string& folder, const std::string& view) {
    PumpMessagesFor(500);
    char display[64] = "";
    GetEnvironmentVariableA("DISPLAY", display, sizeof display);
    const std::string ready = folder + "\\" + view + ".ready", done = folder + "\\" + view + ".done";
    HANDLE f = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, display, lstrlenA(display), &written, nullptr);
    CloseHandle(f);
    for (int i = 0; i < 1000 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        PumpMessagesFor(20);
}
