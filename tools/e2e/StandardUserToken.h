#pragma once
// A token for starting a program as a user who is not an administrator. Wine makes every user an
// administrator; a restricted copy of the robot's own token, with the Administrators group made
// deny-only, is the closest it comes: the group is still listed but no longer enabled.
#include <windows.h>

// A primary token for CreateProcessAsUserA, or NULL with GetLastError set. The caller closes it.
HANDLE CreateStandardUserToken();
