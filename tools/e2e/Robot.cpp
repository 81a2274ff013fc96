#include "Robot.h"

#include <commctrl.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "RemoteList.h"
#include "StandardUserToken.h"

namespace {

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& i : items) out += (out.empty() ? "" : " | ") + i;
    return "\"" + out + "\"";
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out + "\"";
}

int MenuCommand(const std::string& name) {
    static const struct {
        const char* name;
        int id;
    } items[] = {{"Large Icons", 40004}, {"Small Icons", 40005},       {"List", 40006},
                 {"Details", 40007},     {"Remove Printer(s)", 40009}, {"Select All", 40010},
                 {"Other Details...", 40012}};
    for (const auto& i : items)
        if (EqualNoCase(name, i.name)) return i.id;
    return ControlId(name);
}

int ViewNumber(const std::string& name) {
    static const char* views[] = {"icon", "details", "small-icon", "list"};
    for (int i = 0; i < 4; ++i)
        if (EqualNoCase(name, views[i])) return i;
    return -1;
}

UINT KeyCode(const std::string& name) {
    static const struct {
        const char* name;
        UINT vk;
    } keys[] = {{"up", VK_UP},     {"down", VK_DOWN},     {"left", VK_LEFT},     {"right", VK_RIGHT},
                {"home", VK_HOME}, {"end", VK_END},       {"return", VK_RETURN}, {"enter", VK_RETURN},
                {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE}};
    for (const auto& k : keys)
        if (EqualNoCase(name, k.name)) return k.vk;
    return 0;
}

}  // namespace

