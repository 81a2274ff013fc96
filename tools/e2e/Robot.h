#pragma once
// The robot: runs a scenario's [steps] against the real programs, through windows and messages
// only. Every wait polls an observable condition with a time-out; the first unmet step ends the run
// with its reason and the state of the screen.
#include <windows.h>

#include <string>
#include <vector>

#include "MachineVars.h"
#include "Scenario.h"
#include "ToolWindows.h"

class CRobot {
public:
    CRobot(const Scenario& sc, const std::string& shotDir);
    ~CRobot();
    // 0 when every step held, 1 on the first failure (reported on stdout).
    int Run();
    // Starts the program once with args and waits for it: 0 when it ended with 0 and never had a
    // top-level window, else 1 with the reason on stdout (the runner's dry-run report).
    int RunWindowless(const std::string& args);

private:
    bool Step(const ScenarioEntry& e, std::string& why);
    bool Start(const std::string& args, std::string& why);
    // Waits for the newest started program to end with code ("any" for every code). With windowless
    // it fails when a top-level window of that program appears while it runs.
    bool ExpectExit(const std::string& code, std::string& why, bool windowless = false);
    bool ExpectBox(const std::string& text, std::string& why);
    bool Answer(const std::string& button, std::string& why);
    bool Select(const std::string& names, std::string& why);
    bool Menu(const std::string& command, std::string& why);
    bool ContextMenu(const std::string& keys, std::string& why);
    bool Press(const std::string& button, std::string& why);
    bool CheckList(const std::string& key, const std::string& value, std::string& why);
    bool CheckControl(const std::string& key, const std::string& value, std::string& why);
    bool CheckMarksStay(const std::string& value, std::string& why);
    std::string CheckMarks() const;
    static bool CopyScreen(const RECT& r, std::vector<DWORD>& pixels);
    bool Screenshot(const std::string& name, std::string& why);
    bool FileHas(const std::string& value, std::string& why);
    bool JsonHas(const std::string& value, std::string& why);
    bool UseWindow(const std::string& name, std::string& why);
    bool SetWindowsVersion(const std::string& version, std::string& why);
    // The window that list, control and button steps act on: the one "window =" chose while it
    // exists, else the main window.
    HWND Target() const;
    HWND List() const;
    void KillStarted();

    const Scenario& sc_;
    std::string shotDir_;
    VarList vars_;
    DWORD waitMs_;   // windows appearing and programs ending (loading takes several seconds)
    DWORD checkMs_;  // states that follow at once from the last action
    ToolWindows tool_;
    HWND target_ = nullptr;                     // chosen by "window ="; null for the main window
    std::vector<PROCESS_INFORMATION> started_;  // not yet reaped by expect-exit, newest last
};

// Polls cond every 20 ms until it holds or ms have passed; true when it held.
template <typename Cond>
bool WaitUntil(Cond cond, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (cond()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
}
