#pragma once
// Deleting the print processors that the removal profile names, after moving their printers to WinPrint.
#include "spooler/RemovalContext.h"

void RemovePrintProcessorsStep(RemovalContext& ctx, const char* server, const char* environment);