CRobot::CRobot(const Scenario& sc, const std::string& shotDir) : sc_(sc), shotDir_(shotDir), vars_(MachineVars(sc)) {
    const ScenarioSection& m = sc.First("machine");
    waitMs_ = static_cast<DWORD>(std::atoi(m.Get("timeout", "60").c_str())) * 1000;
    checkMs_ = static_cast<DWORD>(std::atoi(m.Get("check-timeout", "5").c_str())) * 1000;
    // The action log the runner gives every start when it holds the removal to its report.
    char toolLog[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("QE2E_TOOL_LOG", toolLog, sizeof toolLog);
    if (length > 0 && length < sizeof toolLog) vars_.push_back({"TOOLLOG", toolLog});
}

CRobot::~CRobot() { KillStarted(); }

void CRobot::KillStarted() {
    for (auto& pi : started_) {
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 255);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    started_.clear();
}

int CRobot::Run() {
    DWORD t0 = GetTickCount();
    for (const auto* section : sc_.All("steps")) {
        for (const auto& e : section->entries) {
            DWORD t = GetTickCount();
            std::string why;
            bool ok = Step(e, why);
            std::printf("  %6.2fs  line %d: %s%s%s  (%lu ms)\n", (t - t0) / 1000.0, e.line, e.key.c_str(),
                        e.value.empty() ? "" : " = ", e.value.c_str(), GetTickCount() - t);
            if (!ok) {
                std::printf("FAIL %s line %d: %s = %s\n  %s\nScreen:\n%s", sc_.path.c_str(), e.line, e.key.c_str(),
                            e.value.c_str(), why.c_str(), tool_.Describe().c_str());
                std::string ignored;
                if (!shotDir_.empty()) Screenshot("failure", ignored);
                std::fflush(stdout);
                return 1;
            }
            std::fflush(stdout);
        }
    }
    return 0;
}

bool CRobot::Step(const ScenarioEntry& e, std::string& why) {
    std::string k = Lower(e.key);
    const std::string& v = e.value;
    if (k == "start") return Start(v, why);
    if (k == "expect-exit") return ExpectExit(v, why);
    if (k == "windowless-exit") return ExpectExit(v, why, true);
    if (k == "wait-window") {
        if (WaitUntil([&] { return tool_.Find(v) != nullptr; }, waitMs_)) return true;
        why = "no visible window with the title or class " + Quote(v);
        return false;
    }
    if (k == "wait-main") {
        if (WaitUntil([&] { return tool_.Main() && IsWindowVisible(tool_.Main()); }, waitMs_)) return true;
        why = "the main window did not appear";
        return false;
    }
    if (k == "wait-gone") {
        if (WaitUntil([&] { return tool_.Find(v) == nullptr; }, waitMs_)) return true;
        why = "the window " + Quote(v) + " is still there";
        return false;
    }
    if (k == "expect-box") return ExpectBox(Unescape(v), why);
    if (k == "box-caption") {
        HWND box = tool_.MessageBox();
        if (box && WindowText(box) == v) return true;
        why = box ? "the message box is captioned " + Quote(WindowText(box)) : "no message box is open";
        return false;
    }
    if (k == "answer") return Answer(v, why);
    if (k == "no-box") {
        HWND box = tool_.MessageBox();
        if (!box) return true;
        why = "a message box is open: " + Quote(WindowText(GetDlgItem(box, 0xFFFF)));
        return false;
    }
    if (k == "select") return Select(v, why);
    if (k == "menu") return Menu(v, why);
    if (k == "context-menu") return ContextMenu(v, why);
    if (k == "press") return Press(v, why);
    if (k == "rows" || k == "row-count" || k == "row" || k == "selected" || k == "view") return CheckList(k, v, why);
    if (k == "enabled" || k == "disabled" || k == "text" || k == "title" || k == "checked" || k == "unchecked")
        return CheckControl(k, v, why);
    if (k == "check-marks") return CheckMarksStay(v, why);
    if (k == "minimize") {
        // The dialog loop shows a new dialog once more when its queue first runs empty; a minimize
        // that lands before that is undone, so the robot clicks again, as a person would.
        const DWORD start = GetTickCount();
        do {
            ShowWindow(tool_.Main(), SW_MINIMIZE);
            if (WaitUntil([&] { return IsIconic(tool_.Main()) != 0; }, 500)) {
                Sleep(300);
                if (IsIconic(tool_.Main())) return true;
            }
        } while (GetTickCount() - start < checkMs_);
        why = "the main window did not minimize";
        return false;
    }
    if (k == "restored") {
        if (WaitUntil([&] { return tool_.Main() && !IsIconic(tool_.Main()) && IsWindowVisible(tool_.Main()); }, checkMs_))
            return true;
        why = "the main window is minimized or hidden";
        return false;
    }
    if (k == "syscommand") {
        PostMessageA(tool_.Main(), WM_SYSCOMMAND, static_cast<WPARAM>(ControlId(v)), 0);
        return true;
    }
    if (k == "close") {
        PostMessageA(tool_.Main(), WM_CLOSE, 0, 0);
        return true;
    }
    if (k == "screenshot") return Screenshot(v, why);
    if (k == "file-has") return FileHas(v, why);
    if (k == "json") return JsonHas(v, why);
    if (k == "window") return UseWindow(v, why);
    if (k == "windows") return SetWindowsVersion(v, why);
    why = "unknown step";
    return false;
}

int CRobot::RunWindowless(const std::string& args) {
    std::string why;
    if (Start(args, why) && ExpectExit("0", why, true)) return 0;
    std::printf("FAIL %s: the program with %s: %s\n", sc_.path.c_str(), args.c_str(), why.c_str());
    return 1;
}

bool CRobot::Start(const std::string& args, std::string& why) {
    std::string program = ExpandVars(sc_.First("machine").Get("program", "%TOOLDIR%\\QUINST01.EXE"), vars_);
    // "workdir =": the program starts in another directory than its own, as from a download folder.
    std::string dir = ExpandVars(sc_.First("machine").Get("workdir", ""), vars_);
    if (dir.empty()) dir = program.substr(0, program.find_last_of('\\'));
    std::string cmd = "\"" + program + "\"" + (args.empty() ? "" : " " + ExpandVars(args, vars_));
    // The runner's own switches for every start (the action log of a removal held to its report).
    char extra[1024] = "";
    DWORD extraLength = GetEnvironmentVariableA("QE2E_TOOL_ARGS", extra, sizeof extra);
    if (extraLength > 0 && extraLength < sizeof extra) cmd += std::string(" ") + extra;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    // "user = standard": the program runs without administrator rights (Administrators deny-only).
    bool standard = EqualNoCase(sc_.First("machine").Get("user", "administrator"), "standard");
    HANDLE token = standard ? CreateStandardUserToken() : NULL;
    if (standard && !token) {
        why = "cannot make a token without administrator rights, error " + std::to_string(GetLastError());
        return false;
    }
    BOOL started = FALSE;
    DWORD error = 0;
    // ERROR_INTERNAL_ERROR: the new process died in Wine's own start-up, before any of its code ran
    // (seen now and then on a loaded machine). Starting it again is what a person would do and
    // cannot hide a fault of the program, which never ran.
    for (int attempt = 1; attempt <= 3; ++attempt) {
        started = token ? CreateProcessAsUserA(token, program.c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                                               nullptr, dir.c_str(), &si, &pi)
                        : CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                         dir.c_str(), &si, &pi);
        error = GetLastError();
        if (started || error != ERROR_INTERNAL_ERROR || attempt == 3) break;
        std::printf("    %s did not come up (error %lu); starting it again\n", program.c_str(), error);
        std::fflush(stdout);
        Sleep(500);
    }
    if (token) CloseHandle(token);
    if (!started) {
        why = "cannot start " + program + ", error " + std::to_string(error);
        return false;
    }
    started_.push_back(pi);
    tool_.pids.insert(pi.dwProcessId);
    return true;
}

