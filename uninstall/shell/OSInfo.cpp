#include "OSInfo.h"

#include <cstring>

COSInfo::COSInfo() : osKind(kKindOther), osFamily(kFamilyOther) {
    memset(&osvi, 0, sizeof osvi);
    osvi.dwOSVersionInfoSize = sizeof osvi;  // 148 bytes
    if (!GetVersionExA(&osvi)) return;
    Classify(osvi.dwPlatformId, osvi.dwMajorVersion, osvi.dwMinorVersion, &osFamily, &osKind);
}

void COSInfo::Classify(DWORD platform, DWORD major, DWORD minor, int* family, int* kind) {
    *family = kFamilyOther;
    *kind = kKindOther;
    switch (platform) {
    case VER_PLATFORM_WIN32s:
        *family = kFamilyWin32s;
        *kind = kKindWin32s;
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        *family = kFamilyWin9x;
        if (minor == 0) *kind = kKindWin95;
        else if (minor == 10) *kind = kKindWin98;
        else if (minor == 90) *kind = kKindWinMe;
        break;
    case VER_PLATFORM_WIN32_NT:
        *family = kFamilyNT;
        if (major == 3) *kind = kKindNT3;
        else if (major == 4) *kind = kKindNT4;
        else if (major == 5) *kind = (minor == 1) ? kKindNT51 : kKindNT5;
        else if (major == 6) *kind = kKindNT51;
        break;
    default:
        break;
    }
}
