#pragma once
// Removing Start-menu shortcuts and program groups (Program Manager items on Win32s).
#include "spooler/RemovalContext.h"

void RemoveShortcutsStep(RemovalContext& ctx);
