#pragma once
// Deleting the printer drivers of the removed printers, one driver environment at a time.
#include "spooler/RemovalContext.h"

void RemoveDriversStep(RemovalContext& ctx, const char* environment);
