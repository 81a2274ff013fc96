#pragma once
// Deleting the chosen printers with their queued jobs, UniqueID keys, per-user values and 9x spooler keys;
// reassigning the default printer when it was among them.
#include "spooler/RemovalContext.h"

void RemovePrintersStep(RemovalContext& ctx);
