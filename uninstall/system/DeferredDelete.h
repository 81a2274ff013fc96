#pragma once
// The three ways a file in use is scheduled for deletion at the next start of Windows: the system's
// pending-rename list (MoveFileExA) on the NT family, WININIT.INI on Windows 95/98/Me, and the
// rename list that zwininit.exe carries out on Win32s and NT 3.x. Each returns ERROR_SUCCESS when
// the deletion is scheduled, else the Windows error that says why not.
#include <windows.h>

enum DeferMechanism { kDeferMoveFileEx, kDeferWininit, kDeferZwininit };

// By COSInfo kind: Win32s and NT 3.x use zwininit, Windows 95/98/Me WININIT.INI, the rest MoveFileEx.
DeferMechanism DeferMechanismFor(int osKind);
// The name a record gives the mechanism ("MoveFileEx", "WININIT.INI", "zwininit.ini").
const char* DeferMechanismName(DeferMechanism mechanism);

DWORD ScheduleDelete(DeferMechanism mechanism, const char* path);

// Appends "NUL=" path to WININIT.INI in the Windows directory, starting the file, or a new [RENAME]
// section, when the text does not end in one. The path is written in its short (8.3) form when it
// has one: WININIT.INI is carried out before Windows starts, where long names are not understood.
// A path that does not fit the 260-byte line is refused (ERROR_FILENAME_EXCED_RANGE).
DWORD QueueWininitDelete(const char* path);

// Writes path=NUL into the [RENAME] section of zwininit.ini beside the running program, only when
// zwininit.exe is there too (ERROR_FILE_NOT_FOUND otherwise). A path holding "=" is refused
// (ERROR_INVALID_NAME): as a key it would be cut there and name another file.
DWORD QueueZwininitDelete(const char* path);
