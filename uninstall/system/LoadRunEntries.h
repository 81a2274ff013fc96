#pragma once
// Removing programs started at log-on: Run values, or the win.ini load line on Win32s.
#include "spooler/RemovalContext.h"

void RemoveLoadRunEntriesStep(RemovalContext& ctx);