bool CRobot::ExpectExit(const std::string& code, std::string& why, bool windowless) {
    if (started_.empty()) {
        why = "no started program is left to end";
        return false;
    }
    PROCESS_INFORMATION pi = started_.back();
    std::string seen;
    auto ended = [&]() {
        if (windowless && seen.empty()) {
            ToolWindows program;
            program.pids.insert(pi.dwProcessId);
            for (HWND h : program.TopLevel(false))
                seen +=
                    " " + ClassOf(h) + " \"" + WindowText(h) + "\"" + (IsWindowVisible(h) ? "" : " (hidden)");
        }
        return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
    };
    if (!WaitUntil(ended, waitMs_)) {
        why = "the program did not end";
        return false;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    started_.pop_back();
    if (!seen.empty()) {
        why = "the program had a top-level window:" + seen;
        return false;
    }
    if (code == "any" || exitCode == static_cast<DWORD>(std::atol(code.c_str()))) return true;
    why = "the program ended with " + std::to_string(exitCode);
    return false;
}

bool CRobot::ExpectBox(const std::string& text, std::string& why) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = tool_.MessageBox()) != nullptr; }, waitMs_)) {
        why = "no message box appeared";
        return false;
    }
    std::string shown = WindowText(GetDlgItem(box, 0xFFFF));
    if (shown == text) return true;
    why = "the message box says " + Quote(shown) + ", expected " + Quote(text);
    return false;
}

static bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    text = ss.str();
    return true;
}

// "file-has = PATH | TEXT": waits until the file holds the text.
bool CRobot::FileHas(const std::string& value, std::string& why) {
    std::vector<std::string> parts = SplitList(value, '|');
    if (parts.size() != 2) {
        why = "expected PATH | TEXT";
        return false;
    }
    const std::string path = ExpandVars(parts[0], vars_);
    const std::string text = Unescape(ExpandVars(parts[1], vars_));
    std::string content;
    if (WaitUntil([&] { return ReadFile(path, content) && content.find(text) != std::string::npos; },
                  waitMs_))
        return true;
    why = content.empty() ? "the file is missing or empty" : "the file does not hold " + Quote(text);
    return false;
}

