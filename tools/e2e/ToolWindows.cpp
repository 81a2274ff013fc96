#include "ToolWindows.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "RemoteList.h"
#include "Scenario.h"

const char kMainClass[] = "QLNUninstallWindowClass__";

std::string WindowText(HWND h) {
    char buf[2048] = "";
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutA(h, WM_GETTEXT, sizeof(buf), reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &len))
        GetWindowTextA(h, buf, sizeof(buf));
    buf[sizeof(buf) - 1] = '\0';
    return buf;
}

std::string ClassOf(HWND h) {
    char buf[256] = "";
    GetClassNameA(h, buf, sizeof(buf));
    return buf;
}

namespace {
struct FindId {
    int id;
    HWND found;
};

BOOL CALLBACK FindIdProc(HWND h, LPARAM p) {
    auto* f = reinterpret_cast<FindId*>(p);
    if (GetDlgCtrlID(h) == f->id) {
        f->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectProc(HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectProc, reinterpret_cast<LPARAM>(&all));
    return all;
}

// Message boxes hold only their text (0xFFFF), their icon (1088) and buttons with ids below 12.
bool IsMessageBox(HWND h) {
    if (ClassOf(h) != "#32770" || !GetDlgItem(h, 0xFFFF)) return false;
    for (HWND c : Children(h)) {
        int id = GetDlgCtrlID(c);
        if (id != 0xFFFF && id != 1088 && (id < 1 || id > 11)) return false;
    }
    return true;
}
}  // namespace

HWND FindDescendant(HWND parent, int id) {
    FindId f = {id, nullptr};
    EnumChildWindows(parent, FindIdProc, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

int ControlId(const std::string& name) {
    static const struct {
        const char* name;
        int id;
    } names[] = {{"uninstall", 1080}, {"exit", 1052}, {"close", 1052}, {"ok", IDOK},
                 {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
    for (const auto& n : names)
        if (EqualNoCase(name, n.name)) return n.id;
    char* end = nullptr;
    long id = std::strtol(name.c_str(), &end, 0);
    return end && *end == '\0' && !name.empty() ? static_cast<int>(id) : -1;
}

std::vector<HWND> ToolWindows::TopLevel(bool visibleOnly) const {
    std::vector<HWND> all, mine;
    EnumWindows(CollectProc, reinterpret_cast<LPARAM>(&all));
    for (HWND h : all) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pids.count(pid) && (!visibleOnly || IsWindowVisible(h))) mine.push_back(h);
    }
    return mine;
}

HWND ToolWindows::Find(const std::string& text) const {
    for (HWND h : TopLevel())
        if (ClassOf(h) == text || WindowText(h) == text) return h;
    return nullptr;
}

HWND ToolWindows::Main() const {
    for (HWND h : TopLevel(false))
        if (ClassOf(h) == kMainClass) return h;
    return nullptr;
}

HWND ToolWindows::MessageBox() const {
    for (HWND h : TopLevel())
        if (IsMessageBox(h)) return h;
    return nullptr;
}

HWND ToolWindows::PopupMenu() const {
    for (HWND h : TopLevel())
        if (ClassOf(h) == "#32768") return h;
    // The popup menu window may belong to the desktop process rather than the program.
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

HWND ToolWindows::Foremost() const {
    if (HWND box = MessageBox()) return box;
    HWND main = Main();
    for (HWND h : TopLevel())
        if (h != main && ClassOf(h) == "#32770") return h;
    return main;
}

static void DescribeWindow(HWND h, const std::string& indent, std::string& out) {
    char line[512];
    std::snprintf(line, sizeof(line), "%s[%d] %s \"%s\"%s%s\n", indent.c_str(), GetDlgCtrlID(h), ClassOf(h).c_str(),
                  WindowText(h).c_str(), IsWindowVisible(h) ? "" : " (hidden)",
                  IsWindowEnabled(h) ? "" : " (disabled)");
    out += line;
    if (ClassOf(h) == WC_LISTVIEWA && IsWindowVisible(h)) {
        CRemoteList list(h);
        for (int i = 0, n = list.Count(); i < n; ++i) {
            out += indent + "    row " + std::to_string(i) + (list.IsSelected(i) ? " (selected):" : ":");
            for (int c = 0; c < 6; ++c) out += " | " + list.Text(i, c);
            out += "\n";
        }
    }
}

std::string ToolWindows::Describe() const {
    std::string out;
    for (HWND h : TopLevel(false)) {
        if (!IsWindowVisible(h) && ClassOf(h) != kMainClass) continue;
        DescribeWindow(h, "  ", out);
        for (HWND c : Children(h)) {
            std::string indent = "    ";
            for (HWND p = GetParent(c); p && p != h; p = GetParent(p)) indent += "  ";
            DescribeWindow(c, indent, out);
        }
    }
    return out.empty() ? "  (no windows of the programs under test)\n" : out;
}
