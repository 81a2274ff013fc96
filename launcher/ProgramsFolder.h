#pragma once
// The Start menu's Programs folder where the package's installer puts its shortcuts, with a trailing
// separator: the user's own on Windows 9x, the all-users one elsewhere for an administrator.
// folder has MAX_PATH bytes; returns 1 on success, 0 when any shell call fails or the path is too long.
int GetProgramsFolder(char* folder);