// "json = PATH": the file parses as JSON; "json = PATH | /json/pointer = VALUE": and the value
// there is VALUE (a string's text; anything else as JSON, in any key order: 3, true, [], {"a":1}).
bool CRobot::JsonHas(const std::string& value, std::string& why) {
    std::vector<std::string> parts = SplitList(value, '|');
    std::string text;
    if (parts.empty() || !ReadFile(ExpandVars(parts[0], vars_), text)) {
        why = "cannot read the file";
        return false;
    }
    nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded()) {
        why = "the file is not JSON";
        return false;
    }
    if (parts.size() == 1) return true;
    const std::string& check = parts[1];
    const size_t eq = check.find(" = ");
    if (parts.size() != 2 || eq == std::string::npos) {
        why = "expected PATH | /POINTER = VALUE";
        return false;
    }
    const std::string pointer = Trim(check.substr(0, eq));
    const std::string want = ExpandVars(Trim(check.substr(eq + 3)), vars_);
    nlohmann::json::json_pointer at;
    try {
        at = nlohmann::json::json_pointer(pointer);
    } catch (const nlohmann::json::exception&) {
        why = "not a JSON pointer: " + Quote(pointer);
        return false;
    }
    if (!json.contains(at)) {
        why = "nothing at " + pointer;
        return false;
    }
    const nlohmann::json& found = json[at];
    if (found.is_string() ? found.get<std::string>() == want
                          : found == nlohmann::json::parse(want, nullptr, false))
        return true;
    why = pointer + " is " + Quote(found.is_string() ? found.get<std::string>() : found.dump());
    return false;
}

bool CRobot::Answer(const std::string& button, std::string& why) {
    HWND box = tool_.MessageBox();
    int id = ControlId(button);
    if (!box || id < 0 || !GetDlgItem(box, id)) {
        why = box ? "the message box has no button " + Quote(button) : "no message box is open";
        return false;
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    if (WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, checkMs_)) return true;
    why = "the message box did not close";
    return false;
}

HWND CRobot::Target() const {
    return target_ && IsWindow(target_) ? target_ : tool_.Main();
}

// The printer list 1020 of the main window, or the list view of the window "window =" chose.
HWND CRobot::List() const {
    HWND target = Target();
    if (!target) return nullptr;
    return target == tool_.Main() ? FindDescendant(target, 1020) : FindWindowExA(target, nullptr, WC_LISTVIEWA, nullptr);
}

bool CRobot::UseWindow(const std::string& name, std::string& why) {
    if (EqualNoCase(name, "main")) {
        target_ = nullptr;
        return true;
    }
    if (WaitUntil([&] { return (target_ = tool_.Find(name)) != nullptr; }, waitMs_)) return true;
    why = "no visible window with the title or class " + Quote(name);
    return false;
}

// The emulated Windows version of the program's next start ("windows =" in [machine] sets the first).
bool CRobot::SetWindowsVersion(const std::string& version, std::string& why) {
    std::string program = ExpandVars(sc_.First("machine").Get("program", "%TOOLDIR%\\QUINST01.EXE"), vars_);
    std::string key = "Software\\Wine\\AppDefaults\\" + program.substr(program.find_last_of('\\') + 1);
    HKEY h = nullptr;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(h, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                                static_cast<DWORD>(version.size() + 1));
        RegCloseKey(h);
    }
    if (result == ERROR_SUCCESS) return true;
    why = "cannot set the Windows version, error " + std::to_string(result);
    return false;
}

bool CRobot::Select(const std::string& names, std::string& why) {
    HWND h = List();
    if (!h) {
        why = "the printer list is not there";
        return false;
    }
    CRemoteList list(h);
    std::vector<std::string> wanted = SplitList(names, '|');
    std::vector<std::string> rows = list.Column0();
    for (const auto& w : wanted) {
        if (std::find(rows.begin(), rows.end(), w) == rows.end()) {
            why = "no row " + Quote(w) + "; rows are " + Join(rows);
            return false;
        }
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        bool want = std::find(wanted.begin(), wanted.end(), rows[i]) != wanted.end();
        if (list.IsSelected(static_cast<int>(i)) != want) list.SetSelected(static_cast<int>(i), want);
    }
    return true;
}

bool CRobot::Menu(const std::string& command, std::string& why) {
    HWND h = List();
    int id = MenuCommand(command);
    if (!h || id < 0) {
        why = h ? "unknown menu command" : "the printer list is not there";
        return false;
    }
    // Menu commands go to the page that owns the list, as TrackPopupMenu would send them.
    PostMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
}

