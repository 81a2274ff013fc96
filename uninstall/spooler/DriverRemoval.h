#pragma once
// Deleting the printer drivers of the removed printers, one driver environment at a time.
#include "spooler/RemovalContext.h"

// Deletes the drivers that only removed printers used, and those the removal profile names, and
// queues their spooler keys for the registry step; a driver the spooler keeps keeps its keys. A dry
// run plans from the census records as the printer step leaves them, and queues the keys of the
// drivers it would delete so that the registry step's plan lists them.
void RemoveDriversStep(RemovalContext& ctx, const char* environment);
