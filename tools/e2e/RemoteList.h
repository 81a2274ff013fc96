#pragma once
// A list-view control of another process, read and changed the way assistive tools do it: item
// structures and texts travel through a block of the owner's memory.
#include <windows.h>

#include <string>
#include <vector>

class CRemoteList {
public:
    explicit CRemoteList(HWND list);
    ~CRemoteList();
    CRemoteList(const CRemoteList&) = delete;
    CRemoteList& operator=(const CRemoteList&) = delete;

    bool Ok() const { return block_ != nullptr; }
    int Count() const;
    std::string Text(int row, int column) const;
    bool IsSelected(int row) const;
    bool SetSelected(int row, bool selected);
    std::vector<std::string> Column0() const;
    std::vector<std::string> SelectedNames() const;
    // 0 icon, 1 details, 2 small icon, 3 list (LV_VIEW_*), -1 unknown.
    int View() const;
    // Posts an NM_RCLICK from the list to its parent; the block stays valid until destruction.
    bool PostRightClick();

private:
    HWND list_;
    HANDLE process_ = nullptr;
    char* block_ = nullptr;
};
