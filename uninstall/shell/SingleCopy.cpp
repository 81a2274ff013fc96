#include "SingleCopy.h"

#include "shell/StartUp.h"

namespace {
// "Global\" reaches copies in other sessions where the system has sessions; Windows 9x and NT 4
// refuse a name with a backslash, and the plain name serves there.
const char kGlobalMutexName[] = "Global\\QLNUninstallUnattended01";
const char kMutexName[] = "QLNUninstallUnattended01";
}  // namespace

SingleCopy::SingleCopy() {
    mutex = CreateMutexA(NULL, FALSE, kGlobalMutexName);
    DWORD error = GetLastError();
    // A copy of another account may hold it, which this one may not open: that is a copy too.
    if (!mutex && error != ERROR_ACCESS_DENIED) {
        mutex = CreateMutexA(NULL, FALSE, kMutexName);
        error = GetLastError();
    }
    another = (mutex && error == ERROR_ALREADY_EXISTS) || (!mutex && error == ERROR_ACCESS_DENIED) ||
              FindWindowA(kMainWindowClass, NULL) != NULL;
}

SingleCopy::~SingleCopy() {
    if (mutex) CloseHandle(mutex);
}
