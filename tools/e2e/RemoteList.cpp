#include "RemoteList.h"

#include <commctrl.h>

namespace {
const SIZE_T kBlock = 4096;
const SIZE_T kTextOffset = 1024;  // texts go behind the item structure in the same block
const UINT kTimeout = 5000;

LRESULT Send(HWND h, UINT msg, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(h, msg, w, l, SMTO_ABORTIFHUNG, kTimeout, &result)) return -1;
    return static_cast<LRESULT>(result);
}
}  // namespace

CRemoteList::CRemoteList(HWND list) : list_(list) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
                           pid);
    if (process_)
        block_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, kBlock, MEM_COMMIT, PAGE_READWRITE));
}

CRemoteList::~CRemoteList() {
    if (block_) VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

int CRemoteList::Count() const { return static_cast<int>(Send(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::string CRemoteList::Text(int row, int column) const {
    if (!block_) return "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(kBlock - kTextOffset - 1);
    item.pszText = block_ + kTextOffset;
    char zero = 0;
    if (!WriteProcessMemory(process_, block_, &item, sizeof(item), nullptr) ||
        !WriteProcessMemory(process_, block_ + kTextOffset, &zero, 1, nullptr))
        return "";
    LRESULT len = Send(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block_));
    if (len <= 0) return "";
    std::string text(static_cast<size_t>(len) + 1, '\0');
    if (!ReadProcessMemory(process_, block_ + kTextOffset, &text[0], text.size(), nullptr)) return "";
    text.resize(strnlen(text.c_str(), text.size()));
    return text;
}

bool CRemoteList::IsSelected(int row) const {
    return (Send(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool CRemoteList::SetSelected(int row, bool selected) {
    if (!block_) return false;
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    if (!WriteProcessMemory(process_, block_, &item, sizeof(item), nullptr)) return false;
    return Send(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block_)) > 0;
}

std::vector<std::string> CRemoteList::Column0() const {
    std::vector<std::string> names;
    for (int i = 0, n = Count(); i < n; ++i) names.push_back(Text(i, 0));
    return names;
}

std::vector<std::string> CRemoteList::SelectedNames() const {
    std::vector<std::string> names;
    for (int i = 0, n = Count(); i < n; ++i)
        if (IsSelected(i)) names.push_back(Text(i, 0));
    return names;
}

int CRemoteList::View() const {
    LRESULT view = Send(list_, LVM_GETVIEW, 0, 0);
    if (view >= 0 && view <= 4) return static_cast<int>(view);
    switch (GetWindowLongPtrA(list_, GWL_STYLE) & LVS_TYPEMASK) {
    case LVS_ICON: return 0;
    case LVS_REPORT: return 1;
    case LVS_SMALLICON: return 2;
    default: return 3;
    }
}

bool CRemoteList::PostRightClick() {
    if (!block_) return false;
    NMITEMACTIVATE note = {};
    note.hdr.hwndFrom = list_;
    note.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list_));
    note.hdr.code = NM_RCLICK;
    note.iItem = -1;
    if (!WriteProcessMemory(process_, block_, &note, sizeof(note), nullptr)) return false;
    return PostMessageA(GetParent(list_), WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(block_)) != 0;
}
