#pragma once
// Deleting the port monitors that the removal profile names.
#include "spooler/RemovalContext.h"

void RemoveMonitorsStep(RemovalContext& ctx, const char* server, const char* environment);
