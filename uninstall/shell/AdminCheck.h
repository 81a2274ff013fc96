#pragma once
// The administrator-rights check of an access token (COSInfo::IsAdministrator uses the process's).
#include <windows.h>

// 1 when the token's groups hold the built-in Administrators group enabled and not deny-only; 0
// otherwise and on every failure. A filtered token (an administrator started with restricted rights)
// keeps that group only for deny checks and so gives 0.
int TokenIsAdministrator(HANDLE token);
