#pragma once
// Removing the DeleteIni entries from INI files of the Windows directory.
#include "spooler/RemovalContext.h"

void RemoveIniEntriesStep(RemovalContext& ctx);