bool CRobot::ContextMenu(const std::string& keys, std::string& why) {
    HWND h = List();
    if (!h) {
        why = "the printer list is not there";
        return false;
    }
    CRemoteList list(h);
    HWND menu = nullptr;
    if (!list.PostRightClick() || !WaitUntil([&] { return (menu = tool_.PopupMenu()) != nullptr; }, checkMs_)) {
        why = "no context menu opened";
        return false;
    }
    for (const auto& k : SplitList(keys, ' ')) {
        UINT vk = KeyCode(k);
        if (!vk) {
            why = "unknown key " + Quote(k);
            return false;
        }
        PostMessageA(menu, WM_KEYDOWN, vk, 0);
        PostMessageA(menu, WM_KEYUP, vk, 0xC0000000);
    }
    if (WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, checkMs_)) return true;
    why = "the context menu is still open after the keys";
    return false;
}

bool CRobot::Press(const std::string& button, std::string& why) {
    int id = ControlId(button);
    if (id == IDCANCEL || id == IDOK) {
        // Escape or Enter on whatever dialog is in front (the loading dialog has no buttons).
        HWND front = tool_.Foremost();
        if (!front) {
            why = "no window to send the key to";
            return false;
        }
        PostMessageA(front, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return true;
    }
    HWND target = Target();
    HWND control = target && id >= 0 ? FindDescendant(target, id) : nullptr;
    if (!control) {
        why = "no button " + Quote(button);
        return false;
    }
    if (!IsWindowEnabled(control)) {
        why = "the button " + Quote(button) + " is disabled";
        return false;
    }
    PostMessageA(control, BM_CLICK, 0, 0);
    return true;
}

bool CRobot::CheckList(const std::string& key, const std::string& value, std::string& why) {
    std::string got;
    auto holds = [&]() {
        HWND h = List();
        if (!h) {
            got = "no printer list";
            return false;
        }
        CRemoteList list(h);
        if (key == "rows") {
            got = Join(list.Column0());
            return list.Column0() == SplitList(value, '|');
        }
        if (key == "row-count") {
            got = std::to_string(list.Count());
            return list.Count() == std::atoi(value.c_str());
        }
        if (key == "selected") {
            got = Join(list.SelectedNames());
            return list.SelectedNames() == SplitList(value, '|');
        }
        if (key == "view") {
            static const char* names[] = {"icon", "details", "small-icon", "list", "tile"};
            int view = list.View();
            got = view >= 0 ? names[view] : "unknown";
            return view == ViewNumber(value);
        }
        std::vector<std::string> want = SplitList(ExpandVars(value, vars_), '|');
        std::vector<std::string> rows = list.Column0();
        auto it = std::find(rows.begin(), rows.end(), want.empty() ? "" : want[0]);
        if (it == rows.end()) {
            got = "no such row; rows are " + Join(rows);
            return false;
        }
        std::vector<std::string> cells;
        for (size_t c = 0; c < want.size(); ++c)
            cells.push_back(list.Text(static_cast<int>(it - rows.begin()), static_cast<int>(c)));
        got = Join(cells);
        return cells == want;
    };
    if (WaitUntil(holds, checkMs_)) return true;
    why = "found " + got;
    return false;
}

// The removal page's check marks as the screen shows them, one letter per row: "G" green (done),
// "R" red (current), "-" grey (pending); read from the pixels of the image frames 1096 to 1104, so
// only with a display. (Wine answers WM_GETFONT from another process with 0, so the bold label of
// the current row cannot be read instead.) The frames are copied from the screen in one piece:
// reading pixel by pixel took a round trip to the X server each, 0.2 s a reading when idle and
// more than a row's red phase under load, and the rows could change between the first and the last.
std::string CRobot::CheckMarks() const {
    HWND main = tool_.Main();
    if (!main) return "no main window";
    RECT frames[9];
    RECT all = {0, 0, 0, 0};
    for (int i = 0; i < 9; ++i) {
        HWND frame = FindDescendant(main, 1096 + i);
        if (!frame || !GetWindowRect(frame, &frames[i])) return "no removal page";
        UnionRect(&all, &all, &frames[i]);
    }
    const int width = all.right - all.left, height = all.bottom - all.top;
    if (width <= 0 || height <= 0) return "no removal page";
    std::vector<DWORD> pixels;
    if (!CopyScreen(all, pixels)) return "no screen";
    std::string marks;
    for (const RECT& r : frames) {
        int red = 0, green = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                DWORD c = pixels[static_cast<size_t>(y - all.top) * width + (x - all.left)];
                int cr = (c >> 16) & 0xFF, cg = (c >> 8) & 0xFF, cb = c & 0xFF;  // a DIB pixel is 0x00RRGGBB
                if (cr > cg + 80 && cr > cb + 80) ++red;
                if (cg > cr + 60 && cg > cb + 60) ++green;
            }
        marks += red > 8 ? "R" : green > 8 ? "G" : "-";
    }
    return marks;
}

