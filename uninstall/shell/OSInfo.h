#pragma once
// The Windows version record. Every user builds its own; nothing is cached process-wide.
#include <windows.h>

class COSInfo {
public:
    // Families
    enum { kFamilyOther = 0, kFamilyWin32s = 1, kFamilyWin9x = 2, kFamilyNT = 3 };
    // Kinds
    enum {
        kKindOther = 0,
        kKindWin32s = 1,
        kKindWin95 = 2,
        kKindWin98 = 3,
        kKindNT3 = 4,
        kKindNT4 = 5,
        kKindNT5 = 6,   // Windows 2000 and every 5.x other than 5.1
        kKindWinMe = 7,
        kKindNT51 = 8,  // Windows XP and every 6.x
    };

    COSInfo();

    int GetFamily() const { return osFamily; }
    int GetKind() const { return osKind; }
    bool IsWin32s() const { return osFamily == kFamilyWin32s; }
    bool IsWin9x() const { return osFamily == kFamilyWin9x; }
    bool IsNT() const { return osFamily == kFamilyNT; }
    const OSVERSIONINFOA& Version() const { return osvi; }

    // 1 when the process may act as an administrator: always on Windows 9x and Win32s, on NT only
    // when the token holds the Administrators group enabled (a deny-only group does not count).
    int IsAdministrator() const;

    // Classifies a version answer; separate from the constructor so every row can be tested.
    static void Classify(DWORD platform, DWORD major, DWORD minor, int* family, int* kind);

private:
    OSVERSIONINFOA osvi;
    int osKind;
    int osFamily;
};
