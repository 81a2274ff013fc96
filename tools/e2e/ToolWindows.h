#pragma once
// Finding and reading the windows of the programs under test, by process, class, title and control
// id, from outside: nothing here needs the programs' cooperation.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

extern const char kMainClass[];

struct ToolWindows {
    std::set<DWORD> pids;  // processes started by the robot

    std::vector<HWND> TopLevel(bool visibleOnly = true) const;
    // Visible top-level window whose title or class equals text.
    HWND Find(const std::string& text) const;
    HWND Main() const;
    // A visible message box of the programs (a "#32770" made of a text, an optional icon and buttons).
    HWND MessageBox() const;
    // A visible popup menu window ("#32768").
    HWND PopupMenu() const;
    // The dialog that keyboard commands go to: an open message box, else another visible dialog in
    // front of the main window (the loading dialog), else the main window.
    HWND Foremost() const;

    // The screen as text, for failure reports: every window of the programs with its controls.
    std::string Describe() const;
};

std::string WindowText(HWND h);
std::string ClassOf(HWND h);
// First descendant (any depth) with that control id.
HWND FindDescendant(HWND parent, int id);
// The control id a scenario names: "Uninstall", "Exit", "OK", "Cancel", "Yes", "No" or a number.
int ControlId(const std::string& name);