// Copies a rectangle of the screen into 32-bit pixels, top row first; sizes `pixels` itself, so
// GetDIBits always has room for the rows it writes.
bool CRobot::CopyScreen(const RECT& r, std::vector<DWORD>& pixels) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    pixels.assign(static_cast<size_t>(width) * height, 0);
    HDC screen = GetDC(NULL);
    if (!screen) return false;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    bool ok = false;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != 0;
        SelectObject(memory, old);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;  // negative: top-down rows
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        ok = ok && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS) ==
                       height;
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok;
}

// "check-marks = GR-------" waits until the rows show these marks; "check-marks = GR------- | S"
// then checks that they stay so for S seconds more.
bool CRobot::CheckMarksStay(const std::string& value, std::string& why) {
    std::vector<std::string> parts = SplitList(value, '|');
    const std::string want = parts.empty() ? "" : parts[0];
    std::string got;
    auto holds = [&]() {
        got = CheckMarks();
        return got == want;
    };
    if (!WaitUntil(holds, checkMs_)) {
        why = "the check marks are " + got;
        return false;
    }
    if (parts.size() < 2) return true;
    const DWORD span = static_cast<DWORD>(std::atof(parts[1].c_str()) * 1000);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < span) {
        if (!holds()) {
            why = "after " + std::to_string(GetTickCount() - start) + " ms the check marks are " + got;
            return false;
        }
        Sleep(20);
    }
    return true;
}

bool CRobot::CheckControl(const std::string& key, const std::string& value, std::string& why) {
    std::string got;
    auto holds = [&]() {
        HWND target = Target();
        if (!target) {
            got = "no main window";
            return false;
        }
        if (key == "title") {
            got = Quote(WindowText(target));
            return WindowText(target) == value;
        }
        std::vector<std::string> parts = SplitList(value, '|');
        HWND control = FindDescendant(target, ControlId(parts.empty() ? "" : parts[0]));
        if (!control) {
            got = "no such control";
            return false;
        }
        if (key == "text") {
            got = Quote(WindowText(control));
            return parts.size() == 2 && WindowText(control) == Unescape(parts[1]);
        }
        if (key == "checked" || key == "unchecked") {
            bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
            got = checked ? "checked" : "unchecked";
            return checked == (key == "checked");
        }
        bool enabled = IsWindowEnabled(control) != 0;
        got = enabled ? "enabled" : "disabled";
        return enabled == (key == "enabled");
    };
    if (WaitUntil(holds, checkMs_)) return true;
    why = "found " + got;
    return false;
}

// The runner, outside Wine, takes the picture: the robot leaves NAME.req in the shot folder and
// waits until the runner has replaced it with NAME.png. Without a display there is nothing to take.
bool CRobot::Screenshot(const std::string& name, std::string& why) {
    if (shotDir_.empty()) return true;
    std::string req = shotDir_ + "\\" + name + ".req";
    HANDLE h = CreateFileA(req.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        why = "cannot write " + req;
        return false;
    }
    CloseHandle(h);
    if (WaitUntil([&] { return GetFileAttributesA(req.c_str()) == INVALID_FILE_ATTRIBUTES; }, 15000)) return true;
    why = "the runner did not take the screenshot";
    return false;
}
